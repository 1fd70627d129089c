#include "serial/PortDiscovery.h"

#include <QSerialPortInfo>

namespace kavro {
namespace {

constexpr std::uint16_t kSiliconLabsVendor = 0x10C4;
constexpr std::uint16_t kCp210xProduct = 0xEA60;
constexpr std::uint16_t kProlificVendor = 0x067B;
constexpr std::uint16_t kPl2303Product = 0x2303;
constexpr const char* kProlificName = "Prolific USB-to-Serial Comm Port";

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

void CompletePortInfo(PortInfo& port) {
  if (port.portName.empty()) {
    const std::size_t slash = port.devicePath.rfind('/');
    port.portName = slash == std::string::npos ? port.devicePath : port.devicePath.substr(slash + 1);
  }
  if (IsProlific(port) && !Contains(port.description, "Prolific USB-to-Serial")) port.description = kProlificName;
  if (port.description.empty()) port.description = port.portName;
  port.friendlyName = port.description + " (" + port.devicePath + ")";
}

std::vector<PortInfo> EnumeratePorts(const std::vector<PortInfo>& virtualPorts) {
  std::vector<PortInfo> ports;
  for (const QSerialPortInfo& q : QSerialPortInfo::availablePorts()) {
    PortInfo p;
    p.devicePath = q.systemLocation().toStdString();
    p.portName = q.portName().toStdString();
    p.description = q.description().toStdString();
    p.manufacturer = q.manufacturer().toStdString();
    if (q.hasVendorIdentifier() && q.hasProductIdentifier()) {
      p.usb = true;
      p.vendorId = q.vendorIdentifier();
      p.productId = q.productIdentifier();
    }
    CompletePortInfo(p);
    ports.push_back(std::move(p));
  }
  for (PortInfo p : virtualPorts) {
    p.isVirtual = true;
    CompletePortInfo(p);
    ports.push_back(std::move(p));
  }
  return ports;
}

bool IsCp210x(const PortInfo& port) {
  if (port.usb && port.vendorId == kSiliconLabsVendor && port.productId == kCp210xProduct) return true;
  // "CP210x USB to UART Bridge Controller", and its named forms CP2102, CP2104, ...
  return port.description.rfind("CP210", 0) == 0 && Contains(port.description, "USB to UART Bridge Controller");
}

bool IsProlific(const PortInfo& port) {
  if (port.usb && port.vendorId == kProlificVendor && port.productId == kPl2303Product) return true;
  return Contains(port.manufacturer, "Prolific") || Contains(port.description, "Prolific USB-to-Serial");
}

std::optional<std::string> FindBridgePort(const std::vector<PortInfo>& ports) {
  for (const PortInfo& p : ports)
    if (IsCp210x(p)) return p.devicePath;
  return std::nullopt;
}

bool IsBridgePort(const std::vector<PortInfo>& ports, const std::string& devicePath) {
  for (const PortInfo& p : ports)
    if (p.devicePath == devicePath && (p.simulated || IsCp210x(p) || IsProlific(p))) return true;
  return false;
}

PortChoice FillPortChoice(const std::vector<PortInfo>& ports) {
  PortChoice choice;
  AutoDetect(choice, ports);
  choice.baudIndex = SerialPort::kDefaultBaudIndex;
  return choice;
}

namespace {

// Without a CP210x: the simulated logger when the list has one, so a user with nothing
// attached connects to something that answers; the first port otherwise.
std::string FallbackPort(const std::vector<PortInfo>& ports) {
  for (const PortInfo& p : ports)
    if (p.isVirtual) return p.devicePath;
  return ports.empty() ? std::string() : ports.front().devicePath;
}

}  // namespace

void AutoDetect(PortChoice& choice, const std::vector<PortInfo>& ports) {
  if (const auto bridge = FindBridgePort(ports)) {
    choice.detected = true;
    choice.detectedPort = *bridge;
    choice.selectedPort = *bridge;
  } else {
    choice.detected = false;
    choice.detectedPort.clear();
    choice.selectedPort = FallbackPort(ports);
  }
}

void DefaultPortChoice(PortChoice& choice, const std::vector<PortInfo>& ports) {
  if (choice.detected)
    choice.selectedPort = choice.detectedPort;
  else
    choice.selectedPort = FallbackPort(ports);
  choice.baudIndex = SerialPort::kDefaultBaudIndex;
}

}  // namespace kavro
