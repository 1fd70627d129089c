#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

#include "download/LogDecoder.h"
#include "download/TrackFileWriter.h"

namespace kavro {
namespace {

constexpr int kYear = 2026;
constexpr std::int32_t T = 1767225600 + 86400 * 40;  // 2026-02-10 00:00:00 UTC

// A sector in the real layout: 512-byte header, then 4064 slots, all empty at first.
struct Sector {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(memory::kSectorSize, 0xFF);
  Sector() { std::memset(bytes.data(), 0x5A, memory::kSectorHeaderSize); }
  std::uint8_t* Slot(std::size_t i) { return bytes.data() + memory::kSectorHeaderSize + i * 16; }
  void Put(std::size_t i, const TrackRecord& r) { std::memcpy(Slot(i), r.bytes.data(), 16); }
  void Put(std::size_t i, const char* marker) { std::memcpy(Slot(i), marker, 16); }
  void Fill(std::size_t i) {
    std::memset(Slot(i), 0xAA, 7);
    for (int k = 7; k < 12; ++k) Slot(i)[k] = static_cast<std::uint8_t>(k * 13);
    std::memset(Slot(i) + 12, 0xBB, 4);
  }
};

TrackRecord Rec(std::int32_t time, float lat = 25.0f, float lon = 121.0f) { return TrackRecord::Make(time, lat, lon, 10.0f); }

std::vector<std::int32_t> Times(const std::vector<TrackRecord>& list) {
  std::vector<std::int32_t> t;
  for (const auto& r : list) t.push_back(IsLogStartMarker(r.bytes.data()) ? -1 : r.Time());
  return t;
}

class Decoder : public ::testing::Test {
 protected:
  void SetUp() override { decoder.ResetDecoder(ZoneClock::Fixed(0), kYear); }
  LogDecoder decoder;
};

TEST_F(Decoder, EmptyFillAndZeroSlotsAddNothing) {
  Sector s;
  s.Fill(0);
  s.Fill(4063);
  std::memset(s.Slot(7), 0, 16);  // passes the checksum, fails the year window
  decoder.DecodeSector(s.bytes.data());
  EXPECT_EQ(decoder.EntryCount(), 0u);
  EXPECT_EQ(decoder.ValidCount(), 0);
  EXPECT_EQ(decoder.SegmentCount(), 1);
  EXPECT_TRUE(decoder.Ordered().empty());
}

TEST_F(Decoder, WrapRotatesAtTheLastDecreaseAndMarkersMoveAlong) {
  Sector s;
  s.Put(0, Rec(T));
  s.Put(1, Rec(T + 100));
  s.Put(2, Rec(T + 200));
  s.Put(3, Rec(T - 50));
  s.Put(4, Rec(T - 40));
  decoder.DecodeSector(s.bytes.data());
  EXPECT_TRUE(decoder.WrapFound());
  EXPECT_EQ(decoder.WrapStart(), 3u);
  EXPECT_EQ(Times(decoder.Ordered()), (std::vector<std::int32_t>{T - 50, T - 40, T, T + 100, T + 200}));

  // Two decreases (the second across a marker, which takes no part in the comparison).
  decoder.ResetDecoder(ZoneClock::Fixed(0), kYear);
  Sector two;
  two.Put(0, Rec(T + 10));
  two.Put(1, Rec(T + 5));  // first decrease
  two.Put(2, Rec(T + 20));
  two.Put(3, kLogStartMarker);
  two.Put(4, Rec(T + 1));  // last decrease: decides
  two.Put(5, Rec(T + 2));
  decoder.DecodeSector(two.bytes.data());
  EXPECT_EQ(decoder.WrapStart(), 4u);
  EXPECT_EQ(decoder.MarkerCount(), 1);
  EXPECT_EQ(Times(decoder.Ordered()), (std::vector<std::int32_t>{T + 1, T + 2, T + 10, T + 5, T + 20, -1}));
}

TEST_F(Decoder, NoWrapKeepsMemoryOrderAcrossSectors) {
  Sector a, b;
  a.Put(4063, Rec(T));
  b.Put(0, Rec(T + 1));
  decoder.DecodeSector(a.bytes.data());
  decoder.DecodeSector(b.bytes.data());
  EXPECT_FALSE(decoder.WrapFound());
  EXPECT_EQ(Times(decoder.Ordered()), (std::vector<std::int32_t>{T, T + 1}));
}

TEST_F(Decoder, YearWindowInTheZoneInForce) {
  const std::int32_t y2022End = 1672529400;  // 2022-12-31 23:30:00 UTC
  const std::int32_t y2023 = 1672531200 + 86400;  // 2023-01-02
  const std::int32_t y2029 = 1861920000 + 86400 * 300;  // late 2029
  const std::int32_t y2030 = 1893456000 + 86400;  // 2030-01-02
  Sector s;
  s.Put(0, Rec(y2022End));  // 2022 at +00:00: four years back, dropped
  s.Put(1, Rec(y2023));     // three years back: kept
  s.Put(2, Rec(y2029));
  s.Put(3, Rec(y2030));     // four years ahead: dropped
  s.Put(4, Rec(-10));       // no local form: year 1900
  decoder.DecodeSector(s.bytes.data());
  EXPECT_EQ(Times(decoder.Raw()), (std::vector<std::int32_t>{y2023, y2029}));

  // At +13:00 the last half hour of 2022 is already 2023.
  decoder.ResetDecoder(ZoneClock::Fixed(13 * 60), kYear);
  decoder.DecodeSector(s.bytes.data());
  EXPECT_EQ(Times(decoder.Raw()), (std::vector<std::int32_t>{y2022End, y2023, y2029}));
}

TEST_F(Decoder, WaypointFlagSkipsBadRecordsAndCrossesSectorEnds) {
  Sector a;
  TrackRecord bad = Rec(T + 1);
  bad.bytes[15] ^= 0x20;
  a.Put(0, Rec(T));
  a.Put(1, kWaypointMarker);
  a.Put(2, bad);            // the record after the marker is dropped...
  a.Put(3, Rec(T + 2));     // ...so the next accepted one carries the flag
  a.Put(4, Rec(T + 3));
  a.Put(4063, kWaypointMarker);  // last slot: flag waits for the next sector
  Sector b;
  b.Fill(0);
  b.Put(1, Rec(T + 4));
  b.Put(2, Rec(T + 5));
  decoder.DecodeSector(a.bytes.data());
  decoder.DecodeSector(b.bytes.data());
  EXPECT_EQ(decoder.WaypointCount(), 2);
  EXPECT_EQ(Times(decoder.Ordered()), (std::vector<std::int32_t>{T, T + 2, T + 3, T + 4, T + 5}));
  EXPECT_EQ(decoder.OrderedWaypointFlags(), (std::vector<std::uint8_t>{0, 1, 0, 1, 0}));
}

TEST_F(Decoder, SlotAfterAWaypointMarkerIsReadAsData) {
  Sector s;
  s.Put(0, kWaypointMarker);
  s.Put(1, kLogStartMarker);  // read as a data record: fails its checksum, no marker
  s.Put(2, Rec(T));
  decoder.DecodeSector(s.bytes.data());
  EXPECT_EQ(decoder.MarkerCount(), 0);
  EXPECT_EQ(decoder.OrderedWaypointFlags(), (std::vector<std::uint8_t>{1}));
}

TEST_F(Decoder, PendingFlagLandsOnAMarkerAndIsLost) {
  Sector s;
  s.Put(0, Rec(T));
  s.Put(1, kWaypointMarker);
  TrackRecord bad = Rec(T + 5);
  bad.bytes[2] ^= 1;
  s.Put(2, bad);
  s.Put(3, kLogStartMarker);
  s.Put(4, Rec(T + 1));
  decoder.DecodeSector(s.bytes.data());
  EXPECT_EQ(decoder.OrderedWaypointFlags(), (std::vector<std::uint8_t>{0, 1, 0}));
  const auto dir = std::filesystem::temp_directory_path() / ("kavro-lost-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  TrackFilesOptions options{dir, false, "U", ZoneClock::Fixed(0)};
  const auto result = WriteTrackFiles(decoder, options);
  EXPECT_EQ(result.Written().size(), 3u);  // two tracks and an empty waypoints file
  EXPECT_EQ(std::filesystem::file_size(result.waypointsFile), 0u);
  std::filesystem::remove_all(dir);
}

TEST_F(Decoder, WholeImageAndResetClearsEverything) {
  std::vector<std::uint8_t> image;
  for (int sector = 0; sector < 32; ++sector) {
    Sector s;
    for (std::size_t i = 0; i < memory::kSlotsPerSector; ++i)
      s.Put(i, Rec(T + sector * 4064 + static_cast<std::int32_t>(i)));
    image.insert(image.end(), s.bytes.begin(), s.bytes.end());
  }
  ASSERT_EQ(image.size(), memory::kSize);
  decoder.DecodeImage(image.data(), image.size());
  EXPECT_EQ(decoder.EntryCount(), 130048u);
  EXPECT_EQ(decoder.ValidCount(), 130048);
  EXPECT_EQ(decoder.Ordered().back().Time(), T + 130047);
  decoder.ResetDecoder(ZoneClock::Fixed(0), kYear);
  EXPECT_EQ(decoder.EntryCount(), 0u);
  EXPECT_EQ(decoder.ValidCount(), 0);
  EXPECT_FALSE(decoder.WrapFound());
}

}  // namespace
}  // namespace kavro
