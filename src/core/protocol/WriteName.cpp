#include "protocol/WriteName.h"

#include <string_view>
#include <thread>

#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"

namespace kavro {

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
      if (IdentExchange(link, ident::kWriteName, name).IsNotConnected())
        outcome = WriteNameOutcome::NotConnected;
      else
        std::this_thread::sleep_for(link.Timing().namePause);
    }
  }
  device.Update([&](DeviceInfo& d) { d.userName = name; });
  return outcome;
}

}  // namespace kavro
