#pragma once
// Port list entries as the discovery reports them, for ports the tests offer (a simulator's
// pseudo-terminal standing for a USB bridge, say).

#include <string>

#include "serial/PortDiscovery.h"

namespace kavro::test {

// The entry of a CP2102 bridge (10C4:EA60) on that device path.
inline PortInfo Cp210xEntry(const std::string& devicePath) {
  PortInfo p;
  p.devicePath = devicePath;
  p.description = "CP2102 USB to UART Bridge Controller";
  p.usb = true;
  p.vendorId = 0x10C4;
  p.productId = 0xEA60;
  p.isVirtual = true;
  CompletePortInfo(p);
  return p;
}

}  // namespace kavro::test
