#include "serial/PortDiscovery.h"

#include <gtest/gtest.h>

namespace kavro {
namespace {

PortInfo Usb(const std::string& path, const std::string& description, std::uint16_t vid, std::uint16_t pid,
             const std::string& manufacturer = {}) {
  PortInfo p;
  p.devicePath = path;
  p.description = description;
  p.manufacturer = manufacturer;
  p.usb = true;
  p.vendorId = vid;
  p.productId = pid;
  CompletePortInfo(p);
  return p;
}

PortInfo Plain(const std::string& path, const std::string& description = {}) {
  PortInfo p;
  p.devicePath = path;
  p.description = description;
  CompletePortInfo(p);
  return p;
}

// Several ports as a machine might list them: a plain UART, a Prolific cable, an FTDI, a
// CP210x, and a simulator.
std::vector<PortInfo> SeveralPorts() {
  return {Plain("/dev/ttyS0"), Usb("/dev/ttyUSB0", "USB-Serial Controller", 0x067B, 0x2303, "Prolific Technology Inc."),
          Usb("/dev/ttyUSB1", "FT232R USB UART", 0x0403, 0x6001, "FTDI"),
          Usb("/dev/ttyUSB2", "CP2102 USB to UART Bridge Controller", 0x10C4, 0xEA60, "Silicon Labs"),
          Plain("/dev/pts/7", "Simulated T-580")};
}

TEST(PortDiscovery, FriendlyNameIsDescriptionAndPath) {
  const auto ports = SeveralPorts();
  EXPECT_EQ(ports[0].friendlyName, "ttyS0 (/dev/ttyS0)");
  EXPECT_EQ(ports[3].friendlyName, "CP2102 USB to UART Bridge Controller (/dev/ttyUSB2)");
  EXPECT_EQ(ports[4].friendlyName, "Simulated T-580 (/dev/pts/7)");
  // A Prolific bridge gets its Windows name.
  EXPECT_EQ(ports[1].description, "Prolific USB-to-Serial Comm Port");
}

TEST(PortDiscovery, BridgesAreRecognisedByIdsOrNames) {
  const auto ports = SeveralPorts();
  EXPECT_FALSE(IsCp210x(ports[0]));
  EXPECT_TRUE(IsProlific(ports[1]));
  EXPECT_FALSE(IsCp210x(ports[2]));
  EXPECT_FALSE(IsProlific(ports[2]));
  EXPECT_TRUE(IsCp210x(ports[3]));
  // Without USB ids, the product string alone.
  EXPECT_TRUE(IsCp210x(Plain("/dev/ttyUSB5", "CP210x USB to UART Bridge Controller")));
  EXPECT_FALSE(IsCp210x(Plain("/dev/ttyUSB5", "USB to UART Bridge Controller")));
  EXPECT_TRUE(IsProlific(Plain("/dev/ttyUSB6", "Prolific USB-to-Serial Comm Port")));
}

TEST(PortDiscovery, AutoDetectPicksTheCp210xNotTheProlific) {
  const auto ports = SeveralPorts();
  PortChoice choice = FillPortChoice(ports);
  EXPECT_TRUE(choice.detected);
  EXPECT_EQ(choice.selectedPort, "/dev/ttyUSB2");
  EXPECT_EQ(choice.baudIndex, 4);
  // The Prolific is a bridge (fast download allowed) but never picked.
  EXPECT_TRUE(IsBridgePort(ports, "/dev/ttyUSB0"));
  EXPECT_TRUE(IsBridgePort(ports, "/dev/ttyUSB2"));
  EXPECT_FALSE(IsBridgePort(ports, "/dev/ttyUSB1"));
  EXPECT_FALSE(IsBridgePort(ports, "/dev/pts/7"));

  std::vector<PortInfo> noCp210x = ports;
  noCp210x.erase(noCp210x.begin() + 3);
  EXPECT_FALSE(FindBridgePort(noCp210x).has_value());
  AutoDetect(choice, noCp210x);
  EXPECT_FALSE(choice.detected);
  EXPECT_EQ(choice.selectedPort, "/dev/ttyS0");
}

TEST(PortDiscovery, WithoutACp210xTheSimulatedLoggerIsPicked) {
  PortInfo sim = Plain("/dev/pts/7", "Simulated T-580");
  sim.isVirtual = true;
  const std::vector<PortInfo> ports = {Plain("/dev/ttyS0"),
                                       Usb("/dev/ttyUSB0", "USB-Serial Controller", 0x067B, 0x2303), sim};
  PortChoice choice = FillPortChoice(ports);
  EXPECT_FALSE(choice.detected);
  EXPECT_EQ(choice.selectedPort, "/dev/pts/7");
  choice.selectedPort = "/dev/ttyS1";
  DefaultPortChoice(choice, ports);
  EXPECT_EQ(choice.selectedPort, "/dev/pts/7");
  // Nothing virtual either: the first port, as ever.
  EXPECT_EQ(FillPortChoice({Plain("/dev/ttyS0"), Plain("/dev/ttyS1")}).selectedPort, "/dev/ttyS0");
}

TEST(PortDiscovery, DefaultReturnsToDetectedPortAndBaud) {
  const auto ports = SeveralPorts();
  PortChoice choice = FillPortChoice(ports);
  choice.selectedPort = "/dev/ttyUSB1";
  choice.baudIndex = 6;
  DefaultPortChoice(choice, ports);
  EXPECT_EQ(choice.selectedPort, "/dev/ttyUSB2");
  EXPECT_EQ(choice.baudIndex, 4);
  // Auto Detect leaves the baud choice alone.
  choice.baudIndex = 2;
  AutoDetect(choice, ports);
  EXPECT_EQ(choice.baudIndex, 2);
}

TEST(PortDiscovery, VirtualPortsFollowTheSystemPorts) {
  PortInfo sim;
  sim.devicePath = "/dev/pts/42";
  sim.description = "Simulated T-580";
  const auto ports = EnumeratePorts({sim});
  ASSERT_FALSE(ports.empty());
  EXPECT_EQ(ports.back().devicePath, "/dev/pts/42");
  EXPECT_TRUE(ports.back().isVirtual);
  EXPECT_EQ(ports.back().friendlyName, "Simulated T-580 (/dev/pts/42)");
}

}  // namespace
}  // namespace kavro
