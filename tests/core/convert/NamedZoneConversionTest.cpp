// A track across the spring change in Berlin: text and KML show each point in the offset in
// force at its instant (+01:00 before 01:00 UTC, +02:00 from then on).
#include <gtest/gtest.h>

#include "convert/TrackConversion.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

constexpr std::int32_t kChange = 1206838800;  // 2008-03-30 01:00:00 UTC

// The points' local times, worked out by hand.
const std::vector<std::pair<std::int32_t, std::string>> kPoints = {
    {kChange - 3600, "Sun Mar 30 01:00:00 2008"},  // 00:00 UTC at +01:00
    {kChange - 1, "Sun Mar 30 01:59:59 2008"},
    {kChange, "Sun Mar 30 03:00:00 2008"},         // 01:00 UTC at +02:00
    {kChange + 1, "Sun Mar 30 03:00:01 2008"},
    {kChange + 1800, "Sun Mar 30 03:30:00 2008"},
};

class NamedZoneConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TempDir("named-zone-conversion");
    std::vector<TrackRecord> records;
    for (const auto& [utc, local] : kPoints) records.push_back(TrackRecord::Make(utc, 52.5f, 13.4f, 35.0f));
    WriteTrl(dir_ / "berlin.trl", records);
    ConversionRequest request;
    request.source = dir_ / "berlin.trl";
    request.formats = {TrackFormat::Text, TrackFormat::Kml};
    request.clock = ZoneClock::Named("Europe/Berlin").value_or(ZoneClock::Fixed(0));
    ASSERT_TRUE(request.clock.IsNamed()) << "Europe/Berlin is not in the zone database";
    ASSERT_TRUE(ConvertTrackFile(request).Ok());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(NamedZoneConversion, TextLinesTakeTheOffsetOfTheirInstant) {
  const std::vector<std::string> lines = SplitCrLf(ReadAll(dir_ / "berlin.txt"));
  ASSERT_EQ(lines.size(), kPoints.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string time = lines[i].substr(lines[i].rfind(',') + 1);
    EXPECT_EQ(time, kPoints[i].second) << i;
  }
}

TEST_F(NamedZoneConversion, KmlPlacemarksTakeTheOffsetOfTheirInstant) {
  const std::vector<std::string> lines = SplitCrLf(ReadAll(dir_ / "berlin.kml"));
  std::vector<std::string> names;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i] == "<name>" && lines[i + 1].rfind("Sun ", 0) == 0) names.push_back(lines[i + 1]);
  ASSERT_EQ(names.size(), kPoints.size());
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], kPoints[i].second) << i;
  if (ToolInstalled("xmllint")) {
    std::string out;
    EXPECT_EQ(RunCommand("xmllint --noout --nonet " + (dir_ / "berlin.kml").string() + " 2>&1", &out), 0) << out;
  }
  if (ToolInstalled("gpsbabel")) {
    // gpsbabel reads the placemarks back with their names.
    std::string out;
    ASSERT_EQ(RunCommand("gpsbabel -i kml -f " + (dir_ / "berlin.kml").string() + " -o unicsv -F - 2>&1", &out), 0)
        << out;
    for (const auto& [utc, local] : kPoints) EXPECT_NE(out.find(local), std::string::npos) << local << "\n" << out;
  }
}

}  // namespace
}  // namespace kavro
