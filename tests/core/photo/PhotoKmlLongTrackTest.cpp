#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/TextFile.h"
#include "photo/PhotoKml.h"
#include "photo/PhotoMatcher.h"
#include "support/PhotoTestSupport.h"

// A long track through the UTF-16 file the photo page writes: many large writes, photos whose
// paths hold two-, three- and four-byte characters, numbers of every sign and rounding. The
// checksums were taken from the writer before it was made fast; any change of a byte shows.

namespace kavro {
namespace {

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

struct LongTrack {
  test::TempDir dir{"kml-long"};
  std::filesystem::path trl = dir.path / "long.trl";
  std::vector<TrackPoint> points;
  std::vector<PhotoEntry> photos;
  std::vector<PhotoOrderEntry> order;

  LongTrack(int count, const ZoneClock& zone, std::int32_t calibration) {
    std::uint32_t seed = 2024;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    std::vector<TrackRecord> records;
    for (int i = 0; i < count; ++i) {
      // Whole hundredths and sevenths of a degree meet ties and carries; some points south and west.
      const float lat = static_cast<float>(static_cast<int>(next() % 1800000) - 900000) / 10000.0f;
      const float lon = static_cast<float>(static_cast<int>(next() % 3600000) - 1800000) / 10000.0f + 1.0f / 7.0f;
      const float alt = static_cast<float>(static_cast<int>(next() % 2000000) - 50000) / 128.0f;
      records.push_back(TrackRecord::Make(1205544612 + 5 * i + static_cast<int>(next() % 3), lat, lon, alt));
    }
    test::WriteTrl(trl, records);
    LoadTrack(trl, zone, points);
    const char* names[] = {"IMG_%d.jpg", "Ärger_%d.jpg", "写真_%d.JPG", "📷 %d & \"x\" ]]>.jpg", "plain %d.jpeg"};
    for (int i = 0, k = 0; i < static_cast<int>(points.size()); i += 97, ++k) {
      char name[64];
      std::snprintf(name, sizeof name, names[k % 5], i);
      const std::int32_t t = points[static_cast<std::size_t>(i)].time - calibration + (k % 3) - 1;
      photos.push_back({std::string("/pics/") + name, t, t});
      if (k % 7 == 0) photos.push_back({std::string("/pics/twin_") + name, t, t});
    }
    CalibratePhotos(photos, calibration);
    std::vector<TrackOrderEntry> track;
    SortTrack(points, track);
    SortPhotos(photos, order);
    MatchPhotosToTrack(track, order);
  }

  std::vector<std::uint8_t> WriteUtf16(const ZoneClock& zone, std::int32_t calibration) {
    PhotoKmlInput in;
    in.trlPath = trl;
    in.points = &points;
    in.photoOrder = &order;
    in.photos = &photos;
    in.calibrationSeconds = calibration;
    in.photoZone = zone;
    const std::filesystem::path kml = dir.path / "photos.kml";
    TextFile file;
    EXPECT_TRUE(file.Open(kml, TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode |
                                   TextFile::ModeReplace));
    EXPECT_TRUE(WritePhotoKml(file, in));
    EXPECT_TRUE(file.Close());
    return test::ReadBytes(kml);
  }
};

TEST(PhotoKmlLongTrack, Utf16FileKeepsItsBytesWithAndWithoutCalibration) {
  const ZoneClock east = ZoneClock::Fixed(480);
  LongTrack plain(30000, east, 0);
  const std::vector<std::uint8_t> a = plain.WriteUtf16(east, 0);
  EXPECT_EQ(a.size(), 13983432u);
  EXPECT_EQ(Fnv1a(a), 11506356440625815465ull);

  const ZoneClock west = ZoneClock::Fixed(-210);
  LongTrack calibrated(12000, west, -3725);
  const std::vector<std::uint8_t> b = calibrated.WriteUtf16(west, -3725);
  EXPECT_EQ(b.size(), 5615296u);
  EXPECT_EQ(Fnv1a(b), 2865271392989150849ull);
  if (test::HaveTool("xmllint")) {
    int status = 0;
    const std::string out =
        test::RunCommand("xmllint --noout " + test::Quote(calibrated.dir.path / "photos.kml") + " 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
  }
}

// The same document as UTF-8 text, widened in one piece, is the file after its byte-order mark:
// however the writes were cut, no character was split or changed.
TEST(PhotoKmlLongTrack, FileIsTheUtf8DocumentWidenedInOnePiece) {
  const ZoneClock zone = ZoneClock::Fixed(0);
  LongTrack t(9000, zone, 0);
  const std::vector<std::uint8_t> file = t.WriteUtf16(zone, 0);
  PhotoKmlInput in;
  in.trlPath = t.trl;
  in.points = &t.points;
  in.photoOrder = &t.order;
  in.photos = &t.photos;
  in.photoZone = zone;
  StringSink text;
  ASSERT_TRUE(WritePhotoKml(text, in));
  const std::string wide = Utf8ToUtf16Le(text.data);
  ASSERT_EQ(file.size(), wide.size() + 2);
  EXPECT_EQ(file[0], 0xFF);
  EXPECT_EQ(file[1], 0xFE);
  EXPECT_TRUE(std::equal(wide.begin(), wide.end(), file.begin() + 2, [](char c, std::uint8_t b) {
    return static_cast<std::uint8_t>(c) == b;
  }));
  ASSERT_EQ(t.points.size(), 9000u);
  std::size_t balloons = 0;
  for (std::size_t p = text.data.find("Photo Matched:"); p != std::string::npos; p = text.data.find("Photo Matched:", p + 1)) {
    ++balloons;
  }
  EXPECT_EQ(balloons, 92u);  // a photo every 97th point but the first, a second before the track
  EXPECT_NE(text.data.find("写真_"), std::string::npos);
  EXPECT_NE(text.data.find("📷 291 &amp; &quot;x&quot; ]]&gt;.jpg"), std::string::npos);
}

}  // namespace
}  // namespace kavro
