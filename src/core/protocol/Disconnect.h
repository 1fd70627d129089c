#pragma once
// Ending a connection and taking it up again: Disconnect, the close after a connect timed out,
// the silent reconnect of the download, and the exit sequence that leaves the logger sane.
// Blocking, safe to call from any thread.

#include <functional>
#include <string>

#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"

namespace kavro {

// Closes after the first query ran out of resends and reports txt::TimeoutDisconnected; the
// device is forgotten and the time-out flag cleared, so the next connect starts afresh.
void TimeoutDisconnect(Link& link, DeviceState& device, const StatusReport& status);

// The whole Disconnect click: DisconnectFlow, and the session ends when the port is gone.
// stopKeepAlive is called first (the keep-alive must be off before the goodbye); may be empty.
// Returns true when the port is closed afterwards.
bool Disconnect(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                const StatusReport& status);
// txt::Disconnecting, goodbye ($KAVRO580,2), close, txt::DeviceDisconnected (or
// txt::DeviceNotConnected when no port is held).
void DisconnectFlow(Link& link, DeviceState& device, const std::function<void()>& stopKeepAlive,
                    const StatusReport& status);

// Leaves the logger sane when the program ends: with restoreSpeed and the port in fast mode,
// the speed command with 38400 first (both ends back to the normal speed), then goodbye, then
// the port is closed and the session ends. Nothing happens without an open port.
void ExitSequence(Link& link, bool restoreSpeed);

}  // namespace kavro
