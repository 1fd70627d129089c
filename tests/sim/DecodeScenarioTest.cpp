// The program's own decoder reads each scenario's memory as the scenario meant it.
#include <gtest/gtest.h>

#include <algorithm>

#include "Simulator.h"
#include "download/LogDecoder.h"

namespace kavro::sim {
namespace {

constexpr std::int64_t kNow = 1781524800;  // 2026-06-15 12:00 UTC
constexpr int kYear = 2026;

LogDecoder Decode(const std::string& name) {
  const auto image = BuildMemoryImage(*ScenarioByName(name, kNow));
  LogDecoder decoder;
  decoder.ResetDecoder(ZoneClock::Fixed(0), kYear);
  decoder.DecodeImage(image.data(), image.size());
  return decoder;
}

bool TimeOrdered(const LogDecoder& d) {
  std::int32_t last = 0;
  for (const TrackRecord& r : d.Ordered()) {
    if (IsLogStartMarker(r.bytes.data())) continue;
    if (r.Time() < last) return false;
    last = r.Time();
  }
  return true;
}

TEST(DecodeScenario, DemoGivesThreeTracksAndSevenWaypoints) {
  const LogDecoder d = Decode("demo");
  EXPECT_EQ(d.MarkerCount(), 3);
  EXPECT_EQ(d.WaypointCount(), 7);
  EXPECT_EQ(d.ValidCount(), 900 + 3600 + 400);
  EXPECT_FALSE(d.WrapFound());
  EXPECT_EQ(std::count(d.OrderedWaypointFlags().begin(), d.OrderedWaypointFlags().end(), 1), 7);
  EXPECT_TRUE(TimeOrdered(d));
}

TEST(DecodeScenario, WrappedIsRotatedIntoTimeOrder) {
  const LogDecoder d = Decode("wrapped");
  EXPECT_TRUE(d.WrapFound());
  EXPECT_GT(d.WrapStart(), 0u);
  EXPECT_TRUE(TimeOrdered(d));
  // Everything that survived the overwrite: the whole memory less the erased tail of the
  // sector being rewritten.
  const Scenario s = *ScenarioByName("wrapped", kNow);
  const auto pos = WritePosition(s);
  const auto erased = ((pos / memory::kSectorSize + 1) * memory::kSectorSize - pos) / memory::kRecordSize;
  EXPECT_EQ(d.EntryCount() + static_cast<std::size_t>(d.WaypointCount()), memory::kSlotCount - erased);
}

TEST(DecodeScenario, FullAndOtherDecodeWithoutLoss) {
  for (const char* name : {"full", "other"}) {
    SCOPED_TRACE(name);
    const Scenario s = *ScenarioByName(name, kNow);
    const LogDecoder d = Decode(name);
    const auto kept = std::count_if(s.written.begin(), s.written.end(), [](const Slot& slot) {
      return !IsFillSlot(slot.data()) && !IsWaypointMarker(slot.data());
    });
    EXPECT_EQ(d.EntryCount(), static_cast<std::size_t>(kept));
    EXPECT_FALSE(d.WrapFound());
    EXPECT_TRUE(TimeOrdered(d));
  }
}

TEST(DecodeScenario, CorruptLosesOnlyTheDamage) {
  const LogDecoder d = Decode("corrupt");
  // 200 + 300 + 150 track points, the record after the broken waypoint and the one opening sector 1.
  EXPECT_EQ(d.ValidCount(), 200 + 300 + 150 + 2);
  EXPECT_EQ(d.MarkerCount(), 3);
  EXPECT_TRUE(TimeOrdered(d));
  const auto& flags = d.OrderedWaypointFlags();
  EXPECT_EQ(std::count(flags.begin(), flags.end(), 1), 3);
}

// A logger that lost 1024 weeks: corrected, its records are demo's byte for byte; without the
// fix the whole log is out of the year window and nothing is kept, as before.
TEST(DecodeScenario, RolloverComesOutAsDemoAndWithoutTheFixAsNothing) {
  const LogDecoder demo = Decode("demo");
  const LogDecoder fixed = Decode("rollover");
  EXPECT_EQ(fixed.WeekFixedCount(), 900 + 3600 + 400);
  EXPECT_EQ(fixed.ValidCount(), demo.ValidCount());
  ASSERT_EQ(fixed.Ordered().size(), demo.Ordered().size());
  for (std::size_t i = 0; i < demo.Ordered().size(); ++i)
    ASSERT_EQ(fixed.Ordered()[i].bytes, demo.Ordered()[i].bytes) << i;
  EXPECT_EQ(fixed.OrderedWaypointFlags(), demo.OrderedWaypointFlags());
  EXPECT_EQ(demo.WeekFixedCount(), 0);

  const auto image = BuildMemoryImage(*ScenarioByName("rollover", kNow));
  LogDecoder plain;
  plain.SetWeekFix(false);
  plain.ResetDecoder(ZoneClock::Fixed(0), kYear);
  plain.DecodeImage(image.data(), image.size());
  EXPECT_EQ(plain.ValidCount(), 0);
  EXPECT_EQ(plain.WeekFixedCount(), 0);
  EXPECT_EQ(plain.EntryCount(), 3u);  // the three log start markers
}

TEST(DecodeScenario, EmptyGivesNothing) {
  const LogDecoder d = Decode("empty");
  EXPECT_EQ(d.EntryCount(), 0u);
  EXPECT_EQ(d.ValidCount(), 0);
}

}  // namespace
}  // namespace kavro::sim
