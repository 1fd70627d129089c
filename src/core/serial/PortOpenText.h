#pragma once
// Why a port would not open, in the words the window's status line and the command line show.

#include <string>

#include "common/TextMessage.h"
#include "serial/SerialPort.h"

namespace kavro {

// The text of an open failure: every one names the port as %1; the one without words of its
// own adds the system's reason (why) as %2. Text id 0 for OpenError::None.
TextMessage PortOpenText(OpenError error, const std::string& port, const std::string& why);

}  // namespace kavro
