// kavro geotag and the photo's own time: a photo that stores its zone, the zone chosen on the
// command line, and the camera clock set from a photo of a clock.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>

#include "support/KavroRun.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

// A Canon JPEG of the test data taken 2010-12-12 12:41:35 on its camera clock, given the offset
// -04:00 by exiftool: 16:41:35 UTC. The track has a point 10 s before that, and one 12 h earlier
// (where the chosen +08:00 would put the photo), each with a position of its own.
class OwnZoneScene : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
    fs::create_directory(photos_);
    fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos/Canon_EOS_7D.jpg", photos_ / "canon.jpg");
    int status = 0;
    test::RunCommand("exiftool -q -overwrite_original -OffsetTimeOriginal=-04:00 " + test::Quote(photos_ / "canon.jpg") +
                         " 2>&1",
                     &status);
    ASSERT_EQ(status, 0);
    const std::int32_t own = test::Utc(2010, 12, 12, 16, 41, 25);
    const std::int32_t chosen = test::Utc(2010, 12, 12, 4, 41, 35);
    test::WriteTrl(trl_, {TrackRecord::Make(chosen, 22.25f, 114.125f, 5), TrackRecord::Make(chosen + 30, 22.5f, 114.25f, 5),
                          TrackRecord::Make(own, 40.75f, -74.0f, 10), TrackRecord::Make(own + 30, 40.5f, -74.25f, 10)});
  }
  test::CliRun Geotag(const std::string& extra) const {
    return test::Kavro("geotag " + test::Quote(trl_) + " " + test::Quote(photos_) + " --kml " + test::Quote(kml_) +
                       " --zone +08:00 --json " + extra);
  }
  static QJsonObject Row(const test::CliRun& r) {
    const QJsonObject top = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    return top["photos"].toArray().at(0).toObject();
  }
  test::TempDir dir_{"own-zone-cli"};
  fs::path trl_ = dir_.path / "t.trl";
  fs::path photos_ = dir_.path / "photos";
  fs::path kml_ = dir_.path / "out.kml";
};

TEST_F(OwnZoneScene, ThePhotosOwnOffsetWinsOverTheChosenZone) {
  const test::CliRun r = Geotag("");
  ASSERT_EQ(r.status, 0) << r.err;
  const QJsonObject row = Row(r);
  EXPECT_EQ(row["utc"].toString(), QStringLiteral("2010-12-12T16:41:35Z")) << r.out;
  EXPECT_EQ(row["offsetSource"].toString(), QStringLiteral("OffsetTimeOriginal"));
  EXPECT_EQ(row["offsetMinutes"].toInt(), -240);
  EXPECT_TRUE(row["localTimeNote"].isNull());
  EXPECT_DOUBLE_EQ(row["lat"].toDouble(), 40.75);
  EXPECT_EQ(row["secondsToNearest"].toInt(), 10);
  // The result lines go to stderr with --json; the photo's own offset is named there.
  const std::string photo = (photos_ / "canon.jpg").string();
  EXPECT_TRUE(test::Has(r.err, photo + ": taken at UTC-04:00, the time zone stored in the photo (OffsetTimeOriginal).\n"))
      << r.err;
}

TEST_F(OwnZoneScene, IgnoredTheChosenZoneMatchesThePhotoElsewhere) {
  const test::CliRun r = Geotag("--ignore-photo-zone");
  ASSERT_EQ(r.status, 0) << r.err;
  const QJsonObject row = Row(r);
  EXPECT_EQ(row["utc"].toString(), QStringLiteral("2010-12-12T04:41:35Z")) << r.out;
  EXPECT_EQ(row["offsetSource"].toString(), QStringLiteral("zone"));
  EXPECT_EQ(row["offsetMinutes"].toInt(), 480);
  EXPECT_DOUBLE_EQ(row["lat"].toDouble(), 22.25);
  EXPECT_FALSE(test::Has(r.err, "the time zone stored in the photo")) << r.err;
}

TEST_F(OwnZoneScene, TheTableNamesTheSourceOfTheOffset) {
  const test::CliRun r = test::Kavro("geotag " + test::Quote(trl_) + " " + test::Quote(photos_) + " --kml " +
                                     test::Quote(kml_) + " --zone +08:00 --report");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(test::Has(r.out, "Offset\n")) << r.out;
  EXPECT_TRUE(test::Has(r.out, "-04:00 from the photo (OffsetTimeOriginal)\n")) << r.out;
}

// Photos of a clock showing UTC set the camera clock. The camera runs at +08:00, an hour and
// 20 s fast at 11:00:20 UTC by its own clock, and loses 4 s more in the next four hours.
class SyncScene : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(photos_);
    Jpeg(clocks_ / "first.jpg", "2008:02:28 19:00:20");   // shows 10:00:00
    Jpeg(clocks_ / "second.jpg", "2008:02:28 23:00:20");  // shows 14:00:04
    Jpeg(clocks_ / "soon.jpg", "2008:02:28 19:10:20");
    Jpeg(photos_ / "between.jpg", "2008:02:28 21:00:20");  // 13:00:20 by the camera: 12:00:02
    Jpeg(photos_ / "beyond.jpg", "2008:02:29 01:00:20");   // 17:00:20 by the camera: 16:00:06
    const std::int32_t noon = test::Utc(2008, 2, 28, 12, 0, 0), four = test::Utc(2008, 2, 28, 16, 0, 0);
    test::WriteTrl(trl_, {TrackRecord::Make(noon, 25.0f, 121.0f, 1), TrackRecord::Make(noon + 30, 25.5f, 121.5f, 1),
                          TrackRecord::Make(four, 26.0f, 122.0f, 1), TrackRecord::Make(four + 30, 26.5f, 122.5f, 1)});
  }
  static void Jpeg(const fs::path& path, const std::string& taken) {
    fs::create_directories(path.parent_path());
    test::TinyJpeg j;
    j.dateTimeOriginal = taken;
    test::WriteBytes(path, j.Build());
  }
  test::CliRun Geotag(const std::string& extra) const {
    return test::Kavro("geotag " + test::Quote(trl_) + " " + test::Quote(photos_) + " --kml " + test::Quote(kml_) +
                       " --zone +08:00 " + extra);
  }
  std::string Sync(const std::string& name, const std::string& reading) const {
    return "--sync " + test::Quote((clocks_ / name).string() + "=" + reading) + " ";
  }
  static std::map<std::string, QJsonObject> Rows(const std::string& json) {
    std::map<std::string, QJsonObject> rows;
    for (const QJsonValue v : QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()["photos"].toArray())
      rows[fs::path(v.toObject()["path"].toString().toStdString()).filename().string()] = v.toObject();
    return rows;
  }
  test::TempDir dir_{"sync-cli"};
  fs::path trl_ = dir_.path / "t.trl";
  fs::path photos_ = dir_.path / "photos";
  fs::path clocks_ = dir_.path / "clocks";
  fs::path kml_ = dir_.path / "out.kml";
};

TEST_F(SyncScene, OnePhotoOfAClockSetsTheOffset) {
  const test::CliRun r = Geotag(Sync("first.jpg", "10:00:00") + "--json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(test::Has(r.err, "Camera clock correction from " + (clocks_ / "first.jpg").string() +
                                   ": 0:-1:0:-20 (days:hours:minutes:seconds), -3620 s\n"))
      << r.err;
  EXPECT_FALSE(test::Has(r.err, "drift")) << r.err;
  auto rows = Rows(r.out);
  EXPECT_EQ(rows["between.jpg"]["utc"].toString(), QStringLiteral("2008-02-28T12:00:00Z")) << r.out;
  EXPECT_EQ(rows["between.jpg"]["match"].toString(), QStringLiteral("exact"));
  EXPECT_EQ(rows["beyond.jpg"]["utc"].toString(), QStringLiteral("2008-02-28T16:00:00Z"));

  // A clock just before midnight, the camera just after: the nearest reading is 20 s back, not a day on.
  Jpeg(clocks_ / "midnight.jpg", "2008:02:28 08:00:10");
  const test::CliRun m = Geotag(Sync("midnight.jpg", "23:59:50"));
  ASSERT_EQ(m.status, 0) << m.err;
  EXPECT_TRUE(test::Has(m.out, ": 0:0:0:-20 (days:hours:minutes:seconds), -20 s\n")) << m.out;
}

TEST_F(SyncScene, TwoPhotosFarApartCorrectTheDriftBetweenAndBeyond) {
  const test::CliRun r = Geotag(Sync("first.jpg", "10:00:00") + Sync("second.jpg", "14:00:04") + "--json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(test::Has(r.err, "Camera clock drift from " + (clocks_ / "first.jpg").string() + " to " +
                                   (clocks_ / "second.jpg").string() + ": +24.0 s a day\n"))
      << r.err;
  auto rows = Rows(r.out);
  EXPECT_EQ(rows["between.jpg"]["utc"].toString(), QStringLiteral("2008-02-28T12:00:02Z")) << r.out;
  EXPECT_EQ(rows["beyond.jpg"]["utc"].toString(), QStringLiteral("2008-02-28T16:00:06Z"));
  EXPECT_DOUBLE_EQ(rows["beyond.jpg"]["lat"].toDouble(), 26.0);
}

TEST_F(SyncScene, WhatCannotSetTheClockIsRefusedWithStatusTwo) {
  test::TinyJpeg undated;
  undated.dateTimeOriginal.reset();
  test::WriteBytes(clocks_ / "undated.jpg", undated.Build());
  const std::string first = (clocks_ / "first.jpg").string();
  const struct {
    std::string args, message;
  } cases[] = {
      {Sync("first.jpg", "25:00:00"), "\"25:00:00\" is not a clock reading"},
      {Sync("first.jpg", "10:00:-1"), "\"10:00:-1\" is not a clock reading"},
      {"--sync " + test::Quote(first), "--sync takes PHOTO=HH:MM:SS"},
      {Sync("missing.jpg", "10:00:00"), "The photo of the clock " + (clocks_ / "missing.jpg").string() + " does not exist."},
      {Sync("undated.jpg", "10:00:00"), (clocks_ / "undated.jpg").string() + " has no capture time"},
      {Sync("first.jpg", "10:00:00") + Sync("soon.jpg", "10:10:00"), "were taken 600 seconds apart"},
      {Sync("first.jpg", "10:00:00") + Sync("first.jpg", "10:00:00"), "were taken 0 seconds apart"},
      {Sync("first.jpg", "10:00:00") + Sync("second.jpg", "16:00:00"), "a camera clock drift of +43200.0 seconds a day, more than 864:"},
      {Sync("first.jpg", "1:00:00") + Sync("second.jpg", "2:00:00") + Sync("soon.jpg", "3:00:00"),
       "Give one photo of a clock, or two"},
      {Sync("first.jpg", "10:00:00") + "--calibrate 0:1:0:0", "--sync and --calibrate both set the camera clock"},
  };
  for (const auto& c : cases) {
    const test::CliRun r = Geotag(c.args);
    EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
    EXPECT_TRUE(test::Has(r.err, c.message)) << c.args << "\n" << r.err;
    EXPECT_FALSE(fs::exists(kml_)) << c.args;
  }
}

}  // namespace
}  // namespace kavro
