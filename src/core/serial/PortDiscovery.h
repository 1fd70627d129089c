#pragma once
// Which serial ports the system has, which of them is a USB bridge of the kind the logger uses
// (CP210x, Prolific), and the port choice of the Device page: fill at start, Auto Detect,
// Default. Plain functions over a port list, shared by the window and `kavro ports`.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "serial/SerialPort.h"

namespace kavro {

struct PortInfo {
  std::string devicePath;    // what to open, e.g. /dev/ttyUSB0 or the simulator's pty
  std::string portName;      // e.g. ttyUSB0
  std::string friendlyName;  // description + " (" + devicePath + ")"
  bool usb = false;          // known to hang on USB (has vendor and product ids)
  std::string description;   // USB product string or the system's description
  std::string manufacturer;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  bool isVirtual = false;    // given by the caller, e.g. the simulated T-580
  bool simulated = false;    // the simulated T-580, which stands for a logger behind a CP210x
};

// The ports of the system (QSerialPortInfo) followed by the caller's virtual ports. Empty
// descriptions take the port name; a Prolific bridge is named "Prolific USB-to-Serial Comm Port".
std::vector<PortInfo> EnumeratePorts(const std::vector<PortInfo>& virtualPorts = {});
// Fills friendlyName (and an empty description) of an entry the caller built by hand.
void CompletePortInfo(PortInfo& port);

// A CP210x bridge: 10C4:EA60, or a product string "CP210x/CP2102/... USB to UART Bridge Controller".
bool IsCp210x(const PortInfo& port);
// A Prolific bridge: 067B:2303, or the manufacturer "Prolific", or its Windows name.
bool IsProlific(const PortInfo& port);

// The device path of the first CP210x bridge in the list; Prolific bridges are not picked.
std::optional<std::string> FindBridgePort(const std::vector<PortInfo>& ports);
// Whether the port of this device path may take the 921600-baud download: its entry in the
// list is a CP210x or Prolific bridge, or the simulated logger. The window and the command
// line both ask this.
bool IsBridgePort(const std::vector<PortInfo>& ports, const std::string& devicePath);

// The Device page's port choice.
struct PortChoice {
  bool detected = false;     // a CP210x was found at start or by Auto Detect
  std::string detectedPort;  // its device path
  std::string selectedPort;  // the port Connect opens
  int baudIndex = SerialPort::kDefaultBaudIndex;  // index into SerialPort::kBaudList
};

// Start-up: picks the CP210x port when there is one, else the first virtual port (the
// simulated logger), else the first port; baud 38400.
PortChoice FillPortChoice(const std::vector<PortInfo>& ports);
// Auto Detect: the detection again; the baud choice stays.
void AutoDetect(PortChoice& choice, const std::vector<PortInfo>& ports);
// Default All: back to the detected port (else as at start) and 38400 baud.
void DefaultPortChoice(PortChoice& choice, const std::vector<PortInfo>& ports);

}  // namespace kavro
