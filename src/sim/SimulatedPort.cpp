#include "SimulatedPort.h"

#include <string_view>

namespace kavro::sim {
namespace {
constexpr std::string_view kPrefix = "sim:";
}

std::string SimulatedPort::PortName(const std::string& scenario) { return std::string(kPrefix) + scenario; }

bool SimulatedPort::IsSimulated(const std::string& portName) { return portName.rfind(kPrefix, 0) == 0; }

PortInfo SimulatedPort::Entry(const std::string& devicePath, const std::string& description) {
  PortInfo p;
  p.devicePath = devicePath;
  p.description = description;
  p.isVirtual = true;
  p.simulated = true;
  CompletePortInfo(p);
  return p;
}

std::string SimulatedPort::DevicePath(const std::string& portName, std::string* error) {
  if (!IsSimulated(portName)) return portName;
  const std::string scenario = portName.substr(kPrefix.size());
  if (!simulator_ || !simulator_->Running() || scenario != scenario_) {
    simulator_.reset();
    simulator_ = StartSimulator(scenario, error);
    if (!simulator_) return {};
    scenario_ = scenario;
  }
  return simulator_->SlavePath();
}

}  // namespace kavro::sim
