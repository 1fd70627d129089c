#include <gtest/gtest.h>

#include "convert/GpxWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

const TrackRecord kExample = TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f);

class GpxWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("gpx"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Convert(const std::vector<TrackRecord>& records) {
    WriteTrl(dir_ / "t.trl", records);
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(dir_ / "t.trl"));
    StringSink sink;
    EXPECT_TRUE(WriteGpxTrack(reader, sink));
    return sink.data;
  }
  std::filesystem::path dir_;
};

const std::vector<std::string> kHead = {
    "<?xml version=\"1.0\"?>",
    "<gpx",
    "version=\"1.0\"",
    "creator=\"Kavro Utility\"",
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"",
    "xmlns=\"http://www.topografix.com/GPX/1/0\"",
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/0 http://www.topografix.com/GPX/1/0/gpx.xsd\">",
};

TEST_F(GpxWriterTest, EmptyFileGivesHeadAndEmptyRoute) {
  auto expected = kHead;
  for (const char* l : {"<rte>", "<name>Route</name>", "</rte>", "</gpx>"}) expected.push_back(l);
  EXPECT_EQ(SplitCrLf(Convert({})), expected);
}

TEST_F(GpxWriterTest, PointsTwiceInUtcWithElevationBeforeTime) {
  TrackRecord bad = TrackRecord::Make(1205544613, 1.0f, 2.0f, 3.0f);
  bad.bytes[15] ^= 1;
  const TrackRecord late = TrackRecord::Make(1230766200, -0.5f, -0.25f, -7.25f);  // 2008-12-31 23:30:00 UTC
  auto expected = kHead;
  for (const char* l : {"<wpt lat=\"25.033001\" lon=\"121.565430\">", "<ele>12.50</ele>",
                        "<time>2008-03-15T01:30:12Z</time>", "<name><![CDATA[Point 0]]></name>", "</wpt>",
                        "<wpt lat=\"-0.500000\" lon=\"-0.250000\">", "<ele>-7.25</ele>",
                        "<time>2008-12-31T23:30:00Z</time>", "<name><![CDATA[Point 1]]></name>", "</wpt>",
                        "<rte>", "<name>Route</name>",
                        "<rtept lat=\"25.033001\" lon=\"121.565430\">", "<ele>12.50</ele>",
                        "<time>2008-03-15T01:30:12Z</time>", "<name><![CDATA[Point 0]]></name>", "</rtept>",
                        "<rtept lat=\"-0.500000\" lon=\"-0.250000\">", "<ele>-7.25</ele>",
                        "<time>2008-12-31T23:30:00Z</time>", "<name><![CDATA[Point 1]]></name>", "</rtept>",
                        "</rte>", "</gpx>"})
    expected.push_back(l);
  EXPECT_EQ(SplitCrLf(Convert({kExample, bad, late})), expected);
}

TEST_F(GpxWriterTest, ValidatesAgainstTheGpx10Schema) {
  if (!ToolInstalled("xmllint")) GTEST_SKIP() << "xmllint is not installed";
  std::vector<TrackRecord> records;
  for (int i = 0; i < 50; ++i)
    records.push_back(TrackRecord::Make(1205544612 + i * 5, 25.0f + 0.001f * static_cast<float>(i),
                                        121.5f - 0.002f * static_cast<float>(i), 100.0f - static_cast<float>(i)));
  const std::string gpx = Convert(records);
  std::FILE* f = std::fopen((dir_ / "t.gpx").c_str(), "wb");
  std::fwrite(gpx.data(), 1, gpx.size(), f);
  std::fclose(f);
  std::string out;
  const int status = RunCommand("xmllint --noout --nonet --schema " KAVRO_TEST_DATA "/gpx10.xsd " +
                                    (dir_ / "t.gpx").string() + " 2>&1",
                                &out);
  EXPECT_EQ(status, 0) << out;
  // The same check turns down a document with time before ele.
  std::string swapped = gpx;
  const std::string ele = "<ele>100.00</ele>\r\n";
  const auto at = swapped.find(ele);
  ASSERT_NE(at, std::string::npos);
  swapped.erase(at, ele.size());
  const auto timeEnd = swapped.find("</time>\r\n", at) + 9;
  swapped.insert(timeEnd, ele);
  f = std::fopen((dir_ / "swapped.gpx").c_str(), "wb");
  std::fwrite(swapped.data(), 1, swapped.size(), f);
  std::fclose(f);
  EXPECT_NE(RunCommand("xmllint --noout --nonet --schema " KAVRO_TEST_DATA "/gpx10.xsd " +
                           (dir_ / "swapped.gpx").string() + " 2>/dev/null"),
            0);
}

}  // namespace
}  // namespace kavro
