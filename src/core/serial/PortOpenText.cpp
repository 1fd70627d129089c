#include "serial/PortOpenText.h"

#include "common/Texts.h"

namespace kavro {

TextMessage PortOpenText(OpenError error, const std::string& port, const std::string& why) {
  switch (error) {
    case OpenError::None: return {};
    case OpenError::Missing: return {txt::PortMissing, {port}};
    case OpenError::Busy: return {txt::PortBusy, {port}};
    case OpenError::Permission: return {txt::PortPermission, {port}};
    case OpenError::NotSerial: return {txt::PortNotSerial, {port}};
    case OpenError::Other: break;
  }
  return {txt::PortOtherError, {port, why}};
}

}  // namespace kavro
