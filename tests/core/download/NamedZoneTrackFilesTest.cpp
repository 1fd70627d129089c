// A download's file names and KMLs in a named zone: first and last times each in the offset in
// force at their own instant.
#include <gtest/gtest.h>

#include "download/TrackFileWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

constexpr std::int32_t kSpring = 1206838800;  // 2008-03-30 01:00:00 UTC: Berlin goes to +02:00
constexpr std::int32_t kAutumn = 1224982800;  // 2008-10-26 01:00:00 UTC: Berlin goes back to +01:00

TrackRecord Rec(std::int32_t time) { return TrackRecord::Make(time, 52.5f, 13.4f, 35.0f); }

TEST(NamedZoneTrackFiles, NamesAndKmlTakeTheOffsetOfEachInstant) {
  const std::filesystem::path dir = TempDir("named-zone-files");
  const ZoneClock berlin = ZoneClock::Named("Europe/Berlin").value_or(ZoneClock::Fixed(0));
  ASSERT_TRUE(berlin.IsNamed());
  EXPECT_EQ(FileNameTime(kSpring - 1800, berlin), "20080330-013000");
  EXPECT_EQ(FileNameTime(kSpring + 1800, berlin), "20080330-033000");
  // Across the autumn change an hour apart, both ends read 02:30.
  EXPECT_EQ(FileNameTime(kAutumn - 1800, berlin), "20081026-023000");
  EXPECT_EQ(FileNameTime(kAutumn + 1800, berlin), "20081026-023000");

  const std::vector<TrackRecord> list = {Rec(kSpring - 1800), Rec(kSpring), Rec(kSpring + 1800)};
  const TrackFilesResult result = WriteTrackFiles(list, {0, 0, 0}, 0, TrackFilesOptions{dir, false, "Logger1", berlin});
  ASSERT_EQ(result.failed, 0);
  const std::filesystem::path trl = dir / "Logger1_T-580_Start_20080330-013000_Finish_20080330-033000.trl";
  ASSERT_EQ(result.Written(), std::vector<std::filesystem::path>{trl});
  ASSERT_EQ(WriteKmlForTrackFiles(result, berlin), 0);
  std::filesystem::path kml = trl;
  kml.replace_extension(".kml");
  const std::string text = ReadAll(kml);
  for (const char* name : {"Sun Mar 30 01:30:00 2008", "Sun Mar 30 03:00:00 2008", "Sun Mar 30 03:30:00 2008"})
    EXPECT_NE(text.find(std::string("<name>\r\n") + name + "\r\n</name>"), std::string::npos) << name;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kavro
