#pragma once
// Write Name: the user name checked as the logger accepts it, then written.

#include <string>

#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"

namespace kavro {

enum class WriteNameOutcome {
  Sent,          // $KAVRO580,4,NAME went out
  NotConnected,  // nothing sent, no message
  NotAscii,      // txt::UserNameNotAscii
  Forbidden,     // txt::UserNameForbidden: * space . \ : / " ? < > |
  TooLong,       // more than 16 characters (the window's field cannot hold more): txt::UserNameTooLong
};
// Checks the name as Write Name does, without sending anything.
WriteNameOutcome CheckUserName(const std::string& name);
// Write Name: checks, sends when connected, and keeps the name in DeviceInfo whatever happened.
WriteNameOutcome WriteName(Link& link, DeviceState& device, const std::string& name);

}  // namespace kavro
