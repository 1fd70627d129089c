// kavro download against one simulated logger several times: only what is new is read, unless
// --full; --clear-after erases the log after a complete download; kavro clear drops the copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>

#include "support/Files.h"
#include "support/KavroRun.h"
#include "support/SimLink.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Kavro;
using test::ReadDir;

class IncrementalCli : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("kavro-incremental-cli-" + std::to_string(::getpid()));
    fs::remove_all(base_);
    sim::SimulatorOptions o;
    o.eraseDelay = std::chrono::milliseconds(10);
    sim_ = test::StartSim(test::Named("demo"), o);
    ASSERT_NE(sim_, nullptr);
  }
  void TearDown() override { fs::remove_all(base_); }

  test::CliRun Download(const std::string& name, const std::string& options = {}) {
    fs::create_directories(base_ / name);
    return Kavro("download --port " + sim_->SlavePath() + " --dir " + (base_ / name).string() + " --total " + options);
  }

  fs::path base_;
  std::unique_ptr<sim::Simulator> sim_;
};

TEST_F(IncrementalCli, ASecondDownloadReadsOnlyTheNewSectorUnlessFull) {
  const test::CliRun first = Download("first");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_TRUE(Has(first.out, "Sectors read from the logger: 2, from the kept copy: 0 (131072 bytes requested)\n"))
      << first.out;
  ASSERT_TRUE(sim_->Record(sim::TripSlots(std::time(nullptr) - 3600, 500)));

  const test::CliRun second = Download("second");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(Has(second.out, "Sectors read from the logger: 1, from the kept copy: 1 (69632 bytes requested)\n"))
      << second.out;
  const test::CliRun full = Download("full", "--full");
  ASSERT_EQ(full.status, 0) << full.err;
  EXPECT_TRUE(Has(full.out, "from the kept copy: 0 (131072 bytes requested)")) << full.out;
  EXPECT_TRUE(ReadDir(base_ / "second") == ReadDir(base_ / "full"));
  EXPECT_FALSE(ReadDir(base_ / "second") == ReadDir(base_ / "first"));  // the trip is in it
}

TEST_F(IncrementalCli, ClearAfterErasesACompleteDownloadAndTheCopyGoesWithIt) {
  const test::CliRun r = Download("first", "--clear-after");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Clear Succeed!\n")) << r.out;
  EXPECT_TRUE(Has(r.out, "Upload Succeed!\n")) << r.out;
  EXPECT_EQ(sim_->State().eraseCount, 1);
  EXPECT_EQ(ReadDir(base_ / "first").size(), 10u);
  const fs::path cache = fs::path(test::PrivateCacheHome()) / "Kavro" / "T580";
  EXPECT_FALSE(fs::exists(cache / "bt-0012AB345678.kept"));

  // kavro clear drops a copy made since.
  sim_->ReplaceMemory(test::Named("demo"));
  ASSERT_EQ(Download("second").status, 0);
  EXPECT_TRUE(fs::exists(cache / "bt-0012AB345678.kept"));
  const test::CliRun clear = Kavro("clear --yes --port " + sim_->SlavePath());
  ASSERT_EQ(clear.status, 0) << clear.err;
  EXPECT_FALSE(fs::exists(cache / "bt-0012AB345678.kept"));
}

}  // namespace
}  // namespace kavro
