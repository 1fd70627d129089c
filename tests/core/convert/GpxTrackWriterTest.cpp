// The GPX 1.1 track: one track of one segment, points with elevation and UTC time, valid against
// the GPX 1.1 schema and read back by gpsbabel as a track with its times.
#include <gtest/gtest.h>

#include <sstream>

#include "convert/GpxTrackWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

class GpxTrackWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("gpx-track"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Convert(const std::vector<TrackRecord>& records) {
    WriteTrl(dir_ / "t.trl", records);
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(dir_ / "t.trl"));
    StringSink sink;
    EXPECT_TRUE(WriteGpx11Track(reader, sink));
    TrackRecord first;
    EXPECT_EQ(reader.Next(first), !records.empty()) << "the source is left rewound";
    return sink.data;
  }
  std::filesystem::path Saved(const std::string& text) {
    const auto path = dir_ / "t_track.gpx";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
  }
  std::filesystem::path dir_;
};

const std::vector<std::string> kHead = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<gpx",
    "version=\"1.1\"",
    "creator=\"Kavro Utility\"",
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"",
    "xmlns=\"http://www.topografix.com/GPX/1/1\"",
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">",
    "<trk>",
    "<trkseg>",
};

TEST_F(GpxTrackWriterTest, EmptyFileGivesAnEmptySegment) {
  auto expected = kHead;
  for (const char* l : {"</trkseg>", "</trk>", "</gpx>"}) expected.push_back(l);
  EXPECT_EQ(SplitCrLf(Convert({})), expected);
}

TEST_F(GpxTrackWriterTest, ValidPointsInOrderWithElevationThenUtcTime) {
  TrackRecord bad = TrackRecord::Make(1205544613, 1.0f, 2.0f, 3.0f);
  bad.bytes[15] ^= 1;
  const TrackRecord first = TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f);
  const TrackRecord late = TrackRecord::Make(1230766200, -0.5f, -0.25f, -7.25f);  // 2008-12-31 23:30:00 UTC
  auto expected = kHead;
  for (const char* l : {"<trkpt lat=\"25.033001\" lon=\"121.565430\">", "<ele>12.50</ele>",
                        "<time>2008-03-15T01:30:12Z</time>", "</trkpt>",
                        "<trkpt lat=\"-0.500000\" lon=\"-0.250000\">", "<ele>-7.25</ele>",
                        "<time>2008-12-31T23:30:00Z</time>", "</trkpt>", "</trkseg>", "</trk>", "</gpx>"})
    expected.push_back(l);
  EXPECT_EQ(SplitCrLf(Convert({first, bad, late})), expected);
}

TEST_F(GpxTrackWriterTest, ValidatesAgainstTheGpx11SchemaEvenEmpty) {
  if (!ToolInstalled("xmllint")) GTEST_SKIP() << "xmllint is not installed";
  std::vector<TrackRecord> records;
  for (int i = 0; i < 50; ++i)
    records.push_back(TrackRecord::Make(1205544612 + i * 5, -33.9f + 0.001f * static_cast<float>(i),
                                        -70.6f - 0.002f * static_cast<float>(i), 520.0f - static_cast<float>(i)));
  for (const auto& track : {records, std::vector<TrackRecord>{}}) {
    std::string out;
    const int status = RunCommand("xmllint --noout --nonet --schema " KAVRO_TEST_DATA "/gpx11.xsd " +
                                      Saved(Convert(track)).string() + " 2>&1",
                                  &out);
    EXPECT_EQ(status, 0) << out;
  }
  // The same check turns down a point whose time comes before its elevation.
  std::string swapped = Convert(records);
  const std::string ele = "<ele>520.00</ele>\r\n";
  const auto at = swapped.find(ele);
  ASSERT_NE(at, std::string::npos);
  swapped.erase(at, ele.size());
  swapped.insert(swapped.find("</trkpt>"), ele);
  EXPECT_NE(RunCommand("xmllint --noout --nonet --schema " KAVRO_TEST_DATA "/gpx11.xsd " + Saved(swapped).string() +
                       " >/dev/null 2>&1"),
            0);
}

TEST_F(GpxTrackWriterTest, GpsbabelReadsOneTrackWithItsTimesAndHeights) {
  if (!ToolInstalled("gpsbabel")) GTEST_SKIP() << "gpsbabel is not installed";
  const std::vector<TrackRecord> records = {TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f),
                                            TrackRecord::Make(1205544672, 25.5f, 121.75f, 20.0f),
                                            TrackRecord::Make(1230766200, -0.5f, -0.25f, -7.5f)};
  const auto gpx = Saved(Convert(records));
  std::string out;
  ASSERT_EQ(RunCommand("gpsbabel -t -i gpx -f " + gpx.string() + " -o unicsv,utc=0 -F - 2>&1", &out), 0) << out;
  std::istringstream lines(out);
  std::vector<std::string> rows;
  for (std::string l; std::getline(lines, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    rows.push_back(l);
  }
  ASSERT_EQ(rows.size(), 4u) << out;
  EXPECT_EQ(rows[0], "No,Latitude,Longitude,Altitude,Date,Time");
  EXPECT_EQ(rows[1], "1,25.033001,121.565430,12.5,2008/03/15,01:30:12");
  EXPECT_EQ(rows[2], "2,25.500000,121.750000,20.0,2008/03/15,01:31:12");
  EXPECT_EQ(rows[3], "3,-0.500000,-0.250000,-7.5,2008/12/31,23:30:00");
  // Read as waypoints or a route, the file holds nothing: the points are only a track.
  ASSERT_EQ(RunCommand("gpsbabel -i gpx -f " + gpx.string() + " -o unicsv -F - 2>&1", &out), 0) << out;
  EXPECT_EQ(out.find("25.033001"), std::string::npos) << out;
}

}  // namespace
}  // namespace kavro
