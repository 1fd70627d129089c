// A logger whose GPS chip lost 1024 weeks, downloaded over the pseudo-terminal and decoded from
// its dumped memory: corrected, the files are demo's; with --no-week-fix nothing is kept.
#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/KavroRun.h"

#include <filesystem>
#include <unistd.h>

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Kavro;
using test::ReadDir;

class WeekRolloverCli : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("kavro-rollover-cli-" + std::to_string(::getpid()));
    fs::remove_all(base_);
    for (const char* d : {"demo", "fixed", "plain", "tracks", "tracks-plain"}) fs::create_directories(base_ / d);
  }
  void TearDown() override { fs::remove_all(base_); }
  std::string Dir(const char* name) const { return (base_ / name).string(); }
  fs::path base_;
};

// Track files only: the waypoint markers alone still give the (empty) waypoints file.
int TrackFileCount(const fs::path& dir) {
  int n = 0;
  for (const auto& [name, bytes] : ReadDir(dir)) n += name.find("_Start_") != std::string::npos;
  return n;
}

const char* const kFixedLine =
    "4900 records were dated 1024 or 2048 weeks early by a GPS week rollover; their dates were corrected.";

TEST_F(WeekRolloverCli, DownloadCorrectsTheDatesUnlessTold) {
  const test::CliRun demo = Kavro("download --simulate --dir " + Dir("demo") + " --zone +08:00");
  ASSERT_EQ(demo.status, 0) << demo.err;
  const test::CliRun fixed = Kavro("download --simulate=rollover --dir " + Dir("fixed") + " --zone +08:00");
  ASSERT_EQ(fixed.status, 0) << fixed.err;
  EXPECT_TRUE(Has(fixed.out, std::string("Upload Succeed! ") + kFixedLine + "\n")) << fixed.out;
  EXPECT_FALSE(Has(demo.out, "weeks early")) << demo.out;
  // Names, records and KML as if the chip had never lost a week.
  const auto want = ReadDir(base_ / "demo");
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(ReadDir(base_ / "fixed"), want);

  const test::CliRun plain = Kavro("download --simulate=rollover --no-week-fix --dir " + Dir("plain"));
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_TRUE(Has(plain.out, "Upload Succeed!\n")) << plain.out;
  EXPECT_TRUE(Has(plain.err, "No track log record was found.")) << plain.err;
  EXPECT_EQ(TrackFileCount(base_ / "plain"), 0);
}

TEST_F(WeekRolloverCli, TracksFromADumpedMemoryCorrectsTheDatesUnlessTold) {
  const fs::path image = base_ / "rollover.bin";
  ASSERT_EQ(std::system((std::string(KAVRO_SIM) + " --scenario rollover --dump " + image.string()).c_str()), 0);
  const test::CliRun fixed = Kavro("tracks " + image.string() + " --dir " + Dir("tracks") + " --zone +08:00 --user Logger1");
  ASSERT_EQ(fixed.status, 0) << fixed.err;
  EXPECT_TRUE(Has(fixed.out, std::string(kFixedLine) + "\n")) << fixed.out;
  EXPECT_EQ(ReadDir(base_ / "tracks").size(), 4u);  // three tracks and the waypoints
  for (const auto& [name, bytes] : ReadDir(base_ / "tracks"))
    EXPECT_EQ(name.find("_T-580_Start_19"), std::string::npos) << name;  // this century's dates

  const test::CliRun plain = Kavro("tracks " + image.string() + " --dir " + Dir("tracks-plain") + " --no-week-fix");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_FALSE(Has(plain.out, "weeks early"));
  EXPECT_EQ(TrackFileCount(base_ / "tracks-plain"), 0);
}

}  // namespace
}  // namespace kavro
