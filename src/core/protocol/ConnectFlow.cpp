#include "protocol/ConnectFlow.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/Texts.h"
#include "protocol/Exchange.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

constexpr std::uint32_t kProbeAddress = 0x1F0000;
constexpr std::size_t kCompleteWithin = 256;

void Report(const StatusReport& status, int id) {
  if (status) status(id);
}

// The leading decimal digits of a field ("125*" -> 125).
int LeadingNumber(const std::string& s) { return std::atoi(s.c_str()); }

std::string Field(const ExchangeResult& r, std::size_t offset, int length) {
  return CutField(r.text, ReplyWord::Ident, offset, length).value_or(std::string());
}

}  // namespace

ConnectResult ConnectFlow(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                          const StatusReport& status) {
  const ExchangeTiming& t = link.Timing();
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
    // A timeout left over from an earlier connect must not end this one.
    link.commandTimedOut = false;
    const ExchangeResult first = PmtkRequest(link, 2, 1, 0);
    if (link.commandTimedOut) {
      TimeoutDisconnect(link, device, status);
      result.outcome = ConnectOutcome::TimedOut;
      return result;
    }
    if (first.IsNotConnected()) return failure();
    PmtkExchange(link, 400, 0, 0);
    int values[3] = {0, 0, 0};
    const int items[3] = {3, 4, 6};
    for (int i = 0; i < 3; ++i) {
      const ExchangeResult r = PmtkRequest(link, 2, items[i], 0);
      // The logger stopped answering: asking on would only add minutes of resends.
      if (r.IsNotConnected()) return failure();
      values[i] = static_cast<int>(ReplyNumber(r.text, false));
    }
    const ExchangeResult pos = PmtkRequest(link, 2, 8, 0);
    if (pos.IsNotConnected()) return failure();
    const auto used = static_cast<std::uint32_t>(ReplyNumber(pos.text, true));
    device.Update([&](DeviceInfo& d) {
      d.timeInterval = values[0];
      d.distanceInterval = values[1];
      d.recordMode = values[2];
      d.logUsedSize = used;
    });
  }

  // Each step below has its own count of tries; only a port that is gone ends the connect
  // early.
  device.Update([](DeviceInfo& d) { d.model = DeviceModel::T580; });
  if (IdentExchange(link, 1).IsNotConnected()) return failure();

  // Firmware, then hardware version: "[ V1.25 ][ V12]". A missing reply keeps the old text.
  std::string firmware;
  for (int i = 0; i < 20; ++i) {
    const ExchangeResult r = IdentExchange(link, 3);
    if (r.IsNotConnected()) return failure();
    if (r.IsReply() && IsCompleteSentence(r.text, kCompleteWithin)) {
      firmware = FirmwareText(LeadingNumber(Field(r, 12, 3)));
      device.Update([&](DeviceInfo& d) { d.versionText = firmware; });
      break;
    }
  }
  {
    const ExchangeResult r = IdentExchange(link, 7);
    if (r.IsNotConnected()) return failure();
    if (r.IsReply()) {
      const std::string hw = Field(r, 12, 3).substr(0, 2);
      device.Update([&](DeviceInfo& d) { d.versionText = VersionText(firmware, hw); });
    }
  }

  // Free memory from the write position, asked until the logger answers, within a bound.
  std::optional<std::uint32_t> position;
  for (int i = 0; i < t.freeMemoryAttempts && !position; ++i) {
    const ExchangeResult r = QuickPmtkExchange(link, 2, 8, 0);
    if (r.IsNotConnected()) return failure();
    std::this_thread::sleep_for(t.retryPause);
    if (r.IsReply() && FindPmtk182(r.text, 20)) position = static_cast<std::uint32_t>(ReplyNumber(r.text, true));
  }
  if (!position) return failure();
  const int freeRecords = FreeRecordsFor(*position);
  device.Update([&](DeviceInfo& d) {
    d.freeRecords = freeRecords;
    d.memoryText = FreeRecordText(freeRecords);
  });

  // The user name: one round of reads; a name needs its "*" within 17 characters.
  std::optional<std::string> name;
  for (int i = 0; i < t.userNameAttempts && !name; ++i) {
    const ExchangeResult r = IdentExchange(link, 5);
    if (r.IsNotConnected()) return failure();
    if (!r.IsReply() || !IsCompleteSentence(r.text, kCompleteWithin)) continue;
    const std::string field = Field(r, 12, 17);
    const std::size_t star = field.find('*');
    if (star != std::string::npos) name = field.substr(0, star);
  }
  if (!name) return failure();
  std::this_thread::sleep_for(t.namePause);
  device.Update([&](DeviceInfo& d) { d.userName = *name; });

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
      if (r.IsReply() && IsCompleteSentence(r.text, kCompleteWithin)) return r;
    }
    return std::nullopt;
  };

  const auto basis = ask(8, 3);
  const int basisValue = basis ? LeadingNumber(Field(*basis, 12, 2).substr(0, 1)) : 0;
  const auto zone = ask(10, 6);
  std::string zoneText;
  if (zone) {
    zoneText = Field(*zone, 13, 7);
    zoneText = zoneText.substr(0, zoneText.find('*'));
    if (zoneText == "00000:0") zoneText = " 00:00";
  }
  const auto unit = ask(11, 3);
  const int unitValue = unit ? LeadingNumber(Field(*unit, 13, 2).substr(0, 1)) : 0;

  device.Update([&](DeviceInfo& d) {
    d.basis = basisValue;
    d.basisValid = basis.has_value();
    if (zone) d.timeZone = zoneText;
    d.timeZoneValid = zone.has_value();
    d.distanceUnit = unitValue;
    d.distanceUnitValid = unit.has_value();
  });
}

void TimeoutDisconnect(Link& link, DeviceState& device, const StatusReport& status) {
  link.ClosePort();
  Report(status, txt::TimeoutDisconnected);
  device.Update([](DeviceInfo& d) {
    d.model = DeviceModel::None;
    d.versionText.clear();
    d.memoryText.clear();
  });
  link.commandTimedOut = false;
}

void DisconnectFlow(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                    const StatusReport& status) {
  Report(status, txt::Disconnecting);
  if (!link.Port().IsOpen()) {
    Report(status, txt::DeviceNotConnected);
    return;
  }
  if (stopKeepAlive) stopKeepAlive();
  std::this_thread::sleep_for(link.Timing().disconnectPause);
  IdentExchange(link, 2);
  link.ClosePort();
  Report(status, txt::DeviceDisconnected);
  device.Update([](DeviceInfo& d) {
    d.model = DeviceModel::None;
    d.versionText.clear();
    d.memoryText.clear();
    d.userName.clear();
  });
}

bool Disconnect(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                const StatusReport& status) {
  DisconnectFlow(link, device, stopKeepAlive, status);
  const bool closed = !link.Port().IsOpen();
  if (closed) link.EndSession();
  device.Update([](DeviceInfo& d) { d.timeZoneValid = false; });
  return closed;
}

std::optional<int> MemoryProbe(Link& link) {
  for (int i = 0; i < link.Timing().memoryProbeAttempts; ++i) {
    const ExchangeResult r = PmtkRequest(link, 7, static_cast<std::int32_t>(kProbeAddress), 16);
    if (r.IsNotConnected()) return std::nullopt;
    const std::string_view s = r.text;
    if (s.substr(0, 11) != "$PMTK182,8," || !IsCompleteSentence(s, 96) || s.size() < 20 + 32) continue;
    // The reply must be about the address asked for.
    if (ParseHexText(s.substr(11)) != kProbeAddress || s[19] != ',') continue;
    std::uint8_t bytes[16];
    if (!HexPairsToBytes(s.substr(20), bytes, sizeof bytes)) continue;
    for (std::uint8_t b : bytes)
      if (b != 0xFF) return 1;
    return 0;
  }
  return std::nullopt;
}

ReconnectOutcome QuickReconnect(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                                const std::function<void()>& stopKeepAlive, const StatusReport& status) {
  if (link.SessionActive()) {
    return Disconnect(link, device, stopKeepAlive, status) ? ReconnectOutcome::Disconnected
                                                           : ReconnectOutcome::Connected;
  }
  link.BeginSession();
  if (!link.Port().IsOpen()) {
    if (!link.OpenSelected(portPath, baudRate)) {
      link.EndSession();
      return ReconnectOutcome::Failed;
    }
    PmtkExchange(link, 400, 0, 0);
    std::optional<ExchangeResult> pos;
    for (int i = 0; i < 2 && !pos; ++i) {
      ExchangeResult r = PmtkRequest(link, 2, 8, 0);
      if (r.IsReply() && IsCompleteSentence(r.text, kCompleteWithin)) pos = std::move(r);
    }
    if (!pos) {
      // The logger does not answer: leave nothing half open behind.
      link.ClosePort();
      link.EndSession();
      return ReconnectOutcome::AddressTimeout;
    }
    const auto used = static_cast<std::uint32_t>(ReplyNumber(pos->text, true));
    device.Update([&](DeviceInfo& d) {
      d.logUsedSize = used;
      d.model = DeviceModel::T580;
      d.connectTime = std::chrono::system_clock::now();
    });
  }
  if (link.Port().IsOpen()) return ReconnectOutcome::Connected;
  link.EndSession();
  return ReconnectOutcome::Failed;
}

WriteNameOutcome CheckUserName(const std::string& name) {
  for (unsigned char c : name)
    if (c < 32 || c > 127) return WriteNameOutcome::NotAscii;
  static constexpr std::string_view kForbidden = "* .\\:/\"?<>|";
  if (name.find_first_of(kForbidden) != std::string::npos) return WriteNameOutcome::Forbidden;
  if (name.size() > 16) return WriteNameOutcome::TooLong;
  return WriteNameOutcome::Sent;
}

WriteNameOutcome WriteName(Link& link, DeviceState& device, const std::string& name) {
  WriteNameOutcome outcome = WriteNameOutcome::NotConnected;
  if (link.Port().IsOpen()) {
    outcome = CheckUserName(name);
    if (outcome == WriteNameOutcome::Sent) {
      if (IdentExchange(link, 4, name).IsNotConnected())
        outcome = WriteNameOutcome::NotConnected;
      else
        std::this_thread::sleep_for(link.Timing().namePause);
    }
  }
  device.Update([&](DeviceInfo& d) { d.userName = name; });
  return outcome;
}

void ExitSequence(Link& link, bool restoreSpeed) {
  if (!link.Port().IsOpen()) return;
  if (restoreSpeed && link.fastMode.load()) {
    // A download left the logger at 921600: bring both ends back to 38400 first.
    PmtkExchange(link, 14, SerialPort::kDefaultBaud, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    {
      auto lock = link.Lock();
      link.Port().RestoreSpeed();
    }
    link.fastMode = false;
  }
  IdentExchange(link, 2);
  link.ClosePort();
  link.EndSession();
}

}  // namespace kavro
