// Named zones on the command line: kavro zones, --zone NAME in the conversions, and a name the
// zone database does not know.
#include <gtest/gtest.h>

#include "support/KavroRun.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "track/TimeZoneTable.h"
#include "track/TrackRecord.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Kavro;

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  return lines;
}

class ZonesCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-zones-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "photos");
    // Either side of Berlin's spring change, 2008-03-30 01:00 UTC.
    std::ofstream f(dir_ / "a.trl", std::ios::binary);
    for (std::int32_t t : {1206838800 - 1, 1206838800}) {
      const TrackRecord r = TrackRecord::Make(t, 52.5f, 13.4f, 35.0f);
      f.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
    }
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ZonesCli, ListsTheTableThenTheNamedZonesWithTheirOffsetsNow) {
  const test::CliRun all = Kavro("zones");
  ASSERT_EQ(all.status, 0) << all.err;
  const std::vector<std::string> lines = Lines(all.out);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(ZoneListSize()));
  EXPECT_EQ(lines[0], "+13:00");
  EXPECT_EQ(lines[19], " 00:00");
  EXPECT_EQ(lines[33], "-12:00");
  EXPECT_EQ(lines[34].substr(0, lines[34].find(' ')), NamedZoneIds().front());

  const test::CliRun berlin = Kavro("zones BERLIN");
  ASSERT_EQ(berlin.status, 0) << berlin.err;
  const std::vector<std::string> one = Lines(berlin.out);
  ASSERT_EQ(one.size(), 1u) << berlin.out;
  EXPECT_EQ(one[0].rfind("Europe/Berlin ", 0), 0u) << one[0];
  const std::string offset = one[0].substr(one[0].find_last_of(' ') + 1);
  EXPECT_TRUE(offset == "+01:00" || offset == "+02:00") << offset;
  const test::CliRun kolkata = Kavro("zones Kolkata");
  EXPECT_EQ(kolkata.out.substr(kolkata.out.size() - 7), "+05:30\n") << kolkata.out;

  const test::CliRun none = Kavro("zones Atlantis");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "No time zone name contains \"Atlantis\".\n");
}

TEST_F(ZonesCli, ConvertTakesANamedZone) {
  const test::CliRun r = Kavro("convert " + Q(dir_ / "a.trl") + " --text --kml --zone Europe/Berlin");
  ASSERT_EQ(r.status, 0) << r.err;
  std::ifstream f(dir_ / "a.txt", std::ios::binary);
  std::stringstream text;
  text << f.rdbuf();
  EXPECT_NE(text.str().find("Sun Mar 30 01:59:59 2008\r\n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("Sun Mar 30 03:00:00 2008\r\n"), std::string::npos) << text.str();
  // The letter case of a name does not matter.
  EXPECT_EQ(Kavro("convert " + Q(dir_ / "a.trl") + " --text --zone=europe/berlin").status, 0);
}

TEST_F(ZonesCli, AnUnknownZoneNameIsAUsageErrorForEveryCommand) {
  const std::string message =
      "Unknown time zone name \"Europe/Atlantis\": the zone database of this system has no zone of that name. "
      "\"kavro zones TEXT\" lists the zones whose names contain TEXT.\n";
  for (const std::string& args :
       {"convert " + Q(dir_ / "a.trl") + " --zone Europe/Atlantis",
        "tracks " + Q(dir_ / "a.trl") + " --dir " + Q(dir_) + " --zone=Europe/Atlantis",
        "geotag " + Q(dir_ / "a.trl") + " " + Q(dir_ / "photos") + " --kml " + Q(dir_ / "p.kml") + " --zone Europe/Atlantis"}) {
    const test::CliRun r = Kavro(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err, message) << args;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.kml"));
  EXPECT_FALSE(fs::exists(dir_ / "p.kml"));
}

}  // namespace
}  // namespace kavro
