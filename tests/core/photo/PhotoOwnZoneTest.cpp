// A photo that stores its own zone (OffsetTimeOriginal, written by exiftool here) is matched in
// that zone, whatever zone was chosen; told to ignore it, the chosen zone applies again.
#include <gtest/gtest.h>

#include <map>

#include "common/OutputSink.h"
#include "photo/PhotoMetadata.h"
#include "photo/PhotoConversion.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

constexpr std::int32_t kTen = 1204192800;  // 2008-02-28 10:00:00 UTC

class Lines : public PhotoConversionListener {
 public:
  void OnLine(const std::string& line) override { lines.push_back(line); }
  void OnSummary(const std::string&) override {}
  void OnProblem(const std::string& m) override { problems.push_back(m); }
  std::vector<std::string> lines, problems;
};

class PhotoOwnZone : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
    std::filesystem::create_directory(photos_);
    test::WriteTrl(trl_, {TrackRecord::Make(kTen, 25.25f, 121.5f, 10), TrackRecord::Make(kTen + 60, 25.5f, 121.75f, 20)});
    test::TinyJpeg phone;
    phone.dateTimeOriginal = "2008:02:28 06:00:50";  // at -04:00: 10:00:50 UTC, nearer the second point
    test::WriteBytes(photos_ / "phone.jpg", phone.Build());
    int status = 0;
    test::RunCommand("exiftool -q -overwrite_original -OffsetTimeOriginal=-04:00 -OffsetTime=+09:00 " +
                         test::Quote(photos_ / "phone.jpg") + " 2>&1",
                     &status);
    ASSERT_EQ(status, 0);
  }
  PhotoConversionSettings Settings() const {
    PhotoConversionSettings s;
    s.trlPath = trl_;
    s.photoDir = photos_;
    s.photoZone = ZoneClock::Fixed(480);  // the chosen zone, wrong for this photo
    return s;
  }
  test::TempDir dir_{"own-zone"};
  std::filesystem::path trl_ = dir_.path / "t.trl";
  std::filesystem::path photos_ = dir_.path / "photos";
};

TEST_F(PhotoOwnZone, TheMetadataHasTheOffsetsBesideTheDate) {
  const PhotoMetadata m = ReadPhotoMetadata(photos_ / "phone.jpg");
  ASSERT_TRUE(m.dateTimeOriginal);
  EXPECT_EQ(*m.dateTimeOriginal, "2008:02:28 06:00:50");
  EXPECT_EQ(m.offsetTimeOriginal, "-04:00");
  EXPECT_EQ(m.offsetTime, "+09:00");
  const PhotoUtc own = ResolveCaptureTime(m, ZoneClock::Fixed(480), false);
  EXPECT_EQ(own.utc, kTen + 50);
  EXPECT_EQ(own.source, OffsetSource::PhotoOffsetTimeOriginal);
}

TEST_F(PhotoOwnZone, MatchedInItsOwnZoneWhileTheChosenOneIsPlusEight) {
  StringTable words;
  PhotoConversion conversion(words);
  StringSink kml;
  Lines talk;
  const PhotoConversionResult r = conversion.Run(Settings(), kml, &talk);
  EXPECT_EQ(r.match.combined, 1);
  ASSERT_EQ(conversion.PhotoTimes().size(), 1u);
  const PhotoUtc& when = conversion.PhotoTimes()[0];
  EXPECT_EQ(when.utc, kTen + 50);
  EXPECT_EQ(when.source, OffsetSource::PhotoOffsetTimeOriginal);
  EXPECT_EQ(when.offsetMinutes, -240);
  // Located at the second point (25.5, 121.75), 10 s away, not the first, 50 s away.
  const std::size_t balloon = kml.data.find("phone.jpg");
  ASSERT_NE(balloon, std::string::npos) << kml.data;
  const std::size_t at = kml.data.find("<coordinates>\r\n", balloon);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(kml.data.substr(at + 15, 22), "121.7500000,25.5000000") << kml.data.substr(at, 60);
  const std::string path = (photos_ / "phone.jpg").string();
  EXPECT_NE(std::find(talk.lines.begin(), talk.lines.end(),
                      path + ": taken at UTC-04:00, the time zone stored in the photo (OffsetTimeOriginal)."),
            talk.lines.end());
}

TEST_F(PhotoOwnZone, IgnoredTheChosenZoneAppliesAndNothingMatches) {
  StringTable words;
  PhotoConversion conversion(words);
  StringSink kml;
  PhotoConversionSettings s = Settings();
  s.ignorePhotoZone = true;
  const PhotoConversionResult r = conversion.Run(s, kml, nullptr);
  EXPECT_EQ(r.match.combined, 0);
  EXPECT_EQ(conversion.PhotoTimes()[0].source, OffsetSource::ChosenZone);
  EXPECT_EQ(conversion.PhotoTimes()[0].utc, kTen + 50 - 12 * 3600);
}

// Camera times in the hours Berlin skipped and repeated in 2008: matched as moved forward and
// as the first occurrence, and the report says which.
TEST(PhotoClockChange, SkippedAndRepeatedHoursAreSaidAndMatched) {
  constexpr std::int32_t kSpring = 1206838800;  // 2008-03-30 01:00 UTC
  constexpr std::int32_t kAutumn = 1224982800;  // 2008-10-26 01:00 UTC
  test::TempDir dir("clock-change");
  const std::filesystem::path photos = dir.path / "photos";
  std::filesystem::create_directory(photos);
  test::TinyJpeg spring, autumn;
  spring.dateTimeOriginal = "2008:03:30 02:30:00";  // 03:30 CEST, 01:30 UTC
  autumn.dateTimeOriginal = "2008:10:26 02:30:00";  // the first: 02:30 CEST, 00:30 UTC
  test::WriteBytes(photos / "a_spring.jpg", spring.Build());
  test::WriteBytes(photos / "b_autumn.jpg", autumn.Build());
  test::WriteTrl(dir.path / "t.trl", {TrackRecord::Make(kSpring + 1800, 52.5f, 13.4f, 35),
                                      TrackRecord::Make(kSpring + 1860, 52.6f, 13.5f, 35),
                                      TrackRecord::Make(kAutumn - 1800, 52.7f, 13.6f, 35),
                                      TrackRecord::Make(kAutumn - 1740, 52.8f, 13.7f, 35)});
  PhotoConversionSettings s;
  s.trlPath = dir.path / "t.trl";
  s.photoDir = photos;
  s.photoZone = ZoneClock::Named("Europe/Berlin").value_or(ZoneClock::Fixed(0));
  ASSERT_TRUE(s.photoZone.IsNamed());
  StringTable words;
  PhotoConversion conversion(words);
  StringSink kml;
  Lines talk;
  const PhotoConversionResult r = conversion.Run(s, kml, &talk);
  EXPECT_EQ(r.match.combined, 2);
  ASSERT_EQ(r.report.rows.size(), 2u);
  std::map<std::string, PhotoReportRow> rows;
  for (const PhotoReportRow& row : r.report.rows) rows[row.path.filename().string()] = row;
  EXPECT_EQ(rows["a_spring.jpg"].utc, kSpring + 1800);
  EXPECT_EQ(rows["a_spring.jpg"].localNote, LocalTimeNote::SkippedHourMovedForward);
  EXPECT_EQ(rows["a_spring.jpg"].offsetMinutes, 120);
  EXPECT_EQ(rows["b_autumn.jpg"].utc, kAutumn - 1800);
  EXPECT_EQ(rows["b_autumn.jpg"].localNote, LocalTimeNote::RepeatedHourEarlierOffset);
  EXPECT_EQ(rows["a_spring.jpg"].offsetSource, OffsetSource::ChosenZone);
  const std::string a = (photos / "a_spring.jpg").string(), b = (photos / "b_autumn.jpg").string();
  auto said = [&](const std::string& line) {
    return std::find(talk.lines.begin(), talk.lines.end(), line) != talk.lines.end();
  };
  EXPECT_TRUE(said(a + ": its camera time falls in the hour skipped when the clocks went forward; it was moved "
                       "forward past it, to UTC+02:00."));
  EXPECT_TRUE(said(b + ": its camera time occurs twice as the clocks went back; the first, at UTC+02:00, was used."));
}

// A phone's HEIC at -04:00 (2020-05-04 18:39:11 local, 22:39:11 UTC) on a track around that
// time, while the chosen zone is +08:00.
TEST(PhotoOwnZoneHeic, MatchedThroughItsOwnOffset) {
  constexpr std::int32_t kTaken = 1588631951;  // 2020-05-04 22:39:11 UTC
  test::TempDir dir("own-zone-heic");
  const std::filesystem::path photos = dir.path / "photos";
  std::filesystem::create_directory(photos);
  std::filesystem::copy_file(std::filesystem::path(KAVRO_TEST_DATA) / "photos/raw/Apple_iPhone.heic",
                             photos / "Apple_iPhone.heic");
  test::WriteTrl(dir.path / "t.trl", {TrackRecord::Make(kTaken - 30, 40.7f, -74.0f, 10),
                                      TrackRecord::Make(kTaken + 30, 40.8f, -74.1f, 10)});
  PhotoConversionSettings s;
  s.trlPath = dir.path / "t.trl";
  s.photoDir = photos;
  s.photoZone = ZoneClock::Fixed(480);
  s.dryRun = true;  // the test data stays as it is
  StringTable words;
  PhotoConversion conversion(words);
  StringSink kml;
  const PhotoConversionResult r = conversion.Run(s, kml, nullptr);
  EXPECT_EQ(r.match.combined, 1);
  ASSERT_EQ(r.report.rows.size(), 1u);
  EXPECT_EQ(r.report.rows[0].offsetSource, OffsetSource::PhotoOffsetTimeOriginal);
  EXPECT_EQ(r.report.rows[0].offsetMinutes, -240);
  EXPECT_EQ(r.report.rows[0].utc, kTaken);
  EXPECT_TRUE(r.report.rows[0].located);
}

}  // namespace
}  // namespace kavro
