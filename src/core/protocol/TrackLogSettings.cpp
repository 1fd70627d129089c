#include "protocol/TrackLogSettings.h"

#include <string>
#include <thread>

#include "common/Texts.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

void Report(const StatusReport& status, int id) {
  if (status) status(id);
}

template <std::size_t N>
std::optional<int> IndexOf(const std::array<int, N>& list, int value) {
  for (std::size_t i = 0; i < N; ++i)
    if (list[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace

void TrackLogSettings::Defaults() {
  timeInterval = 5;
  secondsIndex = 1;
  distanceInterval = feet == 1 ? 304 : 1000;
  distanceIndex = 1;
  recordMode = 2;
  basis = 0;
}

void TrackLogSettings::RefreshFromDevice(const DeviceInfo& info) {
  if (info.freeRecords <= 3) {
    controlsEnabled = false;
    return;
  }
  controlsEnabled = true;
  recordMode = info.recordMode == 2 ? 2 : 1;
  timeInterval = info.timeInterval / 10;
  switch (timeInterval) {
    case 1: secondsIndex = 0; break;
    case 10: secondsIndex = 2; break;
    case 15: secondsIndex = 3; break;
    case 30: secondsIndex = 4; break;
    case 60: secondsIndex = 5; break;
    case 120: secondsIndex = 6; break;
    default: secondsIndex = 1; break;
  }
  feet = info.distanceUnit;
  if (const auto row = IndexOf(feet == 1 ? kDistanceFeet : kDistanceMetres, info.distanceInterval)) {
    distanceInterval = info.distanceInterval;
    distanceIndex = *row;
  }
  basis = info.basis == 1 ? 1 : 0;
}

void TrackLogSettings::RefreshFromDevice(DeviceState& device) {
  const DeviceInfo info = device.Snapshot();
  RefreshFromDevice(info);
  if (info.freeRecords > 3 && info.recordMode != 2) device.Update([](DeviceInfo& d) { d.recordMode = 1; });
}

void TrackLogSettings::SelectRecordMode(int mode) {
  if (mode == 1 || mode == 2) recordMode = mode;
}

void TrackLogSettings::SelectBasis(int b) {
  if (b == 0 || b == 1) basis = b;
}

void TrackLogSettings::SelectSecondsIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kSeconds.size())) return;
  secondsIndex = index;
  timeInterval = kSeconds[static_cast<std::size_t>(index)];
}

void TrackLogSettings::SelectDistanceIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kDistanceShown.size())) return;
  distanceIndex = index;
  distanceInterval = (feet == 1 ? kDistanceFeet : kDistanceMetres)[static_cast<std::size_t>(index)];
}

std::optional<int> TrackLogSettings::SecondsIndexOf(int seconds) { return IndexOf(kSeconds, seconds); }

std::optional<int> TrackLogSettings::DistanceIndexOf(int shown) { return IndexOf(kDistanceShown, shown); }

int TrackLogSettings::UnitTextId() const { return feet == 1 ? txt::Feet : txt::Meter; }

SettingsOutcome ApplySettings(Link& link, DeviceState& device, const TrackLogSettings& settings,
                              const StatusReport& status) {
  if (!link.Port().IsOpen()) return SettingsOutcome::NotConnected;
  const DeviceInfo last = device.Snapshot();
  auto failed = [&]() {
    Report(status, txt::ConnectionFailedSettings);
    return SettingsOutcome::Failed;
  };
  // A write counts only when the logger acknowledged it; otherwise the last-known value
  // stays, so the next Apply writes it again.
  auto write = [&](int a, int value, int DeviceInfo::*field) {
    const ExchangeResult r = PmtkRequest(link, pmtk::kSet, a, value);
    if (!r.IsReply() || !AckAccepted(r.text)) return false;
    device.Update([&](DeviceInfo& d) { d.*field = value; });
    return true;
  };

  Report(status, txt::UpdatingSecond);
  const int tenths = settings.timeInterval * 10;
  if (tenths != last.timeInterval && tenths != 0 && !write(item::kTimeInterval, tenths, &DeviceInfo::timeInterval)) return failed();

  Report(status, txt::UpdatingDistance);
  if (settings.distanceInterval != last.distanceInterval && settings.distanceInterval != 0 &&
      !write(item::kDistanceInterval, settings.distanceInterval, &DeviceInfo::distanceInterval))
    return failed();

  Report(status, txt::UpdatingRecordStyle);
  if (settings.recordMode != last.recordMode && !write(item::kRecordMode, settings.recordMode, &DeviceInfo::recordMode))
    return failed();

  if (last.basisValid && settings.basis != last.basis) {
    bool answered = false;
    for (int i = 0; i < link.Timing().basisWriteAttempts && !answered; ++i) {
      const ExchangeResult r = IdentExchange(link, ident::kWriteBasis, std::to_string(settings.basis));
      if (r.IsNotConnected()) break;
      answered = r.IsReply();
    }
    if (!answered) return failed();
    device.Update([&](DeviceInfo& d) { d.basis = settings.basis; });
  }

  Report(status, txt::UpdatingSuccess);
  return SettingsOutcome::Done;
}

SettingsOutcome ClearLog(Link& link, DeviceState& device, const StatusReport& status) {
  if (!link.Port().IsOpen()) {
    Report(status, txt::ClearFailedNoDevice);
    return SettingsOutcome::NotConnected;
  }
  Report(status, txt::StartClearing);
  // An erase the logger never acknowledged is no success.
  const ExchangeResult erase = PmtkRequest(link, pmtk::kErase, pmtk::kEraseAll, 0);
  if (!erase.IsReply() || !AckAccepted(erase.text)) {
    Report(status, txt::ConnectionFailedSettings);
    return SettingsOutcome::Failed;
  }
  Report(status, txt::ClearSucceed);

  std::optional<std::uint32_t> position;
  for (int i = 0; i < link.Timing().clearPositionAttempts && !position; ++i) {
    const ExchangeResult r = PmtkExchange(link, pmtk::kQuery, item::kWritePosition, 0);
    if (r.IsNotConnected()) break;
    std::this_thread::sleep_for(link.Timing().retryPause);
    if (r.IsReply()) position = static_cast<std::uint32_t>(ReplyNumber(r.text, true));
  }
  if (!position) {
    Report(status, txt::ConnectionFailedSettings);
    return SettingsOutcome::Failed;
  }
  const int freeRecords = FreeRecordsFor(*position);
  device.Update([&](DeviceInfo& d) {
    d.freeRecords = freeRecords;
    d.memoryText = FreeRecordText(freeRecords);
    // The memory is empty now: a download must not read what the old position said.
    d.logUsedSize = *position;
    d.logWrapped = 0;
  });
  return SettingsOutcome::Done;
}

}  // namespace kavro
