#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "convert/KmlWriter.h"
#include "core/convert/WriterTestSupport.h"

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

}  // namespace
}  // namespace kavro
