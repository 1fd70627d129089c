// kavro geotag and the photo's own time: a photo that stores its zone, the zone chosen on the
// command line, and the camera clock set from a photo of a clock.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

}  // namespace
}  // namespace kavro
