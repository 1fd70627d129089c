#pragma once
// The simulated T-580 as a port like any other, so a user with no logger can try every
// feature: a port named "sim:SCENARIO" stands for that scenario's simulator, started when the
// port is first opened. It counts as a logger behind a CP210x bridge (its entry is marked
// simulated), so a download from it takes the fast path. The window and the command line both
// resolve their ports here.

#include <memory>
#include <string>

#include "Simulator.h"
#include "serial/PortDiscovery.h"

namespace kavro::sim {

class SimulatedPort {
 public:
  // "sim:demo" and its kind: the port name of a scenario's simulator.
  static std::string PortName(const std::string& scenario = "demo");
  static bool IsSimulated(const std::string& portName);
  // Its entry of a port list: devicePath is the port name, or the simulator's pseudo-terminal
  // once it runs.
  static PortInfo Entry(const std::string& devicePath, const std::string& description);

  // The device to open for a port name: the name itself, or the pseudo-terminal of the
  // simulator it names (started here, and again once it has stopped). Empty, with the reason
  // in *error, when the simulator cannot start.
  std::string DevicePath(const std::string& portName, std::string* error = nullptr);
  // The simulator started here, if any.
  Simulator* Running() const { return simulator_.get(); }

 private:
  std::unique_ptr<Simulator> simulator_;
  std::string scenario_;
};

}  // namespace kavro::sim
