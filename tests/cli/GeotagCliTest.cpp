// kavro geotag, end to end: the real program over real files.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::TinyJpeg;

struct GeotagRun {
  int status = -1;
  std::string out;
  std::string err;
};

GeotagRun Geotag(const std::string& args) {
  const test::TempDir errDir("cli-err");
  const fs::path errFile = errDir.path / "err.txt";
  GeotagRun r;
  int raw = 0;
  r.out = test::RunCommand(std::string(KAVRO_CLI) + " geotag " + args + " 2>" + test::Quote(errFile), &raw);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  const auto e = test::ReadBytes(errFile);
  r.err.assign(e.begin(), e.end());
  return r;
}

struct Scene {
  test::TempDir dir{"cli"};
  fs::path trl = dir.path / "t.trl";
  fs::path photos = dir.path / "photos";
  fs::path kml = dir.path / "out.kml";
  Scene() {
    fs::create_directory(photos);
    const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
    test::WriteTrl(trl, {TrackRecord::Make(t10, -33.8568f, 151.2153f, 12.345f),
                         TrackRecord::Make(t10 + 60, -33.85f, 151.21f, 13), TrackRecord::Make(t10 + 120, -33.84f, 151.2f, 14)});
    TinyJpeg a, b, c;
    a.dateTimeOriginal = "2008:02:28 19:00:20";  // camera 1 h fast, +08:00
    b.dateTimeOriginal = "2008:02:28 19:01:50";
    b.make = "SONY";
    c.dateTimeOriginal = "2008:02:28 20:00:00";
    test::WriteBytes(photos / "a.jpg", a.Build());
    test::WriteBytes(photos / "b.jpg", b.Build());
    test::WriteBytes(photos / "c.jpg", c.Build());
    test::WriteBytes(photos / "d.jpg", {});
  }
  std::string Args(const std::string& extra) const {
    return test::Quote(trl) + " " + test::Quote(photos) + " --kml " + test::Quote(kml) + " " + extra;
  }
};

TEST(GeotagCli, PrintsTheLinesAndSummaryAndWritesKmlAndCopies) {
  Scene s;
  const GeotagRun r = Geotag(s.Args("--zone +08:00 --calibrate 0:-1:0:0 --write-gps"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string p = s.photos.string() + "/";
  const std::string expected = "Photo Parsed Pass:" + p + "a.jpg\n" + "Photo Parsed Pass:" + p + "b.jpg\n" +
                               "Photo Parsed Pass:" + p + "c.jpg\n" + "Photo Parsed Error:" + p +
                               "d.jpg;Not EXIF format.\n" + "Photo Combined Failed:" + p +
                               "d.jpg;No mapping any track log point.\n" + "Photo CombinedPass:" + p + "a.jpg\n" +
                               "Photo CombinedPass:" + p + "b.jpg\n" + "Photo Combined Failed:" + p +
                               "c.jpg;No mapping any track log point.\n" +
                               "Photo Parsed: Pass:3 Error:1 \nPhoto Combined: Pass:2 Error:2\n"
                               "Geotagged copies written: 2 of 2\n";
  EXPECT_EQ(r.out, expected);
  EXPECT_TRUE(fs::exists(s.kml));
  EXPECT_TRUE(fs::exists(s.photos / "GPS" / "a_GPS.jpg"));
  EXPECT_TRUE(fs::exists(s.photos / "GPS" / "b_GPS.jpg"));
  if (test::HaveTool("exiftool")) {
    const std::string gps = test::RunCommand("exiftool -n -s3 -GPSLatitude -GPSTimeStamp " +
                                             test::Quote(s.photos / "GPS" / "a_GPS.jpg"));
    EXPECT_EQ(gps, "-33.8568\n10:00:00\n");
  }
  if (test::HaveTool("xmllint")) {
    int status = 0;
    test::RunCommand("xmllint --noout " + test::Quote(s.kml) + " 2>&1", &status);
    EXPECT_EQ(status, 0);
  }
  const auto kml = test::ReadBytes(s.kml);
  const std::string wide(kml.begin(), kml.end());
  EXPECT_NE(wide.find(std::string("O\0r\0i\0g\0i\0n\0a\0l\0 \0T\0i\0m\0e\0", 26)), std::string::npos);
}

// The camera's zone forgotten: nothing matches, and the run says why with both time ranges in
// the zone used, and what to try. A run that matches says nothing of the kind.
TEST(GeotagCli, MatchingNothingSaysWhy) {
  Scene s;
  const GeotagRun r = Geotag(s.Args("--zone 0"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "No photo matched the track log: the photos were taken from 2008-02-28 19:00:20 to 2008-02-28 20:00:00, "
            "the track log runs from 2008-02-28 10:00:00 to 2008-02-28 10:02:00 (times at UTC+00:00). Check the time "
            "zone the camera clock was set to, or calibrate the camera time.\n");
  EXPECT_NE(r.out.find("Photo Combined: Pass:0 Error:4"), std::string::npos) << r.out;
  // The same photos with their zone and calibration: matched, and no explanation.
  const GeotagRun good = Geotag(s.Args("--zone +08:00 --calibrate 0:-1:0:0"));
  ASSERT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(good.err.find("No photo matched"), std::string::npos) << good.err;
  // In the zone used: +08:00 shows the track at 18:00, the photos as the camera wrote them.
  const GeotagRun east = Geotag(s.Args("--zone +08:00"));
  EXPECT_NE(east.err.find("from 2008-02-28 19:00:20 to 2008-02-28 20:00:00, the track log runs from 2008-02-28 "
                          "18:00:00 to 2008-02-28 18:02:00 (times at UTC+08:00)"),
            std::string::npos)
      << east.err;
}

TEST(GeotagCli, WithoutWriteGpsNoCopiesAndTheUnsupportedLineNeedsIt) {
  Scene s;
  const GeotagRun r = Geotag(s.Args("--zone 8 --calibrate=0:-1:0:0"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(s.photos / "GPS"));
  EXPECT_EQ(r.out.find("No support"), std::string::npos);
}

// A copy of a matched photo that could not be written fails the run; a camera of another make
// gets its copy like any other.
TEST(GeotagCli, ACopyNotWrittenIsAFailureAnUnsupportedCameraIsNot) {
  Scene s;
  fs::create_directories(s.photos / "GPS" / "a_GPS.jpg");  // the copy cannot take its place
  const GeotagRun r = Geotag(s.Args("--zone +08:00 --calibrate 0:-1:0:0 --write-gps"));
  EXPECT_EQ(r.status, 1);
  const std::string p = s.photos.string() + "/";
  EXPECT_NE(r.out.find("No geotagged copy of " + p + "a.jpg: The copy " + p + "GPS/a_GPS.jpg cannot be written: "),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nGeotagged copies written: 1 of 2\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "Geotagged copies not written: 1\n");
  EXPECT_TRUE(fs::exists(s.photos / "GPS" / "b_GPS.jpg"));
  EXPECT_TRUE(fs::exists(s.kml));

  Scene fuji;
  TinyJpeg f;
  f.dateTimeOriginal = "2008:02:28 19:00:20";
  f.make = "FUJIFILM";
  fs::remove(fuji.photos / "b.jpg");
  test::WriteBytes(fuji.photos / "a.jpg", f.Build());
  const GeotagRun u = Geotag(fuji.Args("--zone +08:00 --calibrate 0:-1:0:0 --write-gps"));
  EXPECT_EQ(u.status, 0) << u.err;
  // Every make gets its copy now: no unsupported-camera line.
  EXPECT_EQ(u.out.find("No support this camera photo EXIF format"), std::string::npos) << u.out;
  EXPECT_NE(u.out.find("\nGeotagged copies written: 1 of 1\n"), std::string::npos) << u.out;
  EXPECT_TRUE(fs::exists(fuji.photos / "GPS" / "a_GPS.jpg"));
}

// A photo renamed to .trl is no track: refused, naming it, with nothing written.
TEST(GeotagCli, AFileThatIsNotATrackLogIsRefused) {
  Scene s;
  fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_EOS_D60.jpg", s.trl, fs::copy_options::overwrite_existing);
  const GeotagRun r = Geotag(s.Args("--zone +08:00 --write-gps"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("The file " + s.trl.string() + " is not a track log file"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(s.kml));
  EXPECT_FALSE(fs::exists(s.photos / "GPS"));
  EXPECT_EQ(std::distance(fs::directory_iterator(s.dir.path), {}), 2);  // the "track" and the photos
}

TEST(GeotagCli, BadArgumentsAndUnreadableInputs) {
  Scene s;
  EXPECT_EQ(Geotag("").status, 2);
  EXPECT_EQ(Geotag(test::Quote(s.trl) + " " + test::Quote(s.photos)).status, 2);  // no --kml
  const GeotagRun zone = Geotag(s.Args("--zone +14:30"));
  EXPECT_EQ(zone.status, 2);
  EXPECT_NE(zone.err.find("+14:30"), std::string::npos);
  const GeotagRun calibration = Geotag(s.Args("--calibrate 31:0:0:0"));
  EXPECT_EQ(calibration.status, 2);
  // The refusal says the limits, not only the form.
  EXPECT_NE(calibration.err.find("with days from -30 to 30, hours from -23 to 23, minutes from -59 to 59 and seconds "
                                 "from -59 to 59."),
            std::string::npos)
      << calibration.err;
  EXPECT_EQ(Geotag(s.Args("--calibrate 1:2:3")).status, 2);

  const GeotagRun missing = Geotag(test::Quote(s.dir.path / "none.trl") + " " + test::Quote(s.photos) + " --kml " +
                             test::Quote(s.kml));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.trl"), std::string::npos);
  EXPECT_FALSE(fs::exists(s.kml));

  const GeotagRun noDir = Geotag(test::Quote(s.trl) + " " + test::Quote(s.dir.path / "nodir") + " --kml " + test::Quote(s.kml));
  EXPECT_EQ(noDir.status, 1);
  EXPECT_EQ(noDir.err, "The photo directory " + (s.dir.path / "nodir").string() + " cannot be read: No such folder\n");
  EXPECT_FALSE(fs::exists(s.kml));
  // A file where the folder should be is not a directory, and says so.
  const GeotagRun file = Geotag(test::Quote(s.trl) + " " + test::Quote(s.trl) + " --kml " + test::Quote(s.kml));
  EXPECT_EQ(file.status, 1);
  EXPECT_NE(file.err.find(std::strerror(ENOTDIR)), std::string::npos) << file.err;
  EXPECT_FALSE(fs::exists(s.kml));

  const GeotagRun badKml = Geotag(test::Quote(s.trl) + " " + test::Quote(s.photos) + " --kml " +
                            test::Quote(s.dir.path / "no" / "out.kml"));
  EXPECT_EQ(badKml.status, 1);
  EXPECT_NE(badKml.err.find("out.kml"), std::string::npos);

  const test::TempDir empty("cli-empty");
  const GeotagRun none = Geotag(test::Quote(s.trl) + " " + test::Quote(empty.path) + " --kml " + test::Quote(s.kml) + " --zone 0");
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "Photo Parsed: Pass:0 Error:0 \nPhoto Combined: Pass:0 Error:0\n");
}

}  // namespace
}  // namespace kavro
