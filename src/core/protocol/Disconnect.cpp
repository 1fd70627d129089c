#include "protocol/Disconnect.h"

#include <chrono>
#include <optional>
#include <thread>

#include "common/Texts.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

// The logger needs this long after the speed command before the port follows.
constexpr std::chrono::milliseconds kSpeedChangePause{500};

void Report(const StatusReport& status, int id) {
  if (status) status(id);
}

}  // namespace

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
  IdentExchange(link, ident::kGoodbye);
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

void ExitSequence(Link& link, bool restoreSpeed) {
  if (!link.Port().IsOpen()) return;
  if (restoreSpeed && link.fastMode.load()) {
    // A download left the logger at 921600: bring both ends back to 38400 first.
    PmtkExchange(link, pmtk::kSpeed, SerialPort::kDefaultBaud, 0);
    std::this_thread::sleep_for(kSpeedChangePause);
    {
      auto lock = link.Lock();
      link.Port().RestoreSpeed();
    }
    link.fastMode = false;
  }
  IdentExchange(link, ident::kGoodbye);
  link.ClosePort();
  link.EndSession();
}

}  // namespace kavro
