// Our files read back by other programs: gpsbabel for points, xmllint for well-formed XML.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "convert/GpxWriter.h"
#include "convert/KmlWriter.h"
#include "convert/NmeaWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

struct Point {
  double lat;
  double lon;
};

// The points of gpsbabel's unicsv output (columns found by their header names).
std::vector<Point> ParseUnicsv(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::vector<Point> points;
  int latCol = -1, lonCol = -1;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> cols;
    std::stringstream ls(line);
    std::string c;
    while (std::getline(ls, c, ',')) cols.push_back(c);
    if (latCol < 0) {
      for (int i = 0; i < static_cast<int>(cols.size()); ++i) {
        if (cols[static_cast<std::size_t>(i)] == "Latitude") latCol = i;
        if (cols[static_cast<std::size_t>(i)] == "Longitude") lonCol = i;
      }
      continue;
    }
    if (static_cast<int>(cols.size()) <= std::max(latCol, lonCol)) continue;
    points.push_back({std::stod(cols[static_cast<std::size_t>(latCol)]), std::stod(cols[static_cast<std::size_t>(lonCol)])});
  }
  return points;
}

class RealReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ToolInstalled("gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
    dir_ = TempDir("readers");
    // Points in every hemisphere, some with minutes below ten, one bad record in the middle.
    for (int i = 0; i < 120; ++i) {
      const float lat = (i % 2 ? -1.0f : 1.0f) * (0.05f + 0.7391f * static_cast<float>(i));
      const float lon = (i % 3 ? 1.0f : -1.0f) * (0.01f + 1.4973f * static_cast<float>(i));
      records_.push_back(TrackRecord::Make(1205544612 + 7 * i, lat, lon, static_cast<float>(i) - 20.5f));
    }
    TrackRecord bad = TrackRecord::Make(1205544612, 10.0f, 10.0f, 0.0f);
    bad.bytes[15] ^= 0x80;
    records_.insert(records_.begin() + 60, bad);
    WriteTrl(dir_ / "t.trl", records_);
    records_.erase(records_.begin() + 60);
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  template <typename Fn>
  std::filesystem::path Write(const char* name, Fn write) {
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(dir_ / "t.trl"));
    FileSink sink;
    EXPECT_TRUE(sink.Open(dir_ / name));
    EXPECT_TRUE(write(reader, sink));
    EXPECT_TRUE(sink.Close());
    return dir_ / name;
  }

  std::vector<Point> Babel(const std::string& options, const std::filesystem::path& file) {
    std::string out;
    EXPECT_EQ(RunCommand("gpsbabel " + options + " -f " + file.string() + " -o unicsv -F - 2>&1", &out), 0) << out;
    return ParseUnicsv(out);
  }

  void ExpectSamePoints(const std::vector<Point>& got, double tolerance, const char* what) {
    ASSERT_EQ(got.size(), records_.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].lat, static_cast<double>(records_[i].Latitude()), tolerance) << what << " point " << i;
      EXPECT_NEAR(got[i].lon, static_cast<double>(records_[i].Longitude()), tolerance) << what << " point " << i;
    }
  }

  std::filesystem::path dir_;
  std::vector<TrackRecord> records_;
};

TEST_F(RealReaders, GpsbabelReadsOurGpxWaypointsAndRoute) {
  const auto gpx = Write("t.gpx", [](TrackFileReader& r, OutputSink& s) { return WriteGpxTrack(r, s); });
  ExpectSamePoints(Babel("-i gpx", gpx), 1.01e-6, "gpx waypoints");
  ExpectSamePoints(Babel("-r -i gpx", gpx), 1.01e-6, "gpx route");
}

TEST_F(RealReaders, GpsbabelReadsOurKmlPathAndPlacemarks) {
  const auto kml = Write("t.kml", [](TrackFileReader& r, OutputSink& s) {
    return WriteKmlTrack(r, s, ZoneClock::Fixed(8 * 60));
  });
  ExpectSamePoints(Babel("-i kml", kml), 1.01e-6, "kml placemarks");
  ExpectSamePoints(Babel("-t -i kml", kml), 1.01e-6, "kml path");
  if (ToolInstalled("xmllint")) {
    std::string out;
    EXPECT_EQ(RunCommand("xmllint --noout --nonet " + kml.string() + " 2>&1", &out), 0) << out;
  }
}

TEST_F(RealReaders, GpsbabelReadsOurNmeaWithValidChecksums) {
  const auto nmea = Write("tNMEA.txt", [](TrackFileReader& r, OutputSink& s) { return WriteNmeaTrack(r, s); });
  std::string out;
  // gpsbabel names every sentence whose checksum it rejects.
  ASSERT_EQ(RunCommand("gpsbabel -t -i nmea -f " + nmea.string() + " -o unicsv -F /dev/null 2>&1", &out), 0);
  EXPECT_EQ(out.find("checksum"), std::string::npos) << out;
  ExpectSamePoints(Babel("-t -i nmea", nmea), 1.01e-6, "nmea");
}

TEST(KmlXml, EveryKmlIsWellFormedEvenEmpty) {
  if (!ToolInstalled("xmllint")) GTEST_SKIP() << "xmllint is not installed";
  const auto dir = TempDir("kmlxml");
  WriteTrl(dir / "empty.trl", {});
  TrackFileReader reader;
  ASSERT_TRUE(reader.Open(dir / "empty.trl"));
  FileSink sink;
  ASSERT_TRUE(sink.Open(dir / "empty.kml"));
  EXPECT_TRUE(WriteKmlTrack(reader, sink, ZoneClock::Fixed(0)));
  ASSERT_TRUE(sink.Close());
  std::string out;
  EXPECT_EQ(RunCommand("xmllint --noout --nonet " + (dir / "empty.kml").string() + " 2>&1", &out), 0) << out;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kavro
