#include <gtest/gtest.h>

#include <limits>
#include <regex>
#include <set>
#include <sstream>

#include "common/Texts.h"
#include "support/PhotoTestSupport.h"
#include "photo/ExifBytes.h"
#include "photo/ExifGpsWriter.h"
#include "photo/ExifReader.h"

namespace kavro {
namespace {

using test::TinyJpeg;
using test::Utc;

TrackPoint Point(float lat, float lon, float alt, std::int32_t time) {
  TrackPoint p;
  p.lat = lat;
  p.lon = lon;
  p.alt = alt;
  p.time = time;
  return p;
}

TEST(GpsFields, DegreesMinutesHundredthsAltitudeAndUtcTime) {
  const GpsFields sydney = MakeGpsFields(Point(-33.8568f, 151.2153f, 12.345f, Utc(2008, 2, 28, 23, 59, 59)));
  EXPECT_EQ(sydney.latRef, 'S');
  EXPECT_EQ(sydney.latDeg, 33u);
  EXPECT_EQ(sydney.latMin, 51u);
  EXPECT_EQ(sydney.latHundredthSec, 2448u);
  EXPECT_EQ(sydney.lonRef, 'E');
  EXPECT_EQ(sydney.lonDeg, 151u);
  EXPECT_EQ(sydney.lonMin, 12u);
  EXPECT_EQ(sydney.lonHundredthSec, 5508u);
  EXPECT_EQ(sydney.altRef, 0);
  EXPECT_EQ(sydney.altCentimetres, 1235u);
  EXPECT_EQ(sydney.hour, 23);
  EXPECT_EQ(sydney.minute, 59);
  EXPECT_EQ(sydney.second, 59);
  EXPECT_EQ(sydney.year, 2008);
  EXPECT_EQ(sydney.month, 2);
  EXPECT_EQ(sydney.day, 28);

  EXPECT_EQ(MakeGpsFields(Point(1, 1, 12.344f, 0)).altCentimetres, 1234u);
  const GpsFields taipei = MakeGpsFields(Point(24.1234567f, -0.5f, -12.345f, 0));
  EXPECT_EQ(taipei.latDeg, 24u);
  EXPECT_EQ(taipei.latMin, 7u);
  EXPECT_EQ(taipei.latHundredthSec, 2444u);
  EXPECT_EQ(taipei.lonRef, 'W');
  EXPECT_EQ(taipei.lonDeg, 0u);
  EXPECT_EQ(taipei.lonMin, 30u);
  // Below sea level: reference 1 and the magnitude.
  EXPECT_EQ(taipei.altRef, 1);
  EXPECT_EQ(taipei.altCentimetres, 1235u);
  const GpsFields zero = MakeGpsFields(Point(0, 0, 0, 0));
  EXPECT_EQ(zero.latRef, 0);
  EXPECT_EQ(zero.lonRef, 0);
}

TEST(GpsFields, OnlyFiniteInRangePointsAreUsable) {
  EXPECT_TRUE(GpsPointUsable(Point(90, 180, 0, 0)));
  EXPECT_TRUE(GpsPointUsable(Point(-90, -180, -400, 0)));
  EXPECT_TRUE(GpsPointUsable(Point(0, 0, 42949672.0f, 0)));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const TrackPoint& bad : {Point(nan, 1, 1, 0), Point(1, nan, 1, 0), Point(1, 1, nan, 0), Point(inf, 1, 1, 0),
                                Point(1, -inf, 1, 0), Point(1, 1, inf, 0), Point(90.01f, 1, 1, 0), Point(1, -180.01f, 1, 0),
                                Point(1, 1, 1e30f, 0), Point(1e30f, 1, 1, 0), Point(1, -3e38f, 1, 0), Point(1, 1, -1e9f, 0)}) {
    EXPECT_FALSE(GpsPointUsable(bad)) << bad.lat << " " << bad.lon << " " << bad.alt;
    const GpsFields f = MakeGpsFields(bad);
    EXPECT_EQ(f.latDeg + f.lonDeg + f.altCentimetres, 0u);
  }
  // Such a point gets no copy at all rather than one with made-up values.
  const std::vector<std::uint8_t> photo = TinyJpeg().Build();
  std::vector<std::uint8_t> copy;
  EXPECT_EQ(BuildGpsCopy(photo.data(), photo.size(), Point(1, 1, 1e30f, 1000), copy), GpsCopyOutcome::BadPoint);
  EXPECT_TRUE(copy.empty());
  TinyJpeg fuji;
  fuji.make = "FUJIFILM";
  const std::vector<std::uint8_t> other = fuji.Build();
  // Every make gets a copy now, and none from a point that is not usable.
  EXPECT_EQ(BuildGpsCopy(other.data(), other.size(), Point(nan, 1, 1, 1000), copy), GpsCopyOutcome::BadPoint);
  EXPECT_TRUE(copy.empty());
}

TEST(GpsCopyPath, ReplacesTheExtensionAndGoesIntoAGpsFolder) {
  EXPECT_EQ(GpsCopyPath("/pics/IMG_0001.JPG"), std::filesystem::path("/pics/GPS/IMG_0001_GPS.jpg"));
  EXPECT_EQ(GpsCopyPath("/pics/a.jpg"), std::filesystem::path("/pics/GPS/a_GPS.jpg"));
  EXPECT_EQ(GpsCopyPath("/pics/a.JPG", 2), std::filesystem::path("/pics/GPS/a_GPS_2.jpg"));
}

// The GPS IFD of a built copy, checked field by field in the file's byte order.
void CheckGpsIfd(const std::vector<std::uint8_t>& copy, bool bigEndian) {
  const ByteOrder order = bigEndian ? ByteOrder::Big : ByteOrder::Little;
  const ExifBytes tiff(copy.data() + 12, copy.size() - 12);
  std::uint16_t count = 0;
  ASSERT_TRUE(tiff.U16(8, order, count));
  std::uint32_t g = 0;
  std::uint16_t lastTag = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    std::uint16_t tag = 0;
    tiff.U16(10 + 12u * i, order, tag);
    EXPECT_GT(tag, lastTag);
    lastTag = tag;
    if (tag == 0x8825) tiff.U32(10 + 12u * i + 8, order, g);
  }
  ASSERT_NE(g, 0u);
  std::uint16_t n = 0;
  tiff.U16(g, order, n);
  EXPECT_EQ(n, 9);
  const std::uint16_t tags[9] = {0, 1, 2, 3, 4, 5, 6, 7, 0x1D};
  const std::uint16_t types[9] = {1, 2, 5, 2, 5, 1, 5, 5, 2};
  const std::uint32_t counts[9] = {4, 2, 3, 2, 3, 1, 1, 3, 11};
  const std::uint32_t offsets[9] = {0, 0, 114, 0, 138, 0, 162, 170, 194};
  for (int i = 0; i < 9; ++i) {
    std::uint16_t tag = 0, type = 0;
    std::uint32_t cnt = 0, value = 0;
    tiff.U16(g + 2 + 12u * i, order, tag);
    tiff.U16(g + 4 + 12u * i, order, type);
    tiff.U32(g + 6 + 12u * i, order, cnt);
    tiff.U32(g + 10 + 12u * i, order, value);
    EXPECT_EQ(tag, tags[i]);
    EXPECT_EQ(type, types[i]);
    EXPECT_EQ(cnt, counts[i]);
    if (offsets[i]) {
      EXPECT_EQ(value, g + offsets[i]);
    }
  }
  EXPECT_EQ(tiff.Data()[g + 10], 2);  // version 2.2.0.0 as BYTEs
  EXPECT_EQ(tiff.Data()[g + 11], 2);
  EXPECT_EQ(tiff.Data()[g + 22], 'S');
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(tiff.Data() + g + 194), 10), "2008:02:28");
  std::uint32_t num = 0, den = 0;
  tiff.U32(g + 130, order, num);
  tiff.U32(g + 134, order, den);
  EXPECT_EQ(num, 2448u);
  EXPECT_EQ(den, 100u);
  tiff.U32(g + 162, order, num);
  EXPECT_EQ(num, 1235u);
}

TEST(BuildGpsCopy, InsertsTheGpsIfdAndShiftsIfd1AndTheThumbnailInBothByteOrders) {
  const TrackPoint p = Point(-33.8568f, 151.2153f, 12.345f, Utc(2008, 2, 28, 23, 59, 59));
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "MM" : "II");
    TinyJpeg j;
    j.bigEndian = bigEndian;
    const std::vector<std::uint8_t> source = j.Build();
    std::vector<std::uint8_t> copy;
    ASSERT_EQ(BuildGpsCopy(source.data(), source.size(), p, copy), GpsCopyOutcome::Written);
    ASSERT_EQ(copy.size(), source.size() + kTotalShift);
    EXPECT_EQ((copy[4] << 8 | copy[5]), (source[4] << 8 | source[5]) + static_cast<int>(kTotalShift));
    CheckGpsIfd(copy, bigEndian);
    // Image data after the APP1 and the thumbnail are unchanged, the time still reads.
    const std::size_t app1End = 4 + static_cast<std::size_t>(source[4] << 8 | source[5]);
    EXPECT_TRUE(std::equal(source.begin() + static_cast<long>(app1End), source.end(),
                           copy.begin() + static_cast<long>(app1End + kTotalShift)));
    const auto thumb = TinyJpeg::Thumbnail();
    EXPECT_TRUE(std::equal(thumb.begin(), thumb.end(), copy.begin() + static_cast<long>(app1End + kTotalShift - thumb.size())));
    const PhotoTimeResult before = ReadPhotoTakenTimeFromBytes(source.data(), source.size(), ZoneClock::Fixed(0));
    const PhotoTimeResult after = ReadPhotoTakenTimeFromBytes(copy.data(), copy.size(), ZoneClock::Fixed(0));
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(after.captureTime, before.captureTime);
  }
}

TEST(BuildGpsCopy, OtherMakesGetAnAppendedCopyAndLayoutsItCannotFollowAreRefused) {
  const TrackPoint p = Point(1, 1, 1, 1000);
  std::vector<std::uint8_t> copy;
  for (const char* make : {"CASIO", "FUJIFILM", "canon", "SON"}) {
    TinyJpeg j;
    j.make = make;
    const auto bytes = j.Build();
    // Nothing of theirs moves: the camera's TIFF data stays byte for byte, only the header's
    // IFD0 offset points behind it.
    ASSERT_EQ(BuildGpsCopy(bytes.data(), bytes.size(), p, copy), GpsCopyOutcome::Written) << make;
    const std::size_t app1Length = static_cast<std::size_t>(bytes[4] << 8 | bytes[5]);
    EXPECT_TRUE(std::equal(bytes.begin() + 20, bytes.begin() + 4 + static_cast<long>(app1Length), copy.begin() + 20));
    EXPECT_TRUE(std::equal(bytes.begin() + 4 + static_cast<long>(app1Length), bytes.end(),
                           copy.end() - static_cast<long>(bytes.size() - 4 - app1Length)));
    EXPECT_EQ(ReadPhotoTakenTimeFromBytes(copy.data(), copy.size(), ZoneClock::Fixed(0)).captureTime,
              ReadPhotoTakenTimeFromBytes(bytes.data(), bytes.size(), ZoneClock::Fixed(0)).captureTime);
  }
  TinyJpeg sony;
  sony.make = "SONY";
  auto bytes = sony.Build();
  EXPECT_EQ(BuildGpsCopy(bytes.data(), bytes.size(), p, copy), GpsCopyOutcome::Written);

  TinyJpeg noIfd1;
  noIfd1.withIfd1 = false;
  bytes = noIfd1.Build();
  EXPECT_EQ(BuildGpsCopy(bytes.data(), bytes.size(), p, copy), GpsCopyOutcome::Written);

  TinyJpeg noPointer;
  noPointer.exifPointer = false;
  bytes = noPointer.Build();
  EXPECT_EQ(BuildGpsCopy(bytes.data(), bytes.size(), p, copy), GpsCopyOutcome::NoExifIfd);

  bytes = TinyJpeg().Build();
  std::vector<std::uint8_t> zeroCount = bytes;
  zeroCount[20] = zeroCount[21] = 0;  // IFD0 entry count
  EXPECT_EQ(BuildGpsCopy(zeroCount.data(), zeroCount.size(), p, copy), GpsCopyOutcome::Layout);
  std::vector<std::uint8_t> exifFar = bytes;
  exifFar[12 + 10 + 24 + 8 + 3] = 0x7F;  // EXIF IFD pointer far past the end
  EXPECT_EQ(BuildGpsCopy(exifFar.data(), exifFar.size(), p, copy), GpsCopyOutcome::Layout);
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 60);
  EXPECT_EQ(BuildGpsCopy(cut.data(), cut.size(), p, copy), GpsCopyOutcome::Layout);
  std::vector<std::uint8_t> tooLong = bytes;
  tooLong[4] = 0xFF;
  tooLong[5] = 0x30;
  tooLong.resize(0xFF40, 0);
  EXPECT_EQ(BuildGpsCopy(tooLong.data(), tooLong.size(), p, copy), GpsCopyOutcome::Layout);
  std::vector<std::uint8_t> badOrder = bytes;
  badOrder[12] = 'M';
  EXPECT_EQ(BuildGpsCopy(badOrder.data(), badOrder.size(), p, copy), GpsCopyOutcome::NotExif);
  EXPECT_EQ(BuildGpsCopy(bytes.data(), 0, p, copy), GpsCopyOutcome::NotExif);
  EXPECT_TRUE(copy.empty());
}

TEST(WriteGpsPhotoCopy, UnsupportedCameraLeavesNoCopyAndNoEmptyGpsFolder) {
  const test::TempDir dir("unsupported");
  TinyJpeg fuji;
  fuji.make = "FUJIFILM";
  test::WriteBytes(dir.path / "f.jpg", fuji.Build());
  const GpsCopyResult r = WriteGpsPhotoCopy(dir.path / "f.jpg", Point(1, 1, 1, 1000));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.supported);  // every make is written now
  EXPECT_TRUE(std::filesystem::exists(dir.path / "GPS" / "f_GPS.jpg"));

  test::WriteBytes(dir.path / "c.JPG", TinyJpeg().Build());
  const GpsCopyResult ok = WriteGpsPhotoCopy(dir.path / "c.JPG", Point(1, 1, 1, 1000));
  EXPECT_EQ(ok.status, 0);
  EXPECT_TRUE(ok.supported);
  EXPECT_TRUE(std::filesystem::exists(dir.path / "GPS" / "c_GPS.jpg"));
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path / "GPS")) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);  // no temporary left behind

  const GpsCopyResult missing = WriteGpsPhotoCopy(dir.path / "none.jpg", Point(1, 1, 1, 1000));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.messageId, txt::PhotoOpenFailed);
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

// The warnings exiftool gives for a file, with numbers taken out (a maker note base it had to
// adjust moves with the note) and without the file name lines.
std::multiset<std::string> Warnings(const std::filesystem::path& file) {
  std::istringstream in(test::RunCommand("exiftool -validate -warning -a " + test::Quote(file) + " 2>&1"));
  std::multiset<std::string> out;
  std::string line;
  static const std::regex number("-?[0-9]+");
  while (std::getline(in, line)) {
    if (line.rfind("Warning", 0) != 0) continue;
    out.insert(std::regex_replace(line, number, "N"));
  }
  return out;
}

struct Segments {
  std::size_t app1End = 0;
  std::vector<std::uint8_t> thumbnail;
};

// Where the EXIF APP1 ends, and the thumbnail exiftool extracts.
Segments Inspect(const std::filesystem::path& file) {
  const auto bytes = test::ReadBytes(file);
  Segments s;
  std::size_t pos = 2;
  while (pos + 4 <= bytes.size()) {
    const std::size_t len = static_cast<std::size_t>(bytes[pos + 2] << 8 | bytes[pos + 3]);
    if (bytes[pos + 1] == 0xE1 && bytes[pos + 4] == 'E') {
      s.app1End = pos + 2 + len;
      break;
    }
    pos += 2 + len;
  }
  const std::string thumb = test::RunCommand("exiftool -b -ThumbnailImage " + test::Quote(file) + " 2>/dev/null");
  s.thumbnail.assign(thumb.begin(), thumb.end());
  return s;
}

TEST(WriteGpsPhotoCopy, RealCameraPhotosReadBackWithExiftoolAndExiv2) {
  if (!test::HaveTool("exiftool") || !test::HaveTool("exiv2")) GTEST_SKIP() << "exiftool or exiv2 is not installed";
  const test::TempDir dir("real");
  const std::filesystem::path photos = std::filesystem::path(KAVRO_TEST_DATA) / "photos";
  const TrackPoint p = Point(-33.8568f, 151.2153f, 12.345f, Utc(2008, 2, 28, 23, 59, 59));
  const TrackPoint below = Point(47.5f, -122.25f, -20.5f, Utc(2008, 2, 28, 1, 2, 3));
  int written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(photos)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Canon_", 0) != 0 && name.rfind("Sony_", 0) != 0) continue;
    SCOPED_TRACE(name);
    const std::filesystem::path original = dir.path / name;
    std::filesystem::copy_file(entry.path(), original);
    const bool belowSea = (written % 2) == 1;
    const GpsCopyResult r = WriteGpsPhotoCopy(original, belowSea ? below : p);
    ASSERT_EQ(r.status, 0);
    ASSERT_TRUE(std::filesystem::exists(r.copyPath));
    ++written;

    const std::string values = test::RunCommand("exiftool -n -s3 -GPSLatitude -GPSLongitude -GPSAltitude "
                                                "-GPSDateStamp -GPSTimeStamp -GPSVersionID " +
                                                test::Quote(r.copyPath));
    if (belowSea) {
      EXPECT_EQ(Trim(values), "47.5\n-122.25\n-20.5\n2008:02:28\n01:02:03\n2 2 0 0");
    } else {
      EXPECT_EQ(Trim(values), "-33.8568\n151.2153\n12.35\n2008:02:28\n23:59:59\n2 2 0 0");
    }
    const std::string exiv2 = test::RunCommand("exiv2 -pa " + test::Quote(r.copyPath) + " 2>/dev/null");
    EXPECT_NE(exiv2.find("Exif.GPSInfo.GPSVersionID                    Byte        4  2.2.0.0"), std::string::npos);
    EXPECT_NE(exiv2.find(belowSea ? "Below sea level" : "Above sea level"), std::string::npos);
    EXPECT_NE(exiv2.find(belowSea ? "47deg 30' 0\"" : "33deg 51' 24\""), std::string::npos);
    EXPECT_NE(exiv2.find("2008:02:28"), std::string::npos);

    // No new complaint from the validator.
    const std::multiset<std::string> before = Warnings(original);
    const std::multiset<std::string> after = Warnings(r.copyPath);
    for (const std::string& w : after) EXPECT_LE(after.count(w), before.count(w)) << w;

    // Everything after the APP1 and the thumbnail unchanged.
    const Segments a = Inspect(original);
    const Segments b = Inspect(r.copyPath);
    const auto ob = test::ReadBytes(original);
    const auto cb = test::ReadBytes(r.copyPath);
    ASSERT_GT(a.app1End, 0u);
    EXPECT_EQ(cb.size() - b.app1End, ob.size() - a.app1End);
    EXPECT_TRUE(std::equal(ob.begin() + static_cast<long>(a.app1End), ob.end(), cb.begin() + static_cast<long>(b.app1End)));
    EXPECT_EQ(a.thumbnail, b.thumbnail);
    EXPECT_EQ(ob, test::ReadBytes(entry.path()));  // the photo itself untouched
  }
  EXPECT_EQ(written, 18);
}

// exiftool's warnings for a file, word for word (a maker note base adjusted "by 62" must not
// become "by 74"), without the file name lines.
std::multiset<std::string> ExactWarnings(const std::filesystem::path& file) {
  std::istringstream in(test::RunCommand("exiftool -validate -warning -a " + test::Quote(file) + " 2>&1"));
  std::multiset<std::string> out;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Warning", 0) == 0) out.insert(line);
  }
  return out;
}

// Every tag exiftool decodes, as "[group] name: value" with numbers unconverted; GPS, file and
// tool tags aside, and the thumbnail's place, which the GPS directory moves.
std::vector<std::string> DecodedTags(const std::filesystem::path& file) {
  std::istringstream in(test::RunCommand("exiftool -a -G1 -s -n " + test::Quote(file) + " 2>&1"));
  std::vector<std::string> out;
  std::string line;
  static const std::regex skip(R"(^\[(GPS|File|System|ExifTool|Composite)\] |^\[IFD1\] +ThumbnailOffset )");
  while (std::getline(in, line)) {
    if (!std::regex_search(line, skip)) out.push_back(line);
  }
  return out;
}

void ExpectDecodesLike(const std::filesystem::path& original, const std::filesystem::path& copy) {
  const std::multiset<std::string> before = ExactWarnings(original);
  const std::multiset<std::string> after = ExactWarnings(copy);
  for (const std::string& w : after) EXPECT_LE(after.count(w), before.count(w)) << "new: " << w;
  const std::vector<std::string> a = DecodedTags(original);
  const std::vector<std::string> b = DecodedTags(copy);
  const std::multiset<std::string> sa(a.begin(), a.end()), sb(b.begin(), b.end());
  for (const std::string& t : sa) EXPECT_EQ(sb.count(t), sa.count(t)) << "changed or lost: " << t;
  for (const std::string& t : sb) EXPECT_EQ(sa.count(t), sb.count(t)) << "new: " << t;
}

// A Canon maker note as the EOS 20D writes it: two values behind the directory, the first one
// 6 bytes after it (not 4), optionally ended by the footer that holds the note's own offset.
std::vector<std::uint8_t> CanonNote(std::uint32_t at, bool footer) {
  std::vector<std::uint8_t> n(footer ? 60 : 52, 0);
  auto entry = [&](std::size_t e, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    PutU16(&n[e], ByteOrder::Little, tag);
    PutU16(&n[e + 2], ByteOrder::Little, type);
    PutU32(&n[e + 4], ByteOrder::Little, count);
    PutU32(&n[e + 8], ByteOrder::Little, value);
  };
  PutU16(&n[0], ByteOrder::Little, 2);
  entry(2, 0x0001, 3, 4, at + 32);    // CameraSettings: its size in bytes, then three values
  entry(14, 0x0006, 2, 12, at + 40);  // ImageType
  for (std::uint16_t i = 0; i < 4; ++i) PutU16(&n[32 + 2u * i], ByteOrder::Little, i == 0 ? 8 : i);
  const char type[] = "IMG:EOS JPG";
  std::copy(type, type + 12, n.begin() + 40);
  if (footer) {
    const std::uint8_t magic[4] = {'I', 'I', 0x2A, 0x00};
    std::copy(magic, magic + 4, n.begin() + 52);
    PutU32(&n[56], ByteOrder::Little, at);
  }
  return n;
}

// The maker note's TIFF offset in a built TinyJpeg (TIFF data from byte 12).
std::uint32_t NoteOffset(const std::vector<std::uint8_t>& jpeg) {
  const ExifBytes tiff(jpeg.data() + 12, jpeg.size() - 12);
  auto find = [&](std::uint32_t ifd, std::uint16_t tag) {
    std::uint16_t n = 0, t = 0;
    std::uint32_t v = 0;
    tiff.U16(ifd, ByteOrder::Little, n);
    for (std::uint16_t i = 0; i < n; ++i) {
      tiff.U16(ifd + 2 + 12u * i, ByteOrder::Little, t);
      if (t == tag) tiff.U32(ifd + 10 + 12u * i, ByteOrder::Little, v);
    }
    return v;
  };
  return find(find(8, kTagExifIfd), kTagMakerNote);
}

// The note moves by the inserted IFD0 entry; its value offsets and its footer move with it,
// whether or not its values start right behind its directory, with or without IFD1.
TEST(BuildGpsCopy, CanonMakerNoteOffsetsAndFooterMoveWithTheNote) {
  const TrackPoint p = Point(-33.8568f, 151.2153f, 12.345f, Utc(2008, 2, 28, 23, 59, 59));
  const test::TempDir dir("canon-note");
  for (bool footer : {false, true}) {
    for (bool ifd1 : {true, false}) {
      SCOPED_TRACE(std::string(footer ? "footer" : "no footer") + (ifd1 ? ", IFD1" : ", no IFD1"));
      TinyJpeg j;
      j.model = "Canon EOS 20D";
      j.withIfd1 = ifd1;
      j.makerNote = [footer](std::uint32_t at) { return CanonNote(at, footer); };
      const std::vector<std::uint8_t> source = j.Build();
      std::vector<std::uint8_t> copy;
      ASSERT_EQ(BuildGpsCopy(source.data(), source.size(), p, copy), GpsCopyOutcome::Written);
      const std::uint32_t from = NoteOffset(source), to = NoteOffset(copy);
      ASSERT_EQ(to, from + kEntryShift);
      const ExifBytes a(source.data() + 12, source.size() - 12), b(copy.data() + 12, copy.size() - 12);
      for (std::uint32_t e : {2u, 14u}) {
        std::uint32_t va = 0, vb = 0;
        a.U32(from + e + 8, ByteOrder::Little, va);
        b.U32(to + e + 8, ByteOrder::Little, vb);
        EXPECT_EQ(vb, va + kEntryShift);
        EXPECT_TRUE(std::equal(a.Data() + va, a.Data() + va + 8, b.Data() + vb));
      }
      std::uint32_t foot = 0;
      b.U32(to + 56, ByteOrder::Little, foot);
      if (footer) {
        EXPECT_EQ(foot, to);
      }
      CheckGpsIfd(copy, false);
      if (!ifd1) {
        std::uint32_t g = 0, link = 0;
        b.U32(10 + 12u * 3 + 8, ByteOrder::Little, g);  // Make, Model, EXIF, GPS
        b.U32(10 + 12u * 4, ByteOrder::Little, link);
        EXPECT_EQ(link, 0u);
        EXPECT_EQ(g % 2, 0u);
        const std::uint32_t tiffSize = static_cast<std::uint32_t>(source[4] << 8 | source[5]) - 8;
        EXPECT_GE(g, tiffSize + kEntryShift);  // behind everything the photo had
      }
      if (test::HaveTool("exiftool")) {
        const std::string name = std::string(footer ? "f" : "n") + (ifd1 ? "1" : "0");
        test::WriteBytes(dir.path / (name + ".jpg"), source);
        test::WriteBytes(dir.path / (name + "_GPS.jpg"), copy);
        EXPECT_EQ(Trim(test::RunCommand("exiftool -s3 -CanonImageType " + test::Quote(dir.path / (name + "_GPS.jpg")))),
                  "IMG:EOS JPG");
        ExpectDecodesLike(dir.path / (name + ".jpg"), dir.path / (name + "_GPS.jpg"));
      }
    }
  }
}

// On every Canon and Sony sample, the copy reads as the photo does: the validator finds nothing
// new, and every tag (maker note tags above all) decodes to the same value.
TEST(WriteGpsPhotoCopy, RealCopiesDecodeLikeTheirPhotos) {
  if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  const test::TempDir dir("decode");
  const std::filesystem::path photos = std::filesystem::path(KAVRO_TEST_DATA) / "photos";
  const TrackPoint p = Point(24.1234567f, 121.5f, 35.5f, Utc(2011, 7, 1, 4, 5, 6));
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(photos)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Canon_", 0) != 0 && name.rfind("Sony_", 0) != 0) continue;
    SCOPED_TRACE(name);
    const std::filesystem::path original = dir.path / name;
    std::filesystem::copy_file(entry.path(), original);
    const GpsCopyResult r = WriteGpsPhotoCopy(original, p);
    ASSERT_EQ(r.status, 0);
    ASSERT_TRUE(std::filesystem::exists(r.copyPath));
    ++checked;

    ExpectDecodesLike(original, r.copyPath);
    const std::string gps = test::RunCommand("exiftool -n -s3 -GPSLatitude -GPSLongitude " + test::Quote(r.copyPath));
    EXPECT_EQ(Trim(gps), "24.1234555555556\n121.5");
  }
  EXPECT_EQ(checked, 18);
}

TEST(WriteGpsPhotoCopy, BrokenAndForeignSamplesGetNoCopy) {
  const test::TempDir dir("broken");
  const std::filesystem::path photos = std::filesystem::path(KAVRO_TEST_DATA) / "photos";
  const TrackPoint p = Point(10, 10, 10, 1000);
  for (const char* name : {"broken_app1_length_too_big.jpg", "broken_byte_order.jpg", "broken_ifd0_offset.jpg",
                           "broken_truncated_in_exif.jpg", "empty.jpg", "not_a_jpeg.jpg", "Casio_QV-7000SX.jpg",
                           "Casio_EX-S1.jpg"}) {
    SCOPED_TRACE(name);
    std::filesystem::copy_file(photos / name, dir.path / name);
    const GpsCopyResult r = WriteGpsPhotoCopy(dir.path / name, p);
    if (std::string(name) == "Casio_EX-S1.jpg") {
      // A camera of another make: its copy now, from the appending writer.
      EXPECT_EQ(r.status, 0);
      EXPECT_TRUE(r.supported);
      EXPECT_TRUE(std::filesystem::exists(r.copyPath));
    } else {
      EXPECT_EQ(r.status, 1);
      EXPECT_FALSE(std::filesystem::exists(r.copyPath));
    }
    EXPECT_EQ(test::ReadBytes(dir.path / name), test::ReadBytes(photos / name));
  }
  std::size_t copies = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path / "GPS")) copies += e.is_regular_file();
  EXPECT_EQ(copies, 1u);
}

}  // namespace
}  // namespace kavro
