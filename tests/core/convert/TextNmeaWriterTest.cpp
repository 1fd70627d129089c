#include <gtest/gtest.h>

#include "convert/NmeaWriter.h"
#include "convert/TextWriter.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

constexpr std::int32_t kExampleTime = 1205544612;  // 2008-03-15 01:30:12 UTC
const TrackRecord kExample = TrackRecord::Make(kExampleTime, 25.0330009f, 121.5654297f, 12.5f);

std::string Rmc(std::int32_t time, float lat, float lon) {
  char buf[kRmcBufferSize];
  const std::size_t n = FormatRmc(time, lat, lon, buf);
  return std::string(buf, n);
}

std::string Degrees(float v) {
  char buf[kRmcBufferSize];
  return std::string(buf, FormatNmeaDegrees(buf, v));
}

TEST(NmeaWriter, SentenceOfTheExampleRecord) {
  EXPECT_EQ(Rmc(kExampleTime, 25.0330009f, 121.5654297f),
            "$GPRMC,013012,A,2501.980057,N,12133.925781,E,0,0,150308,,*14\r\n");
}

TEST(NmeaWriter, DegreesAndMinutesThroughSinglePrecision) {
  EXPECT_EQ(Degrees(25.1f), "2506.000023");
  EXPECT_EQ(Degrees(25.2f), "2512.000046");
  EXPECT_EQ(Degrees(5.5f), "530.000000");
  EXPECT_EQ(Degrees(121.5f), "12130.000000");
  EXPECT_EQ(Degrees(-0.5f), "030.000000");
  EXPECT_EQ(Degrees(-0.25f), "015.000000");
  EXPECT_EQ(Degrees(0.0f), "000.000000");
  EXPECT_EQ(Degrees(12.25f), "1215.000000");
}

TEST(NmeaWriter, HemispheresDateAndChecksum) {
  const std::string s = Rmc(1230767999, -0.5f, -0.25f);  // 2008-12-31 23:59:59 UTC
  EXPECT_EQ(s.substr(0, s.find('*')), "$GPRMC,235959,A,030.000000,S,015.000000,W,0,0,311208,,");
  // Lower-case hex of the XOR between "$" and "*".
  const std::string body = s.substr(1, s.find('*') - 1);
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02x", x);
  EXPECT_EQ(s.substr(s.find('*') + 1), std::string(hex) + "\r\n");
  EXPECT_EQ(NmeaChecksum("$GPRMC,1*ff"), static_cast<std::uint8_t>('G' ^ 'P' ^ 'R' ^ 'M' ^ 'C' ^ ',' ^ '1'));
  EXPECT_EQ(NmeaChecksum("$AB\r\nCD"), static_cast<std::uint8_t>('A' ^ 'B'));
  EXPECT_TRUE(Rmc(-5, 1.0f, 1.0f).empty());  // no UTC form before 1970
}

TEST(TextWriter, LineInTheAppliedZone) {
  char buf[2048];
  const std::size_t n = FormatTextLine(kExample, ZoneClock::Fixed(8 * 60), buf);
  EXPECT_EQ(std::string(buf, n), "121.5654297,25.0330009,12.50,Sat Mar 15 09:30:12 2008\r\n");
  const TrackRecord below = TrackRecord::Make(kExampleTime, -33.5f, -70.25f, -12.5f);
  const std::size_t m = FormatTextLine(below, ZoneClock::Fixed(-3 * 60 - 30), buf);
  EXPECT_EQ(std::string(buf, m), "-70.2500000,-33.5000000,-12.50,Fri Mar 14 22:00:12 2008\r\n");
}

class TrackFiles : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("textnmea"); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(TrackFiles, BadRecordsAreSkippedAndNmeaIgnoresTheZone) {
  TrackRecord bad = TrackRecord::Make(kExampleTime + 1, 1.0f, 2.0f, 3.0f);
  bad.bytes[15] ^= 0x40;
  const TrackRecord last = TrackRecord::Make(1230767999, 25.1f, 121.5f, 0.0f);
  const auto trl = dir_ / "t.trl";
  WriteTrl(trl, {kExample, bad, last});
  // A torn last record (file length not a multiple of 16) ends the file.
  {
    std::FILE* f = std::fopen(trl.c_str(), "ab");
    std::fputs("KAVRO", f);
    std::fclose(f);
  }
  TrackFileReader reader;
  ASSERT_TRUE(reader.Open(trl));
  StringSink text, nmea;
  EXPECT_TRUE(WriteTextTrack(reader, text, ZoneClock::Fixed(13 * 60)));
  EXPECT_TRUE(WriteNmeaTrack(reader, nmea));
  EXPECT_EQ(text.data,
            "121.5654297,25.0330009,12.50,Sat Mar 15 14:30:12 2008\r\n"
            "121.5000000,25.1000004,0.00,Thu Jan  1 12:59:59 2009\r\n");
  const auto lines = SplitCrLf(nmea.data);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "$GPRMC,013012,A,2501.980057,N,12133.925781,E,0,0,150308,,*14");
  EXPECT_EQ(lines[1].substr(0, 58), "$GPRMC,235959,A,2506.000023,N,12130.000000,E,0,0,311208,,*");
}

TEST_F(TrackFiles, EmptySourceGivesEmptyOutputs) {
  const auto trl = dir_ / "empty.trl";
  WriteTrl(trl, {});
  TrackFileReader reader;
  ASSERT_TRUE(reader.Open(trl));
  StringSink text, nmea;
  EXPECT_TRUE(WriteTextTrack(reader, text, ZoneClock::Fixed(0)));
  EXPECT_TRUE(WriteNmeaTrack(reader, nmea));
  EXPECT_TRUE(text.data.empty());
  EXPECT_TRUE(nmea.data.empty());
}

}  // namespace
}  // namespace kavro
