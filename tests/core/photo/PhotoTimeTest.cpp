// The capture time in UTC: the photo's own offset first, else the chosen zone with its clock
// changes; and the camera clock correction found from photos of a clock.
#include <gtest/gtest.h>

#include "photo/ClockCorrection.h"
#include "photo/ExifReader.h"
#include "photo/PhotoTime.h"

namespace kavro {
namespace {

using Text = std::optional<std::string>;

ZoneClock Berlin() { return ZoneClock::Named("Europe/Berlin").value_or(ZoneClock::Fixed(0)); }

TEST(PhotoTime, ThePhotosOwnOffsetWinsOverTheChosenZone) {
  const ZoneClock plus8 = ZoneClock::Fixed(480);
  // 2019-08-17 15:46:21 at -04:00 is 19:46:21 UTC, whatever the chosen zone says.
  PhotoUtc r = ResolveCaptureTime(Text("2019:08:17 15:46:21"), Text("-04:00"), Text("+02:00"), plus8, false);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.utc, 1566071181);
  EXPECT_EQ(r.source, OffsetSource::PhotoOffsetTimeOriginal);
  EXPECT_EQ(r.offsetMinutes, -240);
  // Without OffsetTimeOriginal the file's OffsetTime serves.
  r = ResolveCaptureTime(Text("2019:08:17 15:46:21"), std::nullopt, Text("-04:00"), plus8, false);
  EXPECT_EQ(r.utc, 1566071181);
  EXPECT_EQ(r.source, OffsetSource::PhotoOffsetTime);
  // A blank offset (the camera did not know) falls through to the next source.
  r = ResolveCaptureTime(Text("2019:08:17 15:46:21"), Text("   :  "), Text("-04:00"), plus8, false);
  EXPECT_EQ(r.source, OffsetSource::PhotoOffsetTime);
  // Told to ignore it, or without any, the chosen zone applies.
  r = ResolveCaptureTime(Text("2019:08:17 15:46:21"), Text("-04:00"), Text("-04:00"), plus8, true);
  EXPECT_EQ(r.utc, 1566071181 - 12 * 3600);
  EXPECT_EQ(r.source, OffsetSource::ChosenZone);
  EXPECT_EQ(r.offsetMinutes, 480);
  EXPECT_FALSE(ResolveCaptureTime(std::nullopt, Text("-04:00"), std::nullopt, plus8, false).ok);
  EXPECT_FALSE(ResolveCaptureTime(Text("0000:00:00 00:00:00"), std::nullopt, std::nullopt, plus8, false).ok);
}

TEST(PhotoTime, AFixedZoneGivesWhatTheJpegReaderGives) {
  for (const char* text : {"2008:03:15 09:30:12", "2008:02:29 23:59:60", "1970:01:01 00:00:00", "2038:01:19 03:14:07",
                           "2008:13:01 00:00:00", "  08:3 :15 09:30:12", "2008-03-15T09:30:12"}) {
    for (int offset : {0, 480, -210, 13 * 60}) {
      const ZoneClock zone = ZoneClock::Fixed(offset);
      const std::int64_t expected = ParseExifDateTime(text, 20, zone);
      const PhotoUtc r = ResolveCaptureTime(Text(text), std::nullopt, std::nullopt, zone, false);
      EXPECT_EQ(r.ok, expected >= 0) << text << " " << offset;
      if (r.ok) EXPECT_EQ(r.utc, expected) << text << " " << offset;
      EXPECT_EQ(r.note, LocalTimeNote::None);
    }
  }
}

TEST(PhotoTime, TheChosenZonesSkippedAndRepeatedHoursAreNoted) {
  // 02:30 on 30 March 2008 never happened in Berlin: read as 03:30 CEST (01:30 UTC).
  PhotoUtc r = ResolveCaptureTime(Text("2008:03:30 02:30:00"), std::nullopt, std::nullopt, Berlin(), false);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.utc, 1206838800 + 1800);
  EXPECT_EQ(r.note, LocalTimeNote::SkippedHourMovedForward);
  EXPECT_EQ(r.offsetMinutes, 120);
  // 02:30 on 26 October 2008 happened twice: the first, at +02:00 (00:30 UTC).
  r = ResolveCaptureTime(Text("2008:10:26 02:30:00"), std::nullopt, std::nullopt, Berlin(), false);
  EXPECT_EQ(r.utc, 1224982800 - 1800);
  EXPECT_EQ(r.note, LocalTimeNote::RepeatedHourEarlierOffset);
  EXPECT_EQ(r.offsetMinutes, 120);
  // The photo's own offset leaves nothing to resolve.
  r = ResolveCaptureTime(Text("2008:10:26 02:30:00"), Text("+01:00"), std::nullopt, Berlin(), false);
  EXPECT_EQ(r.utc, 1224982800 + 1800);
  EXPECT_EQ(r.note, LocalTimeNote::None);
  r = ResolveCaptureTime(Text("2008:07:01 12:00:00"), std::nullopt, std::nullopt, Berlin(), false);
  EXPECT_EQ(r.note, LocalTimeNote::None);
  EXPECT_EQ(r.offsetMinutes, 120);
}

TEST(PhotoTime, OffsetTextsAreReadStrictly) {
  EXPECT_EQ(ParseExifOffset("+09:30"), 570);
  EXPECT_EQ(ParseExifOffset("-03:30"), -210);
  EXPECT_EQ(ParseExifOffset("+00:00"), 0);
  EXPECT_EQ(ParseExifOffset(std::string_view("-04:00\0", 7)), -240);
  EXPECT_EQ(ParseExifOffset("+14:00 "), 840);
  for (const char* bad : {"", "   :  ", "+9:30", "09:30", "+09:60", "+19:00", "+0a:00", "+09-30", "Z"})
    EXPECT_FALSE(ParseExifOffset(bad)) << bad;
}

TEST(ClockCorrection, OnePhotoOfAClockGivesTheOffsetToTheNearestReading) {
  // The camera says 10:00:00 UTC; the photographed clock shows 10:02:05: two minutes slow.
  const std::int64_t camera = 1206871200;  // 2008-03-30 10:00:00 UTC
  ClockCorrection c = SyncFromOnePhoto(camera, 10 * 3600 + 2 * 60 + 5);
  EXPECT_EQ(c.offsetSeconds, 125);
  EXPECT_EQ(c.Apply(camera), camera + 125);
  EXPECT_EQ(c.Apply(camera + 86400), camera + 86400 + 125);
  // Across midnight: camera 23:59:00, clock 00:01:00 is the next day, two minutes on.
  const std::int64_t late = 1206921540;  // 2008-03-30 23:59:00 UTC
  EXPECT_EQ(SyncFromOnePhoto(late, 60).offsetSeconds, 120);
  // And a clock 23:58 for a camera at 00:01 means the day before.
  EXPECT_EQ(SyncFromOnePhoto(late + 120, 23 * 3600 + 58 * 60).offsetSeconds, -180);
  // The reading is never more than half a day away.
  EXPECT_EQ(NearestClockReading(camera, 22 * 3600), camera + 12 * 3600);
  EXPECT_EQ(NearestClockReading(camera, 21 * 3600 + 59 * 60), camera + 12 * 3600 - 60);
  EXPECT_EQ(NearestClockReading(camera, 22 * 3600 + 60), camera - 12 * 3600 + 60);
}

TEST(ClockCorrection, TwoPhotosOfAClockGiveALinearDrift) {
  // Day 1 the camera is 60 s behind, ten days later 160 s behind: 10 s a day more.
  const std::int64_t first = 1206871200;  // 2008-03-30 10:00:00
  const std::int64_t second = first + 10 * 86400;
  const ClockCorrection c = SyncFromTwoPhotos(first, 10 * 3600 + 60, second, 10 * 3600 + 160);
  EXPECT_EQ(c.offsetSeconds, 60);
  EXPECT_TRUE(c.HasDrift());
  EXPECT_EQ(c.Apply(first), first + 60);
  EXPECT_EQ(c.Apply(second), second + 160);
  EXPECT_EQ(c.Apply(first + 5 * 86400), first + 5 * 86400 + 110);  // between
  EXPECT_EQ(c.Apply(second + 10 * 86400), second + 10 * 86400 + 260);  // beyond
  EXPECT_EQ(c.Apply(first - 86400), first - 86400 + 50);  // before
  // The same second twice has no drift to measure.
  EXPECT_FALSE(SyncFromTwoPhotos(first, 10 * 3600 + 60, first, 10 * 3600 + 90).HasDrift());
  EXPECT_TRUE(ClockCorrection().IsNone());
  EXPECT_FALSE(ClockCorrection::Offset(-1).IsNone());
}

TEST(ClockCorrection, ReadingsAndCalibrationFields) {
  EXPECT_EQ(ParseClockReading("10:02:05"), 36125);
  EXPECT_EQ(ParseClockReading("9:02:05"), 32525);
  EXPECT_EQ(ParseClockReading("23:59"), 86340);
  for (const char* bad : {"", "24:00:00", "10:60:00", "10:00:60", "10:00:00Z", "-1:00:00", " 1:00:00", "10", "a:b:c"})
    EXPECT_FALSE(ParseClockReading(bad)) << bad;
  EXPECT_FALSE(ParseClockReading(nullptr));
  EXPECT_EQ(CalibrationParts(125), (std::array<int, 4>{0, 0, 2, 5}));
  EXPECT_EQ(CalibrationParts(-172799), (std::array<int, 4>{-1, -23, -59, -59}));
  EXPECT_EQ(CalibrationParts(30 * 86400 + 86399), (std::array<int, 4>{30, 23, 59, 59}));
  EXPECT_FALSE(CalibrationParts(31 * 86400));
  EXPECT_FALSE(CalibrationParts(-31 * 86400));
}

}  // namespace
}  // namespace kavro
