#include <gtest/gtest.h>

#include <set>

#include "common/Texts.h"
#include "convert/TrackConversion.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

TEST(TrackConversion, OutputNamesReplaceTheLastFourCharacters) {
  EXPECT_EQ(ConvertedFileName("/logs/trip.trl", TrackFormat::Text), "/logs/trip.txt");
  EXPECT_EQ(ConvertedFileName("/logs/trip.trl", TrackFormat::Kml), "/logs/trip.kml");
  EXPECT_EQ(ConvertedFileName("/logs/trip.trl", TrackFormat::Nmea), "/logs/tripNMEA.txt");
  EXPECT_EQ(ConvertedFileName("/logs/trip.trl", TrackFormat::Gpx), "/logs/trip.gpx");
  EXPECT_EQ(ConvertedFileName("/logs/track", TrackFormat::Kml), "/logs/t.kml");
  EXPECT_EQ(ConvertedFileName("/logs/北京路线图.trl", TrackFormat::Gpx), "/logs/北京路线图.gpx");
  EXPECT_EQ(ConvertedFileName("/logs/北京路线", TrackFormat::Gpx), "/logs/.gpx");
  EXPECT_EQ(ConvertedFileName("/logs/ab", TrackFormat::Kml), "/logs/.kml");  // never the folder
  EXPECT_EQ(ConvertedFileName("rel.trl", TrackFormat::Text), "rel.txt");
  EXPECT_EQ(ConvertedFileName("/logs/trip.trl", TrackFormat::GpxTrack), "/logs/trip_track.gpx");
}

// Two rows that named the same file, option or check box would overwrite or hide each other.
TEST(TrackConversion, EveryFormatHasItsOwnFileOptionAndBox) {
  std::set<std::string> files, flags, keys;
  std::set<int> labels;
  for (const OutputFormat& row : OutputFormats()) {
    EXPECT_TRUE(files.insert(ConvertedFileName("t.trl", row.format).string()).second) << row.key;
    EXPECT_TRUE(flags.insert(row.flag).second) << row.key;
    EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    EXPECT_TRUE(labels.insert(row.labelId).second) << row.key;
    EXPECT_EQ(&OutputFormatOf(row.format), &row);
  }
  EXPECT_EQ(DefaultFormats(), std::vector<TrackFormat>{TrackFormat::Kml});
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("conversion"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

// A photo renamed to .trl is refused before anything is written; a track log cut short in its
// last record converts what it holds.
TEST_F(Conversion, AFileThatIsNotATrackLogIsRefusedAndNothingWritten) {
  const auto photo = dir_ / "IMG_0001.trl";
  std::filesystem::copy_file(std::filesystem::path(KAVRO_TEST_DATA) / "photos" / "Canon_EOS_D60.jpg", photo);
  ConversionRequest request;
  request.source = photo;
  request.formats = {TrackFormat::Text, TrackFormat::Kml, TrackFormat::Nmea, TrackFormat::Gpx};
  const ConversionResult r = ConvertTrackFile(request);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].textId, txt::NotATrackLog);
  EXPECT_EQ(r.problems[0].path, photo);
  EXPECT_EQ(r.problems[0].reason.back(), '%');
  EXPECT_TRUE(r.written.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);

  const auto torn = dir_ / "torn.trl";
  WriteTrl(torn, {TrackRecord::Make(1205544612, 25.03f, 121.56f, 12.5f), TrackRecord::Make(1205544622, 25.04f, 121.57f, 13)});
  std::filesystem::resize_file(torn, 16 + 7);
  request.source = torn;
  request.formats = {TrackFormat::Text};
  const ConversionResult t = ConvertTrackFile(request);
  EXPECT_TRUE(t.Ok());
  EXPECT_EQ(SplitCrLf(ReadAll(dir_ / "torn.txt")).size(), 1u);
}

TEST_F(Conversion, WritesChosenFormatsInOrderAndReplacesEarlierOutputs) {
  const auto trl = dir_ / "trip.trl";
  WriteTrl(trl, {TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f)});
  {
    std::FILE* f = std::fopen((dir_ / "trip.txt").c_str(), "wb");
    std::fputs("an earlier conversion that is longer than the new one\r\n\r\n\r\n\r\n", f);
    std::fclose(f);
  }
  ConversionRequest request;
  request.source = trl;
  request.formats = {TrackFormat::Text, TrackFormat::Kml, TrackFormat::Nmea, TrackFormat::Gpx};
  request.clock = ZoneClock::Fixed(8 * 60);
  const ConversionResult result = ConvertTrackFile(request);
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.written, (std::vector<std::filesystem::path>{dir_ / "trip.txt", dir_ / "trip.kml",
                                                                 dir_ / "tripNMEA.txt", dir_ / "trip.gpx"}));
  EXPECT_EQ(ReadAll(dir_ / "trip.txt"), "121.5654297,25.0330009,12.50,Sat Mar 15 09:30:12 2008\r\n");
}

TEST_F(Conversion, NothingHalfWrittenAndTheSourceIsNeverReplaced) {
  // Missing source: nothing at all.
  ConversionRequest request;
  request.source = dir_ / "gone.trl";
  request.formats = {TrackFormat::Text, TrackFormat::Kml, TrackFormat::Gpx};
  ConversionResult result = ConvertTrackFile(request);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].textId, txt::SourceOpenFailed);
  EXPECT_FALSE(result.problems[0].reason.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir_));

  // A source whose own name is an output's name stays as it is.
  const auto odd = dir_ / "odd.kml";
  WriteTrl(odd, {TrackRecord::Make(1205544612, 1.0f, 2.0f, 3.0f)});
  const std::string before = ReadAll(odd);
  request.source = odd;
  request.formats = {TrackFormat::Kml};
  result = ConvertTrackFile(request);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].textId, txt::OutputIsSource);
  EXPECT_EQ(ReadAll(odd), before);

  // An output that cannot be created: reported, no temporary file left, the others written.
  const auto trl = dir_ / "t.trl";
  WriteTrl(trl, {TrackRecord::Make(1205544612, 1.0f, 2.0f, 3.0f)});
  std::filesystem::create_directory(dir_ / "t.txt");
  request.source = trl;
  request.formats = {TrackFormat::Text, TrackFormat::Kml};
  result = ConvertTrackFile(request);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].textId, txt::OutputCreateFailed);
  EXPECT_EQ(result.problems[0].path, dir_ / "t.txt");
  EXPECT_EQ(result.written, (std::vector<std::filesystem::path>{dir_ / "t.kml"}));
  for (const auto& e : std::filesystem::directory_iterator(dir_))
    EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

}  // namespace
}  // namespace kavro
