#pragma once
// Connecting to the logger and reading what it is: the settings read after the port opens,
// identification, versions, free memory, user name, the wrap probe, and the extra values after
// a successful connect. Blocking: the window runs these on a worker thread and shows the
// statuses it receives. Safe to call from any thread.

#include <optional>
#include <string>

#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"

namespace kavro {

enum class ConnectOutcome {
  Connected,   // txt::DeviceConnected
  Failed,      // txt::ConnectFailed; the port may still be open (portHeld)
  TimedOut,    // txt::TimeoutDisconnected; the port is closed
};

struct ConnectResult {
  ConnectOutcome outcome = ConnectOutcome::Failed;
  OpenError openError = OpenError::None;  // set when the port could not be opened (txt::PortMissing ...)
  std::string openErrorText;              // the system's words for it
  bool portHeld = false;                  // the port is open afterwards: the button shows "Disconnect"
  bool linkLost = false;                  // the logger went away during the connect
  bool noAnswer = false;                  // the port opened, but nothing on it answered: another port?
};

// The whole Connect click: begins the session, ConnectFlow, then on success the extra values;
// ends the session again when no port is held afterwards. Statuses: txt::Connecting, then
// txt::DeviceConnected, txt::ConnectFailed or txt::TimeoutDisconnected.
ConnectResult Connect(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                      const StatusReport& status);

// Opens the chosen port (unless open), reads the settings, identifies the logger and fills
// DeviceInfo. Every wait is bounded (see ExchangeTiming); a bound reached ends as Failed.
ConnectResult ConnectFlow(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                          const StatusReport& status);
// After a successful connect: recording basis (3 tries), time zone (6), distance unit (3),
// each with its valid flag; "00000:0" is stored as " 00:00".
void ReadExtraValues(Link& link, DeviceState& device);

// Reads 16 bytes of log memory at 0x1F0000: 0 when all are 0xFF (never wrapped), 1 otherwise;
// empty when no whole reply came within the bound.
std::optional<int> MemoryProbe(Link& link);

}  // namespace kavro
