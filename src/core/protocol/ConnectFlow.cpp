#include "protocol/ConnectFlow.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/Texts.h"
#include "protocol/Disconnect.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

constexpr int kFirmwareAttempts = 20;
constexpr int kBasisAttempts = 3;
constexpr int kTimeZoneAttempts = 6;
constexpr int kDistanceUnitAttempts = 3;

void Report(const StatusReport& status, int id) {
  if (status) status(id);
}

// The leading decimal digits of a field ("125*" -> 125).
int LeadingNumber(const std::string& s) { return std::atoi(s.c_str()); }

std::string Field(const ExchangeResult& r, std::size_t offset, int length) {
  return CutField(r.text, ReplyWord::Ident, offset, length).value_or(std::string());
}

bool IsCompleteReply(const ExchangeResult& r) {
  return r.IsReply() && IsCompleteSentence(r.text, field::kCompleteWithin);
}

// How one step of the connect ended.
enum class Step { Done, Failed, TimedOut };

// Right after the port opened: the first query, PMTK400, the three settings and the write
// position. A first query that runs out of resends is a timeout.
Step ReadLoggerSettings(Link& link, DeviceState& device) {
  // A timeout left over from an earlier connect must not end this one.
  link.commandTimedOut = false;
  const ExchangeResult first = PmtkRequest(link, pmtk::kQuery, item::kLogFormat, 0);
  if (link.commandTimedOut) return Step::TimedOut;
  if (first.IsNotConnected()) return Step::Failed;
  PmtkExchange(link, pmtk::kPmtk400, 0, 0);
  int values[3] = {0, 0, 0};
  const int items[3] = {item::kTimeInterval, item::kDistanceInterval, item::kRecordMode};
  for (int i = 0; i < 3; ++i) {
    const ExchangeResult r = PmtkRequest(link, pmtk::kQuery, items[i], 0);
    // The logger stopped answering: asking on would only add minutes of resends.
    if (r.IsNotConnected()) return Step::Failed;
    values[i] = static_cast<int>(ReplyNumber(r.text, false));
  }
  const ExchangeResult pos = PmtkRequest(link, pmtk::kQuery, item::kWritePosition, 0);
  if (pos.IsNotConnected()) return Step::Failed;
  const auto used = static_cast<std::uint32_t>(ReplyNumber(pos.text, true));
  device.Update([&](DeviceInfo& d) {
    d.timeInterval = values[0];
    d.distanceInterval = values[1];
    d.recordMode = values[2];
    d.logUsedSize = used;
  });
  return Step::Done;
}

// Firmware, then hardware version: "[ V1.25 ][ V12]". A missing reply keeps the old text and
// the connect goes on. False only when the port is gone.
bool ReadVersions(Link& link, DeviceState& device) {
  std::string firmware;
  for (int i = 0; i < kFirmwareAttempts; ++i) {
    const ExchangeResult r = IdentExchange(link, ident::kFirmware);
    if (r.IsNotConnected()) return false;
    if (IsCompleteReply(r)) {
      firmware = FirmwareText(LeadingNumber(Field(r, field::kIdentValue, field::kFirmwareLength)));
      device.Update([&](DeviceInfo& d) { d.versionText = firmware; });
      break;
    }
  }
  const ExchangeResult r = IdentExchange(link, ident::kHardware);
  if (r.IsNotConnected()) return false;
  if (r.IsReply()) {
    const std::string hw = Field(r, field::kIdentValue, field::kHardwareLength).substr(0, 2);
    device.Update([&](DeviceInfo& d) { d.versionText = VersionText(firmware, hw); });
  }
  return true;
}

// Free records from the write position, asked until the logger answers, within a bound.
bool ReadFreeMemory(Link& link, DeviceState& device) {
  const ExchangeTiming& t = link.Timing();
  std::optional<std::uint32_t> position;
  for (int i = 0; i < t.freeMemoryAttempts && !position; ++i) {
    const ExchangeResult r = QuickPmtkExchange(link, pmtk::kQuery, item::kWritePosition, 0);
    if (r.IsNotConnected()) return false;
    std::this_thread::sleep_for(t.retryPause);
    if (r.IsReply() && FindPmtk182(r.text, field::kQuickReplyWithin))
      position = static_cast<std::uint32_t>(ReplyNumber(r.text, true));
  }
  if (!position) return false;
  const int freeRecords = FreeRecordsFor(*position);
  device.Update([&](DeviceInfo& d) {
    d.freeRecords = freeRecords;
    d.memoryText = FreeRecordText(freeRecords);
  });
  return true;
}

// The user name: one round of reads; a name needs its "*" within 17 characters.
bool ReadUserName(Link& link, DeviceState& device) {
  const ExchangeTiming& t = link.Timing();
  std::optional<std::string> name;
  for (int i = 0; i < t.userNameAttempts && !name; ++i) {
    const ExchangeResult r = IdentExchange(link, ident::kUserName);
    if (r.IsNotConnected()) return false;
    if (!IsCompleteReply(r)) continue;
    const std::string text = Field(r, field::kIdentValue, field::kUserNameLength);
    const std::size_t star = text.find('*');
    if (star != std::string::npos) name = text.substr(0, star);
  }
  if (!name) return false;
  std::this_thread::sleep_for(t.namePause);
  device.Update([&](DeviceInfo& d) { d.userName = *name; });
  return true;
}

}  // namespace

ConnectResult ConnectFlow(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                          const StatusReport& status) {
  ConnectResult result;
  Report(status, txt::Connecting);

  auto failure = [&]() {
    device.Update([](DeviceInfo& d) {
      d.model = DeviceModel::None;
      d.versionText.clear();
    });
    Report(status, txt::ConnectFailed);
    result.outcome = ConnectOutcome::Failed;
    result.linkLost = link.LinkLost();
    result.portHeld = link.Port().IsOpen();
    return result;
  };

  if (!link.Port().IsOpen()) {
    if (!link.OpenSelected(portPath, baudRate)) {
      result.openError = link.Port().LastOpenError();
      result.openErrorText = link.Port().LastErrorText();
      return failure();
    }
    switch (ReadLoggerSettings(link, device)) {
      case Step::TimedOut:
        TimeoutDisconnect(link, device, status);
        result.outcome = ConnectOutcome::TimedOut;
        result.noAnswer = true;
        return result;
      case Step::Failed:
        return failure();
      case Step::Done:
        break;
    }
  }

  // Each step below has its own count of tries; only a port that is gone, or no write
  // position or user name within the bound, ends the connect early.
  device.Update([](DeviceInfo& d) { d.model = DeviceModel::T580; });
  if (IdentExchange(link, ident::kHello).IsNotConnected()) return failure();
  if (!ReadVersions(link, device)) return failure();
  if (!ReadFreeMemory(link, device)) return failure();
  if (!ReadUserName(link, device)) return failure();

  Report(status, txt::DeviceConnected);

  const std::optional<int> wrapped = MemoryProbe(link);
  if (!wrapped) return failure();
  device.Update([&](DeviceInfo& d) {
    d.logWrapped = *wrapped;
    d.connectTime = std::chrono::system_clock::now();
  });
  result.outcome = ConnectOutcome::Connected;
  result.portHeld = link.Port().IsOpen();
  return result;
}

ConnectResult Connect(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                      const StatusReport& status) {
  link.BeginSession();
  ConnectResult r = ConnectFlow(link, device, portPath, baudRate, status);
  r.portHeld = link.Port().IsOpen();
  if (!r.portHeld) link.EndSession();
  if (r.outcome == ConnectOutcome::Connected) ReadExtraValues(link, device);
  return r;
}

void ReadExtraValues(Link& link, DeviceState& device) {
  auto ask = [&](int n, int attempts) -> std::optional<ExchangeResult> {
    for (int i = 0; i < attempts; ++i) {
      ExchangeResult r = IdentExchange(link, n);
      if (r.IsNotConnected()) return std::nullopt;
      if (IsCompleteReply(r)) return r;
    }
    return std::nullopt;
  };

  const auto basis = ask(ident::kBasis, kBasisAttempts);
  const int basisValue = basis ? LeadingNumber(Field(*basis, field::kIdentValue, field::kDigitLength).substr(0, 1)) : 0;
  const auto zone = ask(ident::kTimeZone, kTimeZoneAttempts);
  std::string zoneText;
  if (zone) {
    zoneText = Field(*zone, field::kIdentWideValue, field::kTimeZoneLength);
    zoneText = zoneText.substr(0, zoneText.find('*'));
    if (zoneText == "00000:0") zoneText = " 00:00";
  }
  const auto unit = ask(ident::kDistanceUnit, kDistanceUnitAttempts);
  const int unitValue =
      unit ? LeadingNumber(Field(*unit, field::kIdentWideValue, field::kDigitLength).substr(0, 1)) : 0;

  device.Update([&](DeviceInfo& d) {
    d.basis = basisValue;
    d.basisValid = basis.has_value();
    if (zone) d.timeZone = zoneText;
    d.timeZoneValid = zone.has_value();
    d.distanceUnit = unitValue;
    d.distanceUnitValid = unit.has_value();
  });
}

std::optional<int> MemoryProbe(Link& link) {
  for (int i = 0; i < link.Timing().memoryProbeAttempts; ++i) {
    const ExchangeResult r = PmtkRequest(link, pmtk::kMemoryRead, static_cast<std::int32_t>(memory::kProbeAddress),
                                         static_cast<std::int32_t>(memory::kProbeLength));
    if (r.IsNotConnected()) return std::nullopt;
    const std::string_view s = r.text;
    if (s.substr(0, word::kMemoryData.size()) != word::kMemoryData || !IsCompleteSentence(s, field::kProbeCompleteWithin) ||
        s.size() < field::kMemoryBytes + 2 * memory::kProbeLength)
      continue;
    // The reply must be about the address asked for.
    if (ParseHexText(s.substr(field::kMemoryAddress)) != memory::kProbeAddress || s[field::kMemoryBytes - 1] != ',')
      continue;
    std::uint8_t bytes[memory::kProbeLength];
    if (!HexPairsToBytes(s.substr(field::kMemoryBytes), bytes, sizeof bytes)) continue;
    for (std::uint8_t b : bytes)
      if (b != 0xFF) return 1;
    return 0;
  }
  return std::nullopt;
}

}  // namespace kavro
