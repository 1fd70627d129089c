#pragma once
// Connecting to the logger and reading what it is; disconnecting; the silent reconnect of the
// download; writing the user name. Blocking: the window runs these on a worker thread and
// shows the statuses it receives. Safe to call from any thread.

#include <functional>
#include <optional>
#include <string>

#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"

namespace kavro {

enum class ConnectOutcome {
  Connected,   // "Device Connected!" (311)
  Failed,      // "Failed connecting to device!" (312); the port may still be open (PortHeld)
  TimedOut,    // "Timeout. Device Disconnected!" (315); the port is closed
};

struct ConnectResult {
  ConnectOutcome outcome = ConnectOutcome::Failed;
  OpenError openError = OpenError::None;  // set when the port could not be opened (texts 500-503)
  std::string openErrorText;              // the system's words for it
  bool portHeld = false;                  // the port is open afterwards: the button shows "Disconnect"
  bool linkLost = false;                  // the logger went away during the connect
};

// The whole Connect click: begins the session, ConnectFlow, then on success the extra values;
// ends the session again when no port is held afterwards. Statuses: 310, then 311/312/315.
ConnectResult Connect(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                      const StatusReport& status);

// Opens the chosen port (unless open), reads the settings, identifies the logger and fills
// DeviceInfo. Every wait is bounded (see ExchangeTiming); a bound reached ends as Failed.
ConnectResult ConnectFlow(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                          const StatusReport& status);
// After a successful connect: recording basis (3 tries), time zone (6), distance unit (3),
// each with its valid flag; "00000:0" is stored as " 00:00".
void ReadExtraValues(Link& link, DeviceState& device);
// Closes after the first query ran out of resends: status 315, model 0, CommandTimedOut := 0.
void TimeoutDisconnect(Link& link, DeviceState& device, const StatusReport& status);

// The whole Disconnect click: DisconnectFlow, and the session ends when the port is gone.
// stopKeepAlive is called first (the keep-alive must be off before the goodbye); may be empty.
// Returns true when the port is closed afterwards.
bool Disconnect(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                const StatusReport& status);
// "Disconnecting device...", goodbye ($KAVRO580,2), close: 313, then 314 (or 384 when no port).
void DisconnectFlow(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                    const StatusReport& status);

// Reads 16 bytes of log memory at 0x1F0000: 0 when all are 0xFF (never wrapped), 1 otherwise;
// empty when no whole reply came within the bound.
std::optional<int> MemoryProbe(Link& link);

// Leaves the logger sane when the program ends: with restoreSpeed and the port in fast mode,
// the speed command with 38400 first (both ends back to the normal speed), then goodbye, then
// the port is closed and the session ends. Nothing happens without an open port.
void ExitSequence(Link& link, bool restoreSpeed);

enum class ReconnectOutcome { Connected, Disconnected, Failed, AddressTimeout /* "read Address: Timeout!" (508) */ };
// The download's reconnect: while not connected (no session), opens and re-reads the write
// position without identification; while connected, disconnects.
ReconnectOutcome QuickReconnect(Link& link, DeviceState& device, const std::string& portPath, int baudRate,
                                const std::function<void()>& stopKeepAlive, const StatusReport& status);

enum class WriteNameOutcome {
  Sent,          // $KAVRO580,4,NAME went out
  NotConnected,  // nothing sent, no message
  NotAscii,      // message 416
  Forbidden,     // message 390: * space . \ : / " ? < > |
  TooLong,       // more than 16 characters (the window's field cannot hold more): message 510
};
// Checks the name as Write Name does, without sending anything.
WriteNameOutcome CheckUserName(const std::string& name);
// Write Name: checks, sends when connected, and keeps the name in DeviceInfo whatever happened.
WriteNameOutcome WriteName(Link& link, DeviceState& device, const std::string& name);

}  // namespace kavro
