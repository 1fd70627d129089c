// kavro map, end to end: the real program writes a real PNG, read back by `file` and Qt.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "support/KavroRun.h"
#include "support/PhotoTestSupport.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

struct MapScene {
  fs::path dir = TempDir("cli-map");
  fs::path trl = dir / "walk.trl";
  fs::path png = dir / "walk.png";
  MapScene() {
    std::vector<TrackRecord> records;
    for (int i = 0; i < 200; ++i)
      records.push_back(TrackRecord::Make(1205573412 + i * 5, 47.37f + static_cast<float>(i) * 0.0001f,
                                          8.54f + static_cast<float>(i) * 0.0002f,
                                          400.0f + static_cast<float>(i % 40)));
    WriteTrl(trl, records);
  }
};

TEST(MapCli, WritesThePictureAtTheAskedSize) {
  MapScene s;
  const test::CliRun run = test::Kavro("map " + Q(s.trl) + " --png " + Q(s.png) + " --size 640x480 --no-tiles");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Create File OK"), std::string::npos);
  const QImage image(QString::fromStdString(s.png.string()));
  ASSERT_EQ(image.size(), QSize(640, 480));
  // Some pixels of the track in red.
  int red = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const QRgb c = image.pixel(x, y);
      red += qRed(c) > 190 && qGreen(c) < 60 && qBlue(c) < 60;
    }
  EXPECT_GT(red, 200);
  if (ToolInstalled("file")) {
    std::string out;
    ASSERT_EQ(RunCommand("file -b " + Q(s.png), &out), 0);
    EXPECT_NE(out.find("PNG image data, 640 x 480"), std::string::npos) << out;
  }
}

TEST(MapCli, DefaultSizeAndTheProfileStripBelow) {
  MapScene s;
  test::CliRun run = test::Kavro("map " + Q(s.trl) + " --png " + Q(s.png) + " --no-tiles");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(QImage(QString::fromStdString(s.png.string())).size(), QSize(1200, 800));
  run = test::Kavro("map " + Q(s.trl) + " --png " + Q(s.png) + " --size 800x600 --profile --no-tiles");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(QImage(QString::fromStdString(s.png.string())).size(), QSize(800, 760));
}

TEST(MapCli, BadInputWritesNothingAndSaysWhy) {
  MapScene s;
  // A bad size is a usage error.
  test::CliRun run = test::Kavro("map " + Q(s.trl) + " --png " + Q(s.png) + " --size 12x8000 --no-tiles");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--size"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(s.png));
  // A file that is not there: status 1, its name and reason, no picture.
  run = test::Kavro("map " + Q(s.trl) + " " + Q(s.dir / "gone.trl") + " --png " + Q(s.png) + " --no-tiles");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("gone.trl"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(s.png));
  // An empty track log: nothing to draw; an earlier picture of that name stays as it was.
  WriteTrl(s.dir / "empty.trl", {});
  {
    std::FILE* f = std::fopen(s.png.c_str(), "wb");
    std::fputs("earlier", f);
    std::fclose(f);
  }
  run = test::Kavro("map " + Q(s.dir / "empty.trl") + " --png " + Q(s.png) + " --no-tiles");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Nothing to draw"), std::string::npos) << run.err;
  EXPECT_EQ(ReadAll(s.png), "earlier");
  // A folder that cannot take the picture: the reason, and nothing left behind.
  run = test::Kavro("map " + Q(s.trl) + " --png " + Q(s.dir / "no" / "such.png") + " --no-tiles");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("such.png"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(s.dir / "no"));
}

TEST(MapCli, PhotosAreMatchedAsGeotagMatchesThemAndNothingIsWritten) {
  const fs::path dir = TempDir("cli-map-photos");
  const fs::path trl = dir / "t.trl", photos = dir / "photos", png = dir / "out.png";
  fs::create_directory(photos);
  const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
  WriteTrl(trl, {TrackRecord::Make(t10, -33.8568f, 151.2153f, 12), TrackRecord::Make(t10 + 60, -33.85f, 151.21f, 13),
                 TrackRecord::Make(t10 + 120, -33.84f, 151.2f, 14)});
  test::TinyJpeg a, b, c;
  a.dateTimeOriginal = "2008:02:28 19:00:20";  // camera 1 h fast, +08:00
  b.dateTimeOriginal = "2008:02:28 19:01:50";
  c.dateTimeOriginal = "2008:02:28 20:00:00";
  test::WriteBytes(photos / "a.jpg", a.Build());
  test::WriteBytes(photos / "b.jpg", b.Build());
  test::WriteBytes(photos / "c.jpg", c.Build());
  test::WriteBytes(photos / "d.jpg", {});
  const std::string base = "map " + Q(trl) + " --png " + Q(png) + " --no-tiles --photos " + Q(photos) + " --zone +08:00";
  // With the clock correction two are located, as kavro geotag locates them.
  test::CliRun run = test::Kavro(base + " --calibrate 0:-1:0:0");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Photos on the map: 2 of 4"), std::string::npos) << run.out;
  const test::CliRun geotag = test::Kavro("geotag " + Q(trl) + " " + Q(photos) + " --kml " + Q(dir / "g.kml") +
                                          " --zone +08:00 --calibrate 0:-1:0:0");
  EXPECT_NE(geotag.out.find("Photo Combined: Pass:2"), std::string::npos) << geotag.out;
  // Without it, none; the picture is drawn all the same.
  run = test::Kavro(base);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Photos on the map: 0 of 4"), std::string::npos) << run.out;
  // The photo folder is as it was: no copies, no sidecars.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(photos)) ++files;
  EXPECT_EQ(files, 4u);
  // The same option checks as geotag, and a folder that is not there said in words.
  run = test::Kavro(base + " --calibrate 99:0:0:0");
  EXPECT_EQ(run.status, 2);
  run = test::Kavro("map " + Q(trl) + " --png " + Q(png) + " --no-tiles --photos " + Q(dir / "none"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("No such folder"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace kavro
