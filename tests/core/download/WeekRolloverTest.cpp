// Records of a GPS chip whose week counter rolled over: dated 1024 (or 2048) weeks early, kept
// with the corrected time; nothing the year window keeps is ever changed.
#include <gtest/gtest.h>

#include <cstring>

#include "download/LogDecoder.h"

namespace kavro {
namespace {

constexpr int kYear = 2026;
constexpr std::int32_t T = 1767225600 + 86400 * 40;  // 2026-02-10 00:00:00 UTC
constexpr std::int32_t kWeeks1024 = 1024 * 7 * 86400;

struct Sector {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(memory::kSectorSize, 0xFF);
  void Put(std::size_t i, const TrackRecord& r) {
    std::memcpy(bytes.data() + memory::kSectorHeaderSize + i * 16, r.bytes.data(), 16);
  }
  void Put(std::size_t i, const char* marker) {
    std::memcpy(bytes.data() + memory::kSectorHeaderSize + i * 16, marker, 16);
  }
};

TrackRecord Rec(std::int32_t time) { return TrackRecord::Make(time, 52.5f, 13.4f, 35.0f); }

std::vector<std::int32_t> Times(const LogDecoder& d) {
  std::vector<std::int32_t> t;
  for (const TrackRecord& r : d.Ordered()) t.push_back(IsLogStartMarker(r.bytes.data()) ? -1 : r.Time());
  return t;
}

LogDecoder Decode(const Sector& s, bool weekFix) {
  LogDecoder d;
  d.SetWeekFix(weekFix);
  d.ResetDecoder(ZoneClock::Fixed(0), kYear);
  d.DecodeSector(s.bytes.data());
  return d;
}

TEST(WeekRollover, EarlyRecordsAreKeptWithTheirCorrectedTimeAndChecksum) {
  Sector s;
  s.Put(0, kLogStartMarker);
  s.Put(1, Rec(T - kWeeks1024));
  s.Put(2, Rec(T + 5 - kWeeks1024));
  s.Put(3, Rec(T + 10 - 2 * kWeeks1024));  // a chip that lost 2048 weeks
  s.Put(4, Rec(T + 15));                    // already right: left as it is
  const LogDecoder d = Decode(s, true);
  EXPECT_EQ(Times(d), (std::vector<std::int32_t>{-1, T, T + 5, T + 10, T + 15}));
  EXPECT_EQ(d.ValidCount(), 4);
  EXPECT_EQ(d.WeekFixedCount(), 3);
  for (std::size_t i = 1; i < d.Ordered().size(); ++i) {
    EXPECT_TRUE(d.Ordered()[i].IsValid()) << i;
    // Position and height are the logger's bytes.
    EXPECT_EQ(std::memcmp(d.Ordered()[i].bytes.data() + 4, Rec(0).bytes.data() + 4, 11), 0) << i;
  }
  EXPECT_FALSE(d.WrapFound());
}

TEST(WeekRollover, WithoutTheFixTheYearWindowDropsThem) {
  Sector s;
  s.Put(0, Rec(T - kWeeks1024));
  s.Put(1, Rec(T - 2 * kWeeks1024));
  s.Put(2, Rec(T));
  const LogDecoder d = Decode(s, false);
  EXPECT_EQ(Times(d), (std::vector<std::int32_t>{T}));
  EXPECT_EQ(d.WeekFixedCount(), 0);
  // The choice stays across a reset.
  LogDecoder again;
  again.SetWeekFix(false);
  again.ResetDecoder(ZoneClock::Fixed(0), kYear);
  EXPECT_FALSE(again.WeekFix());
}

TEST(WeekRollover, OnlyRecordsThatLandInTheWindowAreCorrected) {
  Sector s;
  // Four years early: 1024 weeks later is 15.6 years ahead, still outside.
  s.Put(0, Rec(T - 4 * 366 * 86400));
  // Just outside the window either way stays outside.
  s.Put(1, Rec(T - kWeeks1024 - 4 * 366 * 86400));
  // The all-zero slot passes its checksum; it stays dropped.
  std::uint8_t zero[16] = {};
  std::memcpy(s.bytes.data() + memory::kSectorHeaderSize + 2 * 16, zero, 16);
  // A record in the window that would also fit 1024 weeks earlier is not a rollover.
  s.Put(3, Rec(T - 3 * 365 * 86400));
  // 1024 weeks past the end of 32-bit seconds cannot be a time.
  s.Put(4, Rec(INT32_MAX - 100));
  const LogDecoder d = Decode(s, true);
  EXPECT_EQ(Times(d), (std::vector<std::int32_t>{T - 3 * 365 * 86400}));
  EXPECT_EQ(d.WeekFixedCount(), 0);
}

TEST(WeekRollover, CorrectedTimesTakePartInTheWrapOrder) {
  // Overwritten memory: the newest records (right) at the start, older rolled-over ones after.
  Sector s;
  s.Put(0, Rec(T + 100));
  s.Put(1, Rec(T + 200));
  s.Put(2, Rec(T - kWeeks1024));
  s.Put(3, Rec(T + 50 - kWeeks1024));
  const LogDecoder d = Decode(s, true);
  EXPECT_TRUE(d.WrapFound());
  EXPECT_EQ(d.WrapStart(), 2u);
  EXPECT_EQ(Times(d), (std::vector<std::int32_t>{T, T + 50, T + 100, T + 200}));
}

}  // namespace
}  // namespace kavro
