// Every output format against a reference file kept in tests/data/reference, byte for byte: one
// file per format, and per zone for the formats that show local times. The references were made
// once by this test (KAVRO_WRITE_REFERENCE=1 writes them instead of comparing), read by eye, and
// are held to the third-party readers here too: xmllint with the GPX schemas and gpsbabel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "convert/TrackConversion.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

const fs::path kReference = fs::path(KAVRO_TEST_DATA) / "reference";

// A short trip that touches the formats' corners: both hemispheres, coordinates and heights
// below one and below zero, a damaged record, a year that ends in one zone and not in another.
std::vector<TrackRecord> Trip() {
  std::vector<TrackRecord> r = {
      TrackRecord::Make(1230764400, 25.0330009f, 121.5654297f, 12.5f),    // 2008-12-31 23:00:00 UTC
      TrackRecord::Make(1230764405, 25.0331001f, 121.5660019f, 13.25f),
      TrackRecord::Make(1230764410, 0.0500000f, -0.0100000f, -3.75f),
      TrackRecord::Make(1230764415, -33.8688011f, 151.2092896f, 58.0f),
      TrackRecord::Make(1230766200, -0.5000000f, -0.2500000f, -7.5f),     // 2008-12-31 23:30:00 UTC
      TrackRecord::Make(1230768000, 47.3768997f, 8.5417004f, 408.125f),   // 2009-01-01 00:00:00 UTC
      TrackRecord::Make(1230779100, 64.1466026f, -21.9426003f, 1.0f),     // 2009-01-01 03:05:00 UTC
  };
  TrackRecord damaged = TrackRecord::Make(1230764412, 10.0f, 10.0f, 0.0f);
  damaged.bytes[15] ^= 0x40;
  r.insert(r.begin() + 3, damaged);
  return r;
}

struct Zone {
  const char* folder;  // under reference/
  int eastMinutes;
};
constexpr Zone kZones[] = {{"zone+0800", 8 * 60}, {"zone-0330", -(3 * 60 + 30)}};

bool ShowsLocalTimes(TrackFormat f) { return f == TrackFormat::Text || f == TrackFormat::Kml; }

fs::path ReferenceOf(TrackFormat format, const Zone& zone) {
  const fs::path name = ConvertedFileName("trip.trl", format);
  return ShowsLocalTimes(format) ? kReference / zone.folder / name : kReference / name;
}

class ReferenceFiles : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("reference"); }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ReferenceFiles, EveryFormatInEveryZoneIsItsReferenceByteForByte) {
  const bool write = std::getenv("KAVRO_WRITE_REFERENCE") != nullptr;
  for (const Zone& zone : kZones) {
    SCOPED_TRACE(zone.folder);
    const fs::path trl = dir_ / zone.folder / "trip.trl";
    fs::create_directories(trl.parent_path());
    WriteTrl(trl, Trip());
    ConversionRequest request;
    request.source = trl;
    request.formats.clear();
    for (const OutputFormat& row : OutputFormats()) request.formats.push_back(row.format);
    request.clock = ZoneClock::Fixed(zone.eastMinutes);
    const ConversionResult result = ConvertTrackFile(request);
    ASSERT_TRUE(result.Ok());
    ASSERT_EQ(result.written.size(), OutputFormats().size());
    for (const OutputFormat& row : OutputFormats()) {
      const fs::path got = ConvertedFileName(trl, row.format);
      const fs::path want = ReferenceOf(row.format, zone);
      if (write) {
        fs::create_directories(want.parent_path());
        fs::copy_file(got, want, fs::copy_options::overwrite_existing);
        continue;
      }
      ASSERT_TRUE(fs::exists(want)) << want;
      EXPECT_EQ(ReadAll(got), ReadAll(want)) << row.key << " differs from " << want;
    }
  }
}

// The references themselves are what other programs read: valid GPX of both versions, KML that
// parses, and the same seven points wherever gpsbabel reads them.
TEST(ReferenceFilesRead, ByXmllintAndGpsbabel) {
  if (ToolInstalled("xmllint")) {
    const std::pair<const char*, const char*> schemas[] = {{"trip.gpx", "gpx10.xsd"}, {"trip_track.gpx", "gpx11.xsd"}};
    for (const auto& [file, schema] : schemas) {
      std::string out;
      EXPECT_EQ(RunCommand("xmllint --noout --nonet --schema " KAVRO_TEST_DATA "/" + std::string(schema) + " " +
                               (kReference / file).string() + " 2>&1",
                           &out),
                0)
          << file << out;
    }
    for (const Zone& zone : kZones) {
      std::string out;
      EXPECT_EQ(RunCommand("xmllint --noout --nonet " + (kReference / zone.folder / "trip.kml").string() + " 2>&1", &out), 0)
          << out;
    }
  }
  if (!ToolInstalled("gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  const std::pair<std::string, fs::path> reads[] = {
      {"-i gpx", kReference / "trip.gpx"},          {"-r -i gpx", kReference / "trip.gpx"},
      {"-t -i gpx", kReference / "trip_track.gpx"}, {"-t -i nmea", kReference / "tripNMEA.txt"},
      {"-t -i kml", kReference / "zone+0800" / "trip.kml"}, {"-i kml", kReference / "zone-0330" / "trip.kml"}};
  for (const auto& [options, file] : reads) {
    std::string out;
    ASSERT_EQ(RunCommand("gpsbabel " + options + " -f '" + file.string() + "' -o unicsv -F - 2>&1", &out), 0) << out;
    const std::vector<std::string> lines = SplitCrLf(out);
    EXPECT_EQ(lines.size(), 8u) << options << " " << file << ":\n" << out;  // the header and seven points
    EXPECT_NE(out.find("-33.868801"), std::string::npos) << options << " " << file << ":\n" << out;
  }
}

}  // namespace
}  // namespace kavro
