// The memory images the scenarios build, read slot by slot as the decoder reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "Simulator.h"
#include "track/TrackRecord.h"

namespace kavro::sim {
namespace {

// A fixed "now" keeps the images the same on every run: 2026-06-15 12:00 UTC.
constexpr std::int64_t kNow = 1781524800;

enum class Kind { Marker, Waypoint, Fill, Empty, Record, Bad };

Kind Classify(const std::uint8_t* p) {
  if (std::memcmp(p, "KAVRORV318LOGGER", 16) == 0) return Kind::Marker;
  if (std::all_of(p, p + 7, [](std::uint8_t b) { return b == 0xAA; }) &&
      std::all_of(p + 12, p + 16, [](std::uint8_t b) { return b == 0xBB; }))
    return Kind::Fill;
  if (std::all_of(p, p + 16, [](std::uint8_t b) { return b == 0xFF; })) return Kind::Empty;
  if (std::memcmp(p, "KAVRORV318WAYPNT", 16) == 0) return Kind::Waypoint;
  return RecordIsValid(p) ? Kind::Record : Kind::Bad;
}

int UtcYear(std::int64_t t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  gmtime_r(&tt, &tm);
  return tm.tm_year + 1900;
}

bool InYearWindow(const std::uint8_t* p, std::int64_t now) {
  const int year = UtcYear(TrackRecord::FromBytes(p).Time());
  return year >= UtcYear(now) - 3 && year <= UtcYear(now) + 3;
}

struct Census {
  int markers = 0, waypoints = 0, fills = 0, empties = 0, records = 0, bad = 0, outOfWindow = 0;
  int waypointsWithRecord = 0;
};

// Walks every slot of the image in memory order.
Census Count(const std::vector<std::uint8_t>& image, std::int64_t now) {
  Census c;
  for (std::uint32_t i = 0; i < memory::kSlotCount; ++i) {
    const std::uint8_t* p = image.data() + SlotAddress(i);
    switch (Classify(p)) {
      case Kind::Marker: ++c.markers; break;
      case Kind::Fill: ++c.fills; break;
      case Kind::Empty: ++c.empties; break;
      case Kind::Waypoint:
        ++c.waypoints;
        if (i + 1 < memory::kSlotCount && Classify(image.data() + SlotAddress(i + 1)) == Kind::Record) ++c.waypointsWithRecord;
        break;
      case Kind::Record:
        ++c.records;
        if (!InYearWindow(p, now)) ++c.outOfWindow;
        break;
      case Kind::Bad: ++c.bad; break;
    }
  }
  return c;
}

bool HeaderWritten(const std::vector<std::uint8_t>& image, std::uint32_t sector) {
  const std::uint8_t* h = image.data() + sector * memory::kSectorSize;
  return !std::all_of(h, h + 16, [](std::uint8_t b) { return b == 0xFF; });
}

Scenario Named(const std::string& name) {
  auto s = ScenarioByName(name, kNow);
  EXPECT_TRUE(s.has_value()) << name;
  return s ? *s : Scenario{};
}

TEST(Geometry, SlotAddressesSkipTheSectorHeaders) {
  EXPECT_EQ(memory::kSlotsPerSector, 4064u);
  EXPECT_EQ(memory::kSlotCount, 130048u);
  EXPECT_EQ(SlotAddress(0), 0x200u);
  EXPECT_EQ(SlotAddress(4063), 0xFFF0u);
  EXPECT_EQ(SlotAddress(4064), 0x10200u);
  EXPECT_EQ(SlotAddress(memory::kSlotCount - 1), 0x1FFFF0u);
}

TEST(Geometry, SpecialSlots) {
  EXPECT_EQ(Classify(LogStartMarker().data()), Kind::Marker);
  EXPECT_EQ(Classify(WaypointMarker().data()), Kind::Waypoint);
  EXPECT_EQ(Classify(FillSlot().data()), Kind::Fill);
  EXPECT_EQ(Classify(EmptySlot().data()), Kind::Empty);
}

TEST(Scenarios, EveryNameBuildsA2MbImageWithAgreeingWritePosition) {
  const auto names = ScenarioNames();
  for (const char* wanted : {"demo", "other", "empty", "wrapped", "full", "corrupt"})
    EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const Scenario s = Named(name);
    EXPECT_EQ(s.name, name);
    EXPECT_LE(s.userName.size(), 16u);
    const auto image = BuildMemoryImage(s);
    ASSERT_EQ(image.size(), 2097152u);
    const std::uint32_t pos = WritePosition(s);
    if (s.written.size() <= memory::kSlotCount) {
      // Unwrapped: everything before the write position is written, everything from it is empty.
      for (std::uint32_t i = 0; i < memory::kSlotCount; ++i) {
        const bool empty = Classify(image.data() + SlotAddress(i)) == Kind::Empty;
        ASSERT_EQ(empty, SlotAddress(i) >= pos) << "slot " << i;
      }
      // The last sector's header tells the memory probe whether the end was ever reached.
      EXPECT_EQ(HeaderWritten(image, memory::kSectorCount - 1), s.written.size() > memory::kSlotCount - memory::kSlotsPerSector);
    }
    EXPECT_EQ(BuildMemoryImage(Named(name)), image) << "not reproducible";
  }
  EXPECT_FALSE(ScenarioByName("no-such-logger", kNow).has_value());
}

TEST(Scenarios, CleanScenariosHoldOnlyValidRecordsInTheYearWindow) {
  for (const char* name : {"demo", "other", "wrapped", "full"}) {
    SCOPED_TRACE(name);
    const auto image = BuildMemoryImage(Named(name));
    const Census c = Count(image, kNow);
    EXPECT_EQ(c.bad, 0);
    EXPECT_EQ(c.outOfWindow, 0);
    EXPECT_GT(c.records, 0);
    EXPECT_GT(c.markers, 0);
    EXPECT_EQ(c.waypointsWithRecord, c.waypoints);
  }
}

TEST(Scenarios, DemoHasTracksWaypointsAndFillAcrossTwoSectors) {
  const Scenario s = Named("demo");
  EXPECT_EQ(s.firmware, 125);
  EXPECT_EQ(s.hardware.substr(0, 2), "12");
  EXPECT_FALSE(s.userName.empty());
  const auto image = BuildMemoryImage(s);
  const Census c = Count(image, kNow);
  EXPECT_EQ(c.markers, 3);
  EXPECT_EQ(c.waypoints, 7);
  EXPECT_EQ(c.fills, 8);
  EXPECT_EQ(c.records, 900 + 3600 + 400);
  const std::uint32_t pos = WritePosition(s);
  EXPECT_GT(pos, memory::kSectorSize);
  EXPECT_LT(pos, 2 * memory::kSectorSize);
  EXPECT_TRUE(HeaderWritten(image, 1));
  EXPECT_FALSE(HeaderWritten(image, 2));
  // The first slot is the first track's start marker; the first record follows it.
  EXPECT_EQ(Classify(image.data() + 0x200), Kind::Marker);
  EXPECT_EQ(Classify(image.data() + 0x210), Kind::Record);
}

TEST(Scenarios, OtherDiffersFromDemoInEveryDeviceValue) {
  const Scenario d = Named("demo");
  const Scenario o = Named("other");
  EXPECT_NE(o.firmware, d.firmware);
  EXPECT_NE(o.hardware.substr(0, 2), d.hardware.substr(0, 2));
  EXPECT_NE(o.userName, d.userName);
  EXPECT_NE(o.basis, d.basis);
  EXPECT_NE(o.timeZone, d.timeZone);
  EXPECT_NE(o.unit, d.unit);
  EXPECT_NE(o.timeInterval, d.timeInterval);
  EXPECT_NE(o.distanceInterval, d.distanceInterval);
  EXPECT_NE(o.recordMode, d.recordMode);
  EXPECT_NE(o.btAddress, d.btAddress);
  EXPECT_NE(WritePosition(o), WritePosition(d));
  EXPECT_EQ(o.unit, 1);
  EXPECT_EQ(o.basis, 1);
  EXPECT_EQ(o.recordMode, 2);
  // Records in both hemispheres and below sea level.
  const auto image = BuildMemoryImage(o);
  bool south = false, west = false, below = false;
  for (std::uint32_t i = 0; i < memory::kSlotCount; ++i) {
    const std::uint8_t* p = image.data() + SlotAddress(i);
    if (Classify(p) != Kind::Record) continue;
    const auto r = TrackRecord::FromBytes(p);
    south |= r.Latitude() < 0;
    west |= r.Longitude() < 0;
    below |= r.Height() < 0;
  }
  EXPECT_TRUE(south && west && below);
}

TEST(Scenarios, EmptyWasNeverWritten) {
  const Scenario s = Named("empty");
  EXPECT_EQ(WritePosition(s), 0u);
  const auto image = BuildMemoryImage(s);
  EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(Scenarios, FullLeavesThreeFreeRecordsInStopMode) {
  const Scenario s = Named("full");
  EXPECT_EQ(s.recordMode, 2);
  const std::uint32_t pos = WritePosition(s);
  EXPECT_EQ((memory::kSize - pos) >> 4, 3u);
  const auto image = BuildMemoryImage(s);
  EXPECT_TRUE(HeaderWritten(image, memory::kSectorCount - 1));
  EXPECT_EQ(Count(image, kNow).empties, 3);
}

// The wrapped memory, read in memory order and rotated at the last backward step of time as the
// decoder does, must come out in time order.
TEST(Scenarios, WrappedMemoryRotatesIntoTimeOrder) {
  const Scenario s = Named("wrapped");
  EXPECT_EQ(s.recordMode, 1);
  EXPECT_GT(s.written.size(), memory::kSlotCount);
  const auto image = BuildMemoryImage(s);
  const std::uint32_t pos = WritePosition(s);
  EXPECT_EQ(pos, SlotAddress(static_cast<std::uint32_t>(s.written.size() % memory::kSlotCount)));
  EXPECT_TRUE(HeaderWritten(image, memory::kSectorCount - 1));

  std::vector<std::int32_t> times;
  std::size_t wrapAt = 0;
  int backward = 0;
  for (std::uint32_t i = 0; i < memory::kSlotCount; ++i) {
    const std::uint8_t* p = image.data() + SlotAddress(i);
    if (Classify(p) != Kind::Record) continue;
    const std::int32_t t = TrackRecord::FromBytes(p).Time();
    if (!times.empty() && t < times.back()) {
      ++backward;
      wrapAt = times.size();
    }
    times.push_back(t);
  }
  EXPECT_EQ(backward, 1);
  std::rotate(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(wrapAt), times.end());
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  // The newest record sits just before the write position; the rest of its sector was erased.
  const std::uint32_t newest = SlotAddress(static_cast<std::uint32_t>(s.written.size() % memory::kSlotCount) - 1);
  EXPECT_EQ(TrackRecord::FromBytes(image.data() + newest).Time(), times.back());
  const std::uint32_t sectorEnd = (pos / memory::kSectorSize + 1) * memory::kSectorSize;
  EXPECT_TRUE(std::all_of(image.begin() + pos, image.begin() + sectorEnd, [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(Classify(image.data() + sectorEnd + memory::kSectorHeaderSize), Kind::Record);
}

TEST(Scenarios, CorruptHoldsEveryKindOfDamage) {
  const Scenario s = Named("corrupt");
  const auto image = BuildMemoryImage(s);
  const Census c = Count(image, kNow);
  EXPECT_GE(c.bad, 20);          // broken checksums, a broken marker, garbage
  EXPECT_GE(c.outOfWindow, 3);   // four and five years away, the all-zero slot
  EXPECT_GT(c.records, 600);
  EXPECT_LT(c.waypointsWithRecord, c.waypoints);  // a waypoint marker followed by a broken record
  // A waypoint marker in the last slot of sector 0, its record opening sector 1.
  EXPECT_EQ(Classify(image.data() + SlotAddress(memory::kSlotsPerSector - 1)), Kind::Waypoint);
  EXPECT_EQ(Classify(image.data() + SlotAddress(memory::kSlotsPerSector)), Kind::Record);
  // A marker one byte off counts as neither marker nor record.
  bool brokenMarker = false;
  for (std::uint32_t i = 0; i < memory::kSlotCount; ++i)
    brokenMarker |= std::memcmp(image.data() + SlotAddress(i), "KAVRORV318LOGGES", 16) == 0;
  EXPECT_TRUE(brokenMarker);
}

TEST(Scenarios, TimesFollowTheGivenNow) {
  const Scenario early = *ScenarioByName("demo", kNow);
  const Scenario late = *ScenarioByName("demo", kNow + 400 * 86400);
  const auto a = TrackRecord::FromBytes(early.written[1].data()).Time();
  const auto b = TrackRecord::FromBytes(late.written[1].data()).Time();
  EXPECT_EQ(b - a, 400 * 86400);
  EXPECT_LT(a, kNow);
}

TEST(MemoryImage, AnImageServedRawKeepsItsBytesAndFindsTheSameWritePosition) {
  for (const std::string& name : ScenarioNames()) {
    SCOPED_TRACE(name);
    const Scenario s = Named(name);
    std::string error;
    const auto raw = ScenarioFromImage(BuildMemoryImage(s), &error);
    ASSERT_TRUE(raw.has_value()) << error;
    EXPECT_EQ(BuildMemoryImage(*raw), BuildMemoryImage(s));
    EXPECT_EQ(WritePosition(*raw), WritePosition(s));
  }
  std::string error;
  EXPECT_FALSE(ScenarioFromImage(std::vector<std::uint8_t>(memory::kSize - 1, 0xFF), &error).has_value());
  EXPECT_NE(error.find("2097151"), std::string::npos) << error;
}

TEST(MemoryImage, ExactlyFullAndJustWrappedWritePositions) {
  Scenario s;
  s.written.assign(memory::kSlotCount, TrackRecord::Make(static_cast<std::int32_t>(kNow), 1, 2, 3).bytes);
  EXPECT_EQ(WritePosition(s), memory::kSize);
  s.written.push_back(TrackRecord::Make(static_cast<std::int32_t>(kNow + 1), 1, 2, 3).bytes);
  EXPECT_EQ(WritePosition(s), SlotAddress(1));
  const auto image = BuildMemoryImage(s);
  // Sector 0 was erased for the wrap: slot 0 is the new record, slot 1 on are empty.
  EXPECT_EQ(TrackRecord::FromBytes(image.data() + 0x200).Time(), kNow + 1);
  EXPECT_EQ(Classify(image.data() + 0x210), Kind::Empty);
  EXPECT_EQ(Classify(image.data() + 0x10200), Kind::Record);
}

}  // namespace
}  // namespace kavro::sim
