// The simulated logger as a port: its list entry counts as a bridge for the download's speed
// but is never what Auto Detect reports as found, and its port name starts one simulator that
// later opens reuse.
#include <gtest/gtest.h>

#include "SimulatedPort.h"

namespace kavro::sim {
namespace {

TEST(SimulatedPort, EntryIsABridgeButNotTheDetectedPort) {
  PortInfo uart;
  uart.devicePath = "/dev/ttyS0";
  CompletePortInfo(uart);
  const std::vector<PortInfo> ports{uart, SimulatedPort::Entry(SimulatedPort::PortName(), "Simulated T-580")};
  EXPECT_TRUE(IsBridgePort(ports, "sim:demo"));
  EXPECT_FALSE(IsBridgePort(ports, "/dev/ttyS0"));
  EXPECT_FALSE(IsBridgePort(ports, "sim:other"));  // not listed
  // Chosen when no CP210x is there, but not as one that was found.
  const PortChoice choice = FillPortChoice(ports);
  EXPECT_FALSE(choice.detected);
  EXPECT_EQ(choice.selectedPort, "sim:demo");
  EXPECT_EQ(ports.back().friendlyName, "Simulated T-580 (sim:demo)");
}

TEST(SimulatedPort, PortNameStartsOneSimulatorAndOtherNamesPassThrough) {
  SimulatedPort port;
  EXPECT_EQ(port.DevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(port.Running(), nullptr);
  std::string error;
  const std::string pty = port.DevicePath("sim:demo", &error);
  ASSERT_FALSE(pty.empty()) << error;
  ASSERT_NE(port.Running(), nullptr);
  EXPECT_EQ(port.Running()->SlavePath(), pty);
  EXPECT_EQ(port.DevicePath("sim:demo"), pty);  // the same simulator again
  port.Running()->Stop();
  const std::string again = port.DevicePath("sim:demo", &error);
  ASSERT_FALSE(again.empty()) << error;
  EXPECT_TRUE(port.Running()->Running());
  EXPECT_TRUE(port.DevicePath("sim:no-such-scenario", &error).empty());
  EXPECT_NE(error.find("no-such-scenario"), std::string::npos) << error;
}

}  // namespace
}  // namespace kavro::sim
