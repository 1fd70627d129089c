#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/StringTable.h"
#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoReportText.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::TinyJpeg;
using test::Utc;

const std::int32_t T10 = Utc(2008, 2, 28, 10, 0, 0);
const std::int32_t NefUtc = Utc(2010, 3, 1, 13, 50, 21);  // 21:50:21 at +08:00

class Quiet : public PhotoConversionListener {
 public:
  void OnLine(const std::string& line) override { lines.push_back(line); }
  void OnSummary(const std::string& s) override { summary = s; }
  void OnProblem(const std::string& m) override { problems.push_back(m); }
  void OnProgress(std::size_t done, std::size_t total) override {
    EXPECT_LE(done, total);
    EXPECT_GE(done, lastDone);
    lastDone = done;
    lastTotal = total;
  }
  std::vector<std::string> lines, problems;
  std::string summary;
  std::size_t lastDone = 0, lastTotal = 0;
};

// One photo for each kind of match, a RAW file, a cut RAW file and two JPEGs that cannot be read.
struct Mixed {
  test::TempDir dir{"report"};
  fs::path trl = dir.path / "t.trl";
  fs::path photos = dir.path / "photos";
  Mixed() {
    fs::create_directories(photos);
    test::WriteTrl(trl, {TrackRecord::Make(T10, 25.0f, 121.0f, 10), TrackRecord::Make(T10 + 60, 26.0f, 122.0f, 70),
                         TrackRecord::Make(T10 + 120, 26.5f, 122.5f, 100), TrackRecord::Make(T10 + 600, 27.0f, 123.0f, 0),
                         TrackRecord::Make(NefUtc - 10, -10.0f, 20.0f, 5), TrackRecord::Make(NefUtc + 10, -12.0f, 22.0f, 15)});
    auto jpeg = [&](const char* name, const char* make, std::optional<std::string> date) {
      TinyJpeg j;
      j.make = make;
      j.dateTimeOriginal = std::move(date);
      test::WriteBytes(photos / name, j.Build());
    };
    jpeg("a_exact.jpg", "Canon", "2008:02:28 18:01:00");
    jpeg("b_between.jpg", "FUJIFILM", "2008:02:28 18:00:15");
    jpeg("c_gap.jpg", "NIKON", "2008:02:28 18:05:00");
    jpeg("d_after.jpg", "SONY", "2011:01:01 00:00:00");
    jpeg("e_nodate.jpg", "Canon", std::nullopt);
    test::WriteBytes(photos / "f_broken.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0, 4, 1, 1});
    fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos" / "raw" / "Nikon_D70s.nef", photos / "g_raw.nef");
    const auto nef = test::ReadBytes(photos / "g_raw.nef");
    test::WriteBytes(photos / "h_cut.nef", std::vector<std::uint8_t>(nef.begin(), nef.begin() + 300));
  }
  PhotoConversionSettings Settings() const {
    PhotoConversionSettings s;
    s.trlPath = trl;
    s.photoDir = photos;
    s.photoZone = ZoneClock::Fixed(480);
    s.writeGps = true;
    return s;
  }
};

const PhotoReportRow& Row(const PhotoReport& report, const std::string& name) {
  for (const PhotoReportRow& r : report.rows)
    if (r.path.filename() == name) return r;
  static const PhotoReportRow none;
  ADD_FAILURE() << "no row for " << name;
  return none;
}

TEST(PhotoReport, EveryFileGetsARowWithItsMatchPositionAndWhatWasWritten) {
  Mixed f;
  StringTable words;
  PhotoConversion conversion(words);
  Quiet out;
  std::string error;
  const PhotoConversionResult r = conversion.RunToFile(f.Settings(), f.dir.path / "out.kml", &out, error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(r.report.rows.size(), 8u);
  EXPECT_EQ(out.lastDone, out.lastTotal);

  const PhotoReportRow& a = Row(r.report, "a_exact.jpg");
  EXPECT_EQ(a.captureText, "2008:02:28 18:01:00");
  EXPECT_EQ(a.utc, T10 + 60);
  EXPECT_EQ(a.offsetMinutes, 480);
  EXPECT_EQ(a.match, PhotoMatchKind::Exact);
  EXPECT_EQ(a.secondsToNearest, 0);
  EXPECT_TRUE(a.located);
  EXPECT_FLOAT_EQ(static_cast<float>(a.lat), 26.0f);
  EXPECT_EQ(a.written, PhotoWriteKind::Copy);
  EXPECT_TRUE(fs::exists(a.writtenPath));

  const PhotoReportRow& b = Row(r.report, "b_between.jpg");
  EXPECT_EQ(b.match, PhotoMatchKind::Nearest);
  EXPECT_EQ(b.secondsToNearest, 15);
  EXPECT_FLOAT_EQ(static_cast<float>(b.lat), 25.0f);
  EXPECT_EQ(b.written, PhotoWriteKind::Copy);  // another make, a copy all the same

  const PhotoReportRow& c = Row(r.report, "c_gap.jpg");
  EXPECT_EQ(c.match, PhotoMatchKind::TooFar);
  EXPECT_EQ(c.secondsToNearest, 180);
  EXPECT_FALSE(c.located);
  EXPECT_EQ(c.written, PhotoWriteKind::Nothing);
  EXPECT_EQ(c.reasonId, txt::ReportNoPosition);

  const PhotoReportRow& d = Row(r.report, "d_after.jpg");
  EXPECT_EQ(d.match, PhotoMatchKind::OutsideTrack);
  EXPECT_EQ(d.secondsToNearest, Utc(2010, 12, 31, 16, 0, 0) - (NefUtc + 10));

  EXPECT_EQ(Row(r.report, "e_nodate.jpg").match, PhotoMatchKind::NoCaptureTime);
  EXPECT_EQ(Row(r.report, "e_nodate.jpg").reasonId, txt::NoPhotoDate);
  EXPECT_EQ(Row(r.report, "f_broken.jpg").match, PhotoMatchKind::Unreadable);
  EXPECT_EQ(Row(r.report, "f_broken.jpg").reasonId, txt::NotExifFormat);

  const PhotoReportRow& g = Row(r.report, "g_raw.nef");
  EXPECT_EQ(g.captureText, "2010:03:01 21:50:21");
  EXPECT_EQ(g.match, PhotoMatchKind::Nearest);
  EXPECT_EQ(g.written, PhotoWriteKind::Sidecar);
  EXPECT_EQ(g.writtenPath, f.photos / "g_raw.xmp");
  EXPECT_TRUE(fs::exists(f.photos / "g_raw.xmp"));
  const PhotoReportRow& h = Row(r.report, "h_cut.nef");
  EXPECT_NE(h.match, PhotoMatchKind::Nearest);
  EXPECT_FALSE(h.located);
  EXPECT_FALSE(PhotoReportText(words).ReasonText(h).empty());

  // The RAW file sits in the KML's balloons like every located photo.
  const auto kml = test::ReadBytes(f.dir.path / "out.kml");
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(kml.data()), static_cast<qsizetype>(kml.size() / 2));
  EXPECT_TRUE(text.contains(QStringLiteral("g_raw.nef")));
  EXPECT_FALSE(text.contains(QStringLiteral("c_gap.jpg")));

  // The table has the header and a line a file; JSON carries the fixed keys.
  const std::string table = PhotoReportText(words).Table(r.report);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 9);
  EXPECT_NE(table.find("too far from the track"), std::string::npos);
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(PhotoReportText::Json(r.report))).object();
  ASSERT_EQ(json["photos"].toArray().size(), 8);
  EXPECT_FALSE(json["dryRun"].toBool());
  const QJsonObject first = json["photos"].toArray()[0].toObject();
  EXPECT_EQ(first["match"].toString(), QStringLiteral("exact"));
  EXPECT_EQ(first["written"].toString(), QStringLiteral("copy"));
  EXPECT_EQ(first["utc"].toString(), QStringLiteral("2008-02-28T10:01:00Z"));
}

TEST(PhotoReport, InterpolationPlacesThePhotoBetweenItsTwoPointsWithinTheGap) {
  Mixed f;
  StringTable words;
  PhotoConversion conversion(words);
  PhotoConversionSettings s = f.Settings();
  s.match.interpolate = true;
  s.match.maxGapSeconds = 500;  // the 480-second gap now takes photos
  StringSink kml;
  const PhotoConversionResult r = conversion.Run(s, kml, nullptr);
  const PhotoReportRow& b = Row(r.report, "b_between.jpg");
  EXPECT_EQ(b.match, PhotoMatchKind::Interpolated);
  EXPECT_NEAR(b.lat, 25.25, 1e-6);  // a quarter of the way from 25 to 26
  EXPECT_NEAR(b.lon, 121.25, 1e-6);
  EXPECT_NEAR(b.alt, 25, 1e-4);
  const PhotoReportRow& c = Row(r.report, "c_gap.jpg");
  EXPECT_EQ(c.match, PhotoMatchKind::Interpolated);
  EXPECT_NEAR(c.lat, 26.5 + 0.5 * 180 / 480, 1e-6);
  EXPECT_EQ(Row(r.report, "a_exact.jpg").match, PhotoMatchKind::Exact);
  // The copy carries the interpolated position.
  const std::string gps = test::RunCommand("exiftool -n -s3 -GPSLatitude " + test::Quote(b.writtenPath));
  if (test::HaveTool("exiftool")) {
    EXPECT_EQ(gps.substr(0, 5), "25.25");
  }

  // A smaller gap than the points' spacing: nothing between them takes a position.
  s.match.maxGapSeconds = 30;
  const PhotoConversionResult tight = conversion.Run(s, kml, nullptr);
  EXPECT_EQ(Row(tight.report, "b_between.jpg").match, PhotoMatchKind::TooFar);
}

TEST(PhotoReport, DryRunWritesNothingAndSaysWhatItWouldWrite) {
  Mixed f;
  StringTable words;
  PhotoConversion conversion(words);
  PhotoConversionSettings s = f.Settings();
  s.dryRun = true;
  std::string error;
  const fs::path kml = f.dir.path / "out.kml";
  const PhotoConversionResult r = conversion.RunToFile(s, kml, nullptr, error);
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_TRUE(r.report.dryRun);
  EXPECT_FALSE(fs::exists(kml));
  EXPECT_FALSE(fs::exists(f.photos / "GPS"));
  EXPECT_FALSE(fs::exists(f.photos / "g_raw.xmp"));
  EXPECT_EQ(Row(r.report, "a_exact.jpg").written, PhotoWriteKind::Copy);
  EXPECT_EQ(Row(r.report, "g_raw.nef").written, PhotoWriteKind::Sidecar);
  EXPECT_NE(PhotoReportText(words).Table(r.report).find("would write sidecar g_raw.xmp"), std::string::npos);

  // Sidecars for every photo when asked, under NAME.EXT.xmp.
  s.dryRun = false;
  s.sidecars = SidecarMode::Always;
  s.sidecarName = SidecarName::NameExtXmp;
  const PhotoConversionResult all = conversion.RunToFile(s, kml, nullptr, error);
  EXPECT_EQ(Row(all.report, "a_exact.jpg").written, PhotoWriteKind::Sidecar);
  EXPECT_TRUE(fs::exists(f.photos / "a_exact.jpg.xmp"));
  EXPECT_FALSE(fs::exists(f.photos / "GPS"));
}

// A folder of 10,000 photos: every one gets its row, none is lost, and the run goes on past a
// photo that cannot be read.
TEST(PhotoReport, TenThousandFilesEachGetTheirRow) {
  test::TempDir dir("ten-thousand");
  const fs::path photos = dir.path / "photos";
  fs::create_directories(photos);
  test::WriteTrl(dir.path / "t.trl", {TrackRecord::Make(T10, 25.0f, 121.0f, 10), TrackRecord::Make(T10 + 60, 26.0f, 122.0f, 70)});
  TinyJpeg j;
  j.dateTimeOriginal = "2008:02:28 18:00:30";
  test::WriteBytes(dir.path / "one.jpg", j.Build());
  for (int i = 0; i < 10000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%05d.jpg", i);
    fs::create_hard_link(dir.path / "one.jpg", photos / name);
  }
  test::WriteBytes(photos / "p05000x.jpg", {0xFF, 0xD8});
  StringTable words;
  PhotoConversion conversion(words);
  PhotoConversionSettings s;
  s.trlPath = dir.path / "t.trl";
  s.photoDir = photos;
  s.photoZone = ZoneClock::Fixed(480);
  s.dryRun = true;
  s.writeGps = true;
  std::string error;
  const PhotoConversionResult r = conversion.RunToFile(s, dir.path / "out.kml", nullptr, error);
  ASSERT_EQ(r.report.rows.size(), 10001u);
  EXPECT_EQ(r.match.combined, 10000);
  EXPECT_EQ(Row(r.report, "p05000x.jpg").match, PhotoMatchKind::Unreadable);
  EXPECT_EQ(Row(r.report, "p09999.jpg").written, PhotoWriteKind::Copy);
}

}  // namespace
}  // namespace kavro
