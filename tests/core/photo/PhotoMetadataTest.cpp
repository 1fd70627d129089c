#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/Texts.h"
#include "photo/ExifReader.h"
#include "photo/PhotoMetadata.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
const fs::path kPhotos = fs::path(KAVRO_TEST_DATA) / "photos";

std::string ExiftoolDate(const fs::path& p) {
  std::string out = test::RunCommand("exiftool -s3 -DateTimeOriginal '" + p.string() + "' 2>/dev/null");
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

TEST(PhotoMetadata, KindsByExtensionInAnyCase) {
  EXPECT_EQ(PhotoFileKindOf("a/b.JPG"), PhotoFileKind::Jpeg);
  EXPECT_EQ(PhotoFileKindOf("b.jpeg"), PhotoFileKind::Jpeg);
  EXPECT_EQ(PhotoFileKindOf("b.Cr3"), PhotoFileKind::Raw);
  EXPECT_EQ(PhotoFileKindOf("b.NEF"), PhotoFileKind::Raw);
  EXPECT_EQ(PhotoFileKindOf("b.heif"), PhotoFileKind::Heic);
  EXPECT_EQ(PhotoFileKindOf("b.HEIC"), PhotoFileKind::Heic);
  EXPECT_EQ(PhotoFileKindOf("b.xmp"), PhotoFileKind::Other);
  EXPECT_EQ(PhotoFileKindOf("jpg"), PhotoFileKind::Other);
  EXPECT_FALSE(IsPhotoFileName("b.jpg.xmp"));
  EXPECT_TRUE(IsPhotoFileName("b.dng"));
}

// Every camera of the test set: the capture time exiftool reads is the one we read.
TEST(PhotoMetadata, CaptureTimeOfEveryMakeAndRawAsExiftoolReadsIt) {
  int compared = 0;
  for (const char* folder : {"makes", "raw"}) {
    for (const auto& entry : fs::directory_iterator(kPhotos / folder)) {
      const PhotoMetadata m = ReadPhotoMetadata(entry.path());
      const std::string expected = ExiftoolDate(entry.path());
      SCOPED_TRACE(entry.path().string());
      if (expected.empty()) {
        EXPECT_FALSE(m.dateTimeOriginal.has_value());
        EXPECT_EQ(m.messageId, txt::NoPhotoDate);
        EXPECT_TRUE(m.readable);
        continue;
      }
      ASSERT_TRUE(m.readable) << m.detail;
      ASSERT_TRUE(m.dateTimeOriginal.has_value());
      EXPECT_EQ(*m.dateTimeOriginal, expected);
      EXPECT_FALSE(m.make.empty());
      ++compared;
    }
  }
  EXPECT_GE(compared, 26);
}

TEST(PhotoMetadata, OffsetsMakeAndExistingPositions) {
  const PhotoMetadata heic = ReadPhotoMetadata(kPhotos / "raw" / "Apple_iPhone.heic");
  EXPECT_EQ(heic.kind, PhotoFileKind::Heic);
  EXPECT_EQ(heic.make, "Apple");
  ASSERT_TRUE(heic.offsetTimeOriginal.has_value());
  EXPECT_EQ(*heic.offsetTimeOriginal, "-04:00");
  EXPECT_FALSE(heic.hasGpsPosition);
  EXPECT_TRUE(ReadPhotoMetadata(kPhotos / "raw" / "exif_at_end.heic").hasGpsPosition);
  EXPECT_TRUE(ReadPhotoMetadata(kPhotos / "makes" / "Apple_iPhone_4.jpg").hasGpsPosition);
  const PhotoMetadata nikon = ReadPhotoMetadata(kPhotos / "makes" / "Nikon_D1X.jpg");
  EXPECT_EQ(nikon.make, "NIKON CORPORATION");
  EXPECT_FALSE(nikon.hasGpsPosition);
  EXPECT_EQ(ReadPhotoMetadata(kPhotos / "raw" / "Nikon_D70s.nef").kind, PhotoFileKind::Raw);
}

// The JPEG text gives exactly the time the JPEG reader gives, broken photos included.
TEST(PhotoMetadata, JpegTextParsesToTheReadersTime) {
  const ZoneClock zone = ZoneClock::Fixed(8 * 60);
  for (const auto& entry : fs::directory_iterator(kPhotos)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".jpg") continue;
    SCOPED_TRACE(entry.path().string());
    const PhotoMetadata m = ReadPhotoMetadata(entry.path());
    const PhotoTimeResult taken = ReadPhotoTakenTime(entry.path(), zone);
    ASSERT_EQ(m.dateTimeOriginal.has_value(), taken.status == 0 || taken.messageId == txt::PhotoDateFormatError);
    if (taken.status == 0) {
      EXPECT_EQ(ParseExifDateTime(m.dateTimeOriginal->data(), m.dateTimeOriginal->size(), zone), taken.captureTime);
    } else if (!m.dateTimeOriginal) {
      EXPECT_EQ(m.messageId, taken.messageId);
    }
  }
}

TEST(PhotoMetadata, DamagedAndMissingFilesSayWhyAndNeverThrow) {
  test::TempDir dir("metadata");
  const std::vector<std::uint8_t> nef = test::ReadBytes(kPhotos / "raw" / "Nikon_D70s.nef");
  test::WriteBytes(dir.path / "cut.nef", std::vector<std::uint8_t>(nef.begin(), nef.begin() + 200));
  std::vector<std::uint8_t> heic = test::ReadBytes(kPhotos / "raw" / "Apple_iPhone.heic");
  for (std::size_t i = 0; i < 64 && i < heic.size(); ++i) heic[i] = 0xFF;  // the ftyp box is gone
  test::WriteBytes(dir.path / "broken.heic", heic);
  test::WriteBytes(dir.path / "empty.cr2", {});
  for (const char* name : {"cut.nef", "broken.heic", "empty.cr2"}) {
    SCOPED_TRACE(name);
    const PhotoMetadata m = ReadPhotoMetadata(dir.path / name);
    EXPECT_FALSE(m.readable && m.dateTimeOriginal.has_value());
    EXPECT_NE(m.messageId, 0);
  }
  const PhotoMetadata missing = ReadPhotoMetadata(dir.path / "missing.dng");
  EXPECT_FALSE(missing.readable);
  EXPECT_EQ(missing.messageId, txt::PhotoOpenFailed);
  EXPECT_FALSE(missing.detail.empty());
  EXPECT_FALSE(ReadPhotoMetadata(kPhotos / "not_a_jpeg.jpg").readable);
  EXPECT_FALSE(ReadPhotoMetadata(kPhotos / "empty.jpg").readable);
}

}  // namespace
}  // namespace kavro
