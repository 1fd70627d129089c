#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "convert/KmlWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

TEST(KmlWriter, HeadLinesStylesAndEncoding) {
  StringSink sink;
  WriteKmlHead(sink);
  const auto lines = SplitCrLf(sink.data);
  ASSERT_EQ(lines.size(), 144u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(lines[1], "<kml xmlns=\"http://earth.google.com/kml/2.1\">");
  EXPECT_EQ(lines[2], "<Document>");
  EXPECT_EQ(lines[3], "<Style id=\"normalState_TLP_Start\">");
  EXPECT_EQ(lines[7], "<href>http://maps.google.com/mapfiles/kml/pal4/icon15.png</href>");
  EXPECT_EQ(lines[18], "<href>http://maps.google.com/mapfiles/kml/pal4/icon7.png</href>");
  EXPECT_EQ(lines[23], "<color>ff0000ff</color>");
  EXPECT_EQ(lines[26], "<StyleMap id=\"styleMap_TLP_Start\">");
  EXPECT_EQ(lines[29], "<styleUrl>#normalState_TLP_Start</styleUrl>");
  EXPECT_EQ(lines[33], "<styleUrl>#highlightState_TLP_Start</styleUrl>");
  EXPECT_EQ(lines[36], "<Style id=\"normalState_TLP_Finish\">");
  EXPECT_EQ(lines[69], "<Style id=\"normalState_TLP_Normal\">");
  EXPECT_EQ(lines[73], "<href>http://maps.google.com/mapfiles/kml/pal4/icon31.png</href>");
  EXPECT_EQ(lines[102], "<Style id=\"normalState_TLP_Photo\">");
  EXPECT_EQ(lines[106], "<href>http://maps.google.com/mapfiles/kml/pal4/icon46.png</href>");
  EXPECT_EQ(lines[117], "<href>http://maps.google.com/mapfiles/kml/pal4/icon38.png</href>");
  EXPECT_EQ(lines[134], "</StyleMap>");
  EXPECT_EQ(lines[135], "<Style id=\"roadStyle\">");
  EXPECT_EQ(lines[137], "<color>ffffff00</color>");
  EXPECT_EQ(lines[138], "<width>6</width>");
  EXPECT_EQ(lines[141], "<Open>1</Open>");
  EXPECT_EQ(lines[142], "<description>Route</description>");
  EXPECT_EQ(lines[143], "<name>Track Log</name>");

  StringSink wide;
  WriteKmlHead(wide, "UTF-16");
  EXPECT_EQ(SplitCrLf(wide.data)[0], "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
}

TEST(KmlWriter, PathPiecesFormTheCoordinatesLine) {
  StringSink sink;
  WriteKmlPathOpen(sink);
  WriteKmlPathPoint(sink, 121.5654297f, 25.0330009f, 12.5f);
  WriteKmlPathPoint(sink, -0.25f, -0.5f, -3.0f);
  WriteKmlPathClose(sink);
  EXPECT_EQ(sink.data,
            "<Placemark>\r\n<name>Route</name>\r\n<styleUrl>#roadStyle</styleUrl>\r\n<MultiGeometry>\r\n"
            "<LineString>\r\n<coordinates>\r\n"
            "121.5654297,25.0330009,12.50 -0.2500000,-0.5000000,-3.00 </coordinates>\r\n"
            "</LineString>\r\n</MultiGeometry>\r\n</Placemark>\r\n");
}

class KmlTrack : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("kmltrack"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // The lines after the 144-line head.
  std::vector<std::string> Body(const std::vector<TrackRecord>& records, int offsetMinutes) {
    WriteTrl(dir_ / "t.trl", records);
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(dir_ / "t.trl"));
    StringSink sink;
    EXPECT_TRUE(WriteKmlTrack(reader, sink, ZoneClock::Fixed(offsetMinutes)));
    auto lines = SplitCrLf(sink.data);
    EXPECT_GE(lines.size(), 144u);
    lines.erase(lines.begin(), lines.begin() + std::min<std::size_t>(144, lines.size()));
    return lines;
  }
  std::filesystem::path dir_;
};

const std::vector<std::string> kPathOpen = {"<Placemark>", "<name>Route</name>", "<styleUrl>#roadStyle</styleUrl>",
                                            "<MultiGeometry>", "<LineString>", "<coordinates>"};
const std::vector<std::string> kPathCloseAndFolder = {"</LineString>", "</MultiGeometry>", "</Placemark>", "<Folder>",
                                                      "<name>waypoints</name>"};
const std::vector<std::string> kTail = {"</Folder>", "</Document>", "</kml>"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::vector<std::string> Placemark(const std::string& name, const std::string& style, const std::string& point) {
  return {"<Placemark>", "<name>", name, "</name>", "<styleUrl>", style, "</styleUrl>", "<Point>", "<coordinates>",
          point, "</coordinates>", "</Point>", "</Placemark>"};
}

TEST_F(KmlTrack, EmptyFileHasEmptyPathAndFolder) {
  EXPECT_EQ(Body({}, 0), Join({kPathOpen, {"</coordinates>"}, kPathCloseAndFolder, kTail}));
}

TEST_F(KmlTrack, OneRecordIsTheStart) {
  const TrackRecord r = TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f);
  EXPECT_EQ(Body({r}, 8 * 60),
            Join({kPathOpen, {"121.5654297,25.0330009,12.50 </coordinates>"}, kPathCloseAndFolder,
                  Placemark("Sat Mar 15 09:30:12 2008", "#styleMap_TLP_Start", "121.5654297,25.0330009,12.50"), kTail}));
}

TEST_F(KmlTrack, StylesByPositionAndUnconvertibleTimesStayOnThePath) {
  // Row 0 (+13:00) rolls 23:30 UTC on 31 December into the next year.
  const TrackRecord a = TrackRecord::Make(1230766200, 1.0f, 2.0f, 3.0f);
  const TrackRecord b = TrackRecord::Make(1230766201, 1.5f, 2.5f, 50.0f);
  TrackRecord bad = TrackRecord::Make(1230766202, 9.0f, 9.0f, 9.0f);
  bad.bytes[0] ^= 1;
  const TrackRecord before1970 = TrackRecord::Make(-100, -1.0f, -2.0f, -3.0f);
  EXPECT_EQ(Body({a, b, bad, before1970}, 13 * 60),
            Join({kPathOpen,
                  {"2.0000000,1.0000000,3.00 2.5000000,1.5000000,50.00 -2.0000000,-1.0000000,-3.00 </coordinates>"},
                  kPathCloseAndFolder,
                  Placemark("Thu Jan  1 12:30:00 2009", "#styleMap_TLP_Start", "2.0000000,1.0000000,3.00"),
                  Placemark("Thu Jan  1 12:30:01 2009", "#styleMap_TLP_Normal", "2.5000000,1.5000000,50.00"),
                  kTail}));
  EXPECT_STREQ(KmlPointStyle(0, 1), "#styleMap_TLP_Start");
  EXPECT_STREQ(KmlPointStyle(2, 3), "#styleMap_TLP_Finish");
  EXPECT_STREQ(KmlPointStyle(1, 3), "#styleMap_TLP_Normal");
}

}  // namespace
}  // namespace kavro
