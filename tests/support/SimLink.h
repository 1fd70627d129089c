#pragma once
// A simulated T-580 on a real pseudo-terminal and a link opened on it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Simulator.h"
#include "protocol/ConnectFlow.h"
#include "protocol/DeviceInfo.h"
#include "protocol/Link.h"
#include "support/QuickTimings.h"

namespace kavro::test {

inline std::unique_ptr<sim::Simulator> StartSim(const sim::Scenario& scenario, sim::SimulatorOptions options = {}) {
  auto s = std::make_unique<sim::Simulator>(scenario, options);
  std::string error;
  if (!s->Start(&error)) {
    ADD_FAILURE() << "simulator: " << error;
    return nullptr;
  }
  return s;
}

inline sim::Scenario Named(const std::string& name) { return *sim::ScenarioByName(name); }

inline long Count(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

// The simulator takes in what was written on its own thread: wait (bounded) until it has
// recorded at least `want` sentences with the prefix, and return how many it has.
inline long AwaitCount(const sim::Simulator& sim, const std::string& prefix, long want) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  long n = Count(sim.Received(), prefix);
  while (n < want && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    n = Count(sim.Received(), prefix);
  }
  return n;
}

// A link connected to the demo logger with the quick timing: for tests of what follows a connect.
class ConnectedToSim : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_ = StartSim(Named("demo"));
    ASSERT_NE(sim_, nullptr);
    link_.SetTiming(QuickTiming());
    ASSERT_EQ(Connect(link_, device_, sim_->SlavePath(), 38400, {}).outcome, ConnectOutcome::Connected);
  }
  std::unique_ptr<sim::Simulator> sim_;
  Link link_;
  DeviceState device_;
};

// The sentence as the simulator records it: without CR LF.
inline std::string Recorded(const std::string& body);

}  // namespace kavro::test

#include "protocol/Sentence.h"

inline std::string kavro::test::Recorded(const std::string& body) {
  std::string s = AppendChecksum(body);
  return s.substr(0, s.size() - 2);
}
