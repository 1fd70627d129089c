// kavro info over lines that misbehave as real USB-serial bridges do: late replies, replies in
// small pieces, an echoing line. Each must read every value a clean line reads.
#include <gtest/gtest.h>

#include "support/KavroRun.h"

#include <memory>
#include <string>

#include "Simulator.h"

namespace kavro {
namespace {

using test::Kavro;

class SlowLineCli : public ::testing::Test {
 protected:
  // `kavro info` against a fresh "other" logger (every value differs from the defaults).
  test::CliRun Info(const sim::Faults& faults) {
    std::string error;
    sim::SimulatorOptions options;
    options.faults = faults;
    auto logger = sim::StartSimulator("other", &error, options);
    if (!logger) {
      ADD_FAILURE() << error;
      return {};
    }
    return Kavro("info --port " + logger->SlavePath());
  }
  void SetUp() override {
    clean_ = Info({});
    ASSERT_EQ(clean_.status, 0) << clean_.err;
    ASSERT_NE(clean_.out.find("User Name: "), std::string::npos);
  }
  test::CliRun clean_;
};

TEST_F(SlowLineCli, EveryReplyLateBy200Ms) {
  sim::Faults f;
  f.replyDelay = std::chrono::milliseconds(200);
  const test::CliRun r = Info(f);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, clean_.out);
}

TEST_F(SlowLineCli, RepliesInPiecesOfEightBytes) {
  sim::Faults f;
  f.splitBytes = 8;
  const test::CliRun r = Info(f);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, clean_.out);
}

TEST_F(SlowLineCli, EchoingLine) {
  sim::Faults f;
  f.echo = true;
  const test::CliRun r = Info(f);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, clean_.out);
}

}  // namespace
}  // namespace kavro
