#include <gtest/gtest.h>

#include <ctime>
#include <map>

#include "common/Texts.h"
#include "photo/ExifReader.h"
#include "photo/PhotoDirectory.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

using test::TinyJpeg;
using test::Utc;

const ZoneClock kUtc = ZoneClock::Fixed(0);

PhotoTimeResult Read(const std::vector<std::uint8_t>& bytes, const ZoneClock& zone = kUtc) {
  return ReadPhotoTakenTimeFromBytes(bytes.data(), bytes.size(), zone);
}

TEST(ExifReader, FindsTheExifSegmentBehindJfifAndXmpButNotBehindOtherMarkers) {
  TinyJpeg plain;
  const PhotoTimeResult direct = Read(plain.Build());
  ASSERT_EQ(direct.status, 0);
  EXPECT_EQ(direct.captureTime, Utc(2008, 2, 28, 10, 0, 30));
  EXPECT_EQ(direct.messageId, 0);

  TinyJpeg afterJfif;
  afterJfif.before = {TinyJpeg::Jfif()};
  EXPECT_EQ(Read(afterJfif.Build()).captureTime, Utc(2008, 2, 28, 10, 0, 30));

  TinyJpeg afterXmp;
  afterXmp.before = {TinyJpeg::Jfif(), TinyJpeg::Xmp()};
  EXPECT_EQ(Read(afterXmp.Build()).captureTime, Utc(2008, 2, 28, 10, 0, 30));

  TinyJpeg afterQuantTable;
  afterQuantTable.before = {TinyJpeg::Segment(0xDB, std::string(4, '\1'))};
  const PhotoTimeResult r = Read(afterQuantTable.Build());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.captureTime, 0);
  EXPECT_EQ(r.messageId, txt::NotExifFormat);
}

TEST(ExifReader, EmptyShortTruncatedAndBadByteOrderAreNotExif) {
  EXPECT_EQ(Read({}).messageId, txt::NotExifFormat);
  EXPECT_EQ(Read({0xFF, 0xD8}).messageId, txt::NotExifFormat);
  const std::vector<std::uint8_t> whole = TinyJpeg().Build();
  const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + 40);
  EXPECT_EQ(Read(cut).messageId, txt::NotExifFormat);
  std::vector<std::uint8_t> mixed = whole;
  mixed[12] = 'I';
  mixed[13] = 'M';
  EXPECT_EQ(Read(mixed).messageId, txt::NotExifFormat);
}

TEST(ExifReader, BigAndLittleEndianGiveTheSameTime) {
  TinyJpeg ii, mm;
  mm.bigEndian = true;
  const PhotoTimeResult a = Read(ii.Build());
  const PhotoTimeResult b = Read(mm.Build());
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(a.captureTime, b.captureTime);
}

TEST(ExifReader, DateTextFollowsMktimeRulesInThePhotoZone) {
  TinyJpeg leap;
  leap.dateTimeOriginal = "2008:02:29 23:59:60";
  EXPECT_EQ(Read(leap.Build()).captureTime, Utc(2008, 3, 1, 0, 0, 0));
  // +08:00: UTC is eight hours earlier than the camera's clock.
  EXPECT_EQ(Read(leap.Build(), ZoneClock::Fixed(480)).captureTime, Utc(2008, 2, 29, 16, 0, 0));
  // -03:30
  EXPECT_EQ(Read(TinyJpeg().Build(), ZoneClock::Fixed(-210)).captureTime, Utc(2008, 2, 28, 13, 30, 30));

  TinyJpeg zero;
  zero.dateTimeOriginal = "0000:00:00 00:00:00";
  EXPECT_EQ(Read(zero.Build()).messageId, txt::PhotoDateFormatError);
  TinyJpeg blank;
  blank.dateTimeOriginal = "    :  :     :  :  ";
  EXPECT_EQ(Read(blank.Build()).messageId, txt::PhotoDateFormatError);
  TinyJpeg before1970;
  before1970.dateTimeOriginal = "1969:12:31 23:59:59";
  EXPECT_EQ(Read(before1970.Build()).messageId, txt::PhotoDateFormatError);
  TinyJpeg past2038;
  past2038.dateTimeOriginal = "2038:01:19 03:14:08";
  EXPECT_EQ(Read(past2038.Build()).messageId, txt::PhotoDateFormatError);
}

TEST(ExifReader, MissingDateTimeOriginalOrExifPointerIsNoPhotoDate) {
  TinyJpeg onlyDateTime;
  onlyDateTime.dateTime = "2008:02:28 10:00:30";
  onlyDateTime.dateTimeOriginal.reset();
  const PhotoTimeResult r = Read(onlyDateTime.Build());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.messageId, txt::NoPhotoDate);

  TinyJpeg noPointer;
  noPointer.exifPointer = false;
  EXPECT_EQ(Read(noPointer.Build()).messageId, txt::NoPhotoDate);
}

TEST(ExifReader, UnopenableFileIsReportedWithTheSystemReason) {
  const PhotoTimeResult r = ReadPhotoTakenTime("/nonexistent/kavro/photo.jpg", kUtc);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.messageId, txt::PhotoOpenFailed);
  EXPECT_FALSE(r.detail.empty());
}

std::string ExifText(std::int32_t utc) {
  std::tm t{};
  ToUtc(utc, t);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04d:%02d:%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return buf;
}

// Every sample photo gives the DateTimeOriginal exiftool prints, or the reason it has none.
TEST(ExifReader, SamplePhotosAgreeWithExiftool) {
  if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  const test::TempDir dir("reader");
  const std::filesystem::path photos = std::filesystem::path(KAVRO_TEST_DATA) / "photos";
  // The files exiftool finds no date in, and what our reader says about them.
  const std::map<std::string, int> expectedMessage = {
      {"Casio_QV-7000SX.jpg", txt::NotExifFormat},          {"broken_blank_date.jpg", txt::PhotoDateFormatError},
      {"broken_zero_date.jpg", txt::PhotoDateFormatError}, {"broken_byte_order.jpg", txt::NotExifFormat},
      {"broken_truncated_in_exif.jpg", txt::NotExifFormat}, {"empty.jpg", txt::NotExifFormat},
      {"not_a_jpeg.jpg", txt::NotExifFormat}};
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(photos)) {
    if (entry.path().extension() != ".jpg") continue;
    const std::filesystem::path copy = dir.path / entry.path().filename();
    std::filesystem::copy_file(entry.path(), copy);
    const std::string name = entry.path().filename().string();
    std::string tool = test::RunCommand("exiftool -s3 -DateTimeOriginal " + test::Quote(copy) + " 2>/dev/null");
    while (!tool.empty() && (tool.back() == '\n' || tool.back() == '\r')) tool.pop_back();
    const PhotoTimeResult r = ReadPhotoTakenTime(copy, kUtc);
    SCOPED_TRACE(name);
    const auto special = expectedMessage.find(name);
    if (special != expectedMessage.end()) {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.messageId, special->second);
      continue;
    }
    if (name == "broken_ifd0_offset.jpg") {
      // The reader takes IFD0 at offset 8 whatever the header says, so the intact entries are
      // read; exiftool follows the broken offset and finds nothing.
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(ExifText(r.captureTime), "2004:12:25 11:42:58");
      continue;
    }
    ASSERT_FALSE(tool.empty());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ExifText(r.captureTime), tool);
    ++compared;
  }
  EXPECT_GE(compared, 18);
  // The originals are untouched.
  for (const auto& entry : std::filesystem::directory_iterator(photos)) {
    if (entry.path().extension() != ".jpg") continue;
    EXPECT_EQ(test::ReadBytes(entry.path()), test::ReadBytes(dir.path / entry.path().filename()));
  }
}

TEST(PhotoDirectory, ListsJpgFilesInAnyCaseSortedByName) {
  const test::TempDir dir("scan");
  for (const char* name : {"b.JPG", "a.jpg", "c.Jpg", "d.jpeg", "e.png", "fjpg", "g.jpg.txt"}) {
    test::WriteBytes(dir.path / name, {1});
  }
  std::filesystem::create_directory(dir.path / "h.jpg");
  std::filesystem::create_directory(dir.path / "GPS");
  test::WriteBytes(dir.path / "GPS" / "a_GPS.jpg", {1});
  std::vector<PhotoEntry> photos;
  const PhotoScan scan = ScanPhotoDirectory(dir.path, photos);
  ASSERT_TRUE(scan.ok);
  ASSERT_EQ(photos.size(), 3u);
  EXPECT_EQ(std::filesystem::path(photos[0].path).filename(), "a.jpg");
  EXPECT_EQ(std::filesystem::path(photos[1].path).filename(), "b.JPG");
  EXPECT_EQ(std::filesystem::path(photos[2].path).filename(), "c.Jpg");
  EXPECT_EQ(photos[0].captureTime, 0);

  const test::TempDir empty("scan-empty");
  EXPECT_TRUE(ScanPhotoDirectory(empty.path, photos).ok);
  EXPECT_TRUE(photos.empty());

  const PhotoScan missing = ScanPhotoDirectory(dir.path / "missing", photos);
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
}

}  // namespace
}  // namespace kavro
