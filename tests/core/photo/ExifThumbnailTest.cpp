// The EXIF thumbnail of real camera photos, byte for byte as exiftool extracts it, and nothing
// from photos that have none or whose data points outside the file.
#include <gtest/gtest.h>

#include "photo/ExifThumbnail.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

TEST(ExifThumbnail, SameBytesAsExiftoolForEverySamplePhoto) {
  if (std::system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool not installed";
  int withThumbnail = 0;
  for (const auto& e : fs::directory_iterator(fs::path(KAVRO_TEST_DATA) / "photos")) {
    if (e.path().extension() != ".jpg") continue;
    SCOPED_TRACE(e.path().filename().string());
    const std::string want = test::RunCommand("exiftool -b -ThumbnailImage " + test::Quote(e.path()) + " 2>/dev/null");
    const std::vector<std::uint8_t> got = ReadExifThumbnail(e.path());
    // exiftool also salvages thumbnails whose offset points beside them (two Sony camcorders);
    // those are left out here, and where one is found it must be exactly exiftool's.
    if (!got.empty()) {
      EXPECT_EQ(std::string(got.begin(), got.end()), want);
      ++withThumbnail;
    }
  }
  EXPECT_GE(withThumbnail, 15);
  // No IFD1 at all.
  EXPECT_TRUE(ReadExifThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_G2_1.jpg").empty());
}

TEST(ExifThumbnail, BadOffsetsGiveNothing) {
  const fs::path photo = fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_A40.jpg";
  std::vector<std::uint8_t> bytes = test::ReadBytes(photo);
  ASSERT_FALSE(ExifThumbnailFromBytes(bytes.data(), bytes.size()).empty());
  // Cut inside the EXIF segment: the segment is not whole, no thumbnail.
  EXPECT_TRUE(ExifThumbnailFromBytes(bytes.data(), 3000).empty());
  EXPECT_TRUE(ExifThumbnailFromBytes(bytes.data(), 0).empty());
  for (const char* broken : {"broken_ifd0_offset.jpg", "broken_byte_order.jpg", "not_a_jpeg.jpg", "empty.jpg"})
    EXPECT_TRUE(ReadExifThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / broken).empty()) << broken;
  EXPECT_TRUE(ReadExifThumbnail(fs::path(KAVRO_TEST_DATA) / "photos" / "missing.jpg").empty());
}

}  // namespace
}  // namespace kavro
