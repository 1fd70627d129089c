// Named zones of the system's database: every instant in the offset then in force, and the
// local times that a clock change skips or repeats. Zones are always named, never the machine's.
#include <gtest/gtest.h>

#include "track/TimeZoneTable.h"
#include "track/ZoneClock.h"

namespace kavro {
namespace {

constexpr std::int64_t kBerlinSpring2008 = 1206838800;  // 2008-03-30 01:00:00 UTC, +01:00 -> +02:00
constexpr std::int64_t kBerlinAutumn2008 = 1224982800;  // 2008-10-26 01:00:00 UTC, +02:00 -> +01:00

ZoneClock Zone(const char* id) {
  const std::optional<ZoneClock> zone = ZoneClock::Named(id);
  if (!zone) ADD_FAILURE() << id << " is not in the zone database (is tzdata installed?)";
  return zone.value_or(ZoneClock::Fixed(0));
}

std::string Local(const ZoneClock& zone, std::int64_t utc) {
  std::tm t;
  return zone.ToLocal(utc, t) ? AsctimeText(t) : std::string("none");
}

std::tm Wall(int y, int mo, int d, int h, int mi, int s) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = mo - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return t;
}

TEST(NamedZone, EachInstantTakesTheOffsetInForce) {
  const ZoneClock berlin = Zone("Europe/Berlin");
  EXPECT_TRUE(berlin.IsNamed());
  EXPECT_FALSE(berlin.IsSystem());
  EXPECT_EQ(berlin.Name(), "Europe/Berlin");
  EXPECT_EQ(Local(berlin, kBerlinSpring2008 - 1), "Sun Mar 30 01:59:59 2008");
  EXPECT_EQ(Local(berlin, kBerlinSpring2008), "Sun Mar 30 03:00:00 2008");
  EXPECT_EQ(berlin.OffsetSecondsAt(kBerlinSpring2008 - 1), 3600);
  EXPECT_EQ(berlin.OffsetSecondsAt(kBerlinSpring2008), 7200);
  EXPECT_EQ(Local(berlin, kBerlinAutumn2008 - 1), "Sun Oct 26 02:59:59 2008");
  EXPECT_EQ(Local(berlin, kBerlinAutumn2008), "Sun Oct 26 02:00:00 2008");
  EXPECT_EQ(Local(berlin, -1), "none");
  // The southern summer: Sydney is at +11:00 in January, +10:00 in July.
  const ZoneClock sydney = Zone("Australia/Sydney");
  EXPECT_EQ(sydney.OffsetSecondsAt(1200000000), 11 * 3600);  // 2008-01-10
  EXPECT_EQ(sydney.OffsetSecondsAt(1215000000), 10 * 3600);  // 2008-07-02
  EXPECT_FALSE(ZoneClock::Named("Mars/Olympus_Mons"));
  EXPECT_FALSE(ZoneClock::Named(""));
}

TEST(NamedZone, SkippedTimesMoveForwardAndRepeatedOnesTakeTheEarlierOffset) {
  const ZoneClock berlin = Zone("Europe/Berlin");
  LocalTimeFit fit;
  // 02:30 on 30 March 2008 does not exist in Berlin: it becomes 03:30 CEST, 01:30 UTC.
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 3, 30, 2, 30, 0), fit), kBerlinSpring2008 + 1800);
  EXPECT_EQ(fit, LocalTimeFit::SkippedMovedForward);
  EXPECT_EQ(Local(berlin, kBerlinSpring2008 + 1800), "Sun Mar 30 03:30:00 2008");
  // 02:30 on 26 October 2008 happens twice: the first time, at +02:00, is 00:30 UTC.
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 10, 26, 2, 30, 0), fit), kBerlinAutumn2008 - 1800);
  EXPECT_EQ(fit, LocalTimeFit::RepeatedEarlierOffset);
  // Either side of the changes a time is unique.
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 3, 30, 1, 59, 59), fit), kBerlinSpring2008 - 1);
  EXPECT_EQ(fit, LocalTimeFit::Unique);
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 3, 30, 3, 0, 0), fit), kBerlinSpring2008);
  EXPECT_EQ(fit, LocalTimeFit::Unique);
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 10, 26, 3, 0, 0), fit), kBerlinAutumn2008 + 3600);
  EXPECT_EQ(fit, LocalTimeFit::Unique);
  // Fields out of range roll over as with mktime: 29 Feb 2008 23:59:60 is 1 March 00:00:00 (+01:00).
  EXPECT_EQ(berlin.FromLocal(Wall(2008, 2, 29, 23, 59, 60), fit), 1204329600 - 3600);
  // Samoa skipped the whole of 30 December 2011: noon that day is noon the next, 24 hours on.
  const ZoneClock apia = Zone("Pacific/Apia");
  const std::optional<std::int64_t> noon = apia.FromLocal(Wall(2011, 12, 30, 12, 0, 0), fit);
  ASSERT_TRUE(noon);
  EXPECT_EQ(fit, LocalTimeFit::SkippedMovedForward);
  EXPECT_EQ(Local(apia, *noon), "Sat Dec 31 12:00:00 2011");
  // Fixed offsets never skip or repeat.
  EXPECT_EQ(ZoneClock::Fixed(60).FromLocal(Wall(2008, 3, 30, 2, 30, 0), fit), kBerlinSpring2008 + 1800);
  EXPECT_EQ(fit, LocalTimeFit::Unique);
}

TEST(NamedZone, TheZoneListKeepsTheTableFirstThenTheNamedZones) {
  ASSERT_GT(NamedZoneIds().size(), 300u);
  EXPECT_TRUE(std::is_sorted(NamedZoneIds().begin(), NamedZoneIds().end()));
  EXPECT_EQ(ZoneListSize(), kZoneRowCount + static_cast<int>(NamedZoneIds().size()));
  for (int row = 0; row < kZoneRowCount; ++row) {
    EXPECT_EQ(ZoneListLabel(row), TimeZoneTable()[static_cast<std::size_t>(row)].label);
    EXPECT_FALSE(IsNamedZoneRow(row));
    EXPECT_EQ(ClockForRow(row).OffsetMinutes(), TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes());
  }
  for (const std::string& id : NamedZoneIds()) {
    EXPECT_NE(id.find('/'), std::string::npos) << id;
    EXPECT_NE(id.rfind("Etc/", 0), 0u) << id;
  }
  const std::optional<int> berlin = ZoneRowByUserText("Europe/Berlin");
  ASSERT_TRUE(berlin);
  EXPECT_TRUE(IsNamedZoneRow(*berlin));
  EXPECT_EQ(ZoneListLabel(*berlin), "Europe/Berlin");
  EXPECT_EQ(ZoneRowByUserText("europe/BERLIN"), berlin);
  EXPECT_EQ(ClockForRow(*berlin).Name(), "Europe/Berlin");
  EXPECT_EQ(RowOffsetSecondsAt(*berlin, kBerlinSpring2008), 7200);
  EXPECT_EQ(RowOffsetSecondsAt(6, kBerlinSpring2008), 8 * 3600);
  EXPECT_FALSE(ZoneRowByUserText("Europe/Atlantis"));
  EXPECT_FALSE(IsZoneRow(ZoneListSize()));
  EXPECT_EQ(ClockForRow(ZoneListSize()).OffsetMinutes(), 0);  // no such row: UTC
  // Offsets still come first and mean the table's rows.
  EXPECT_EQ(ZoneRowByUserText("+01:00"), 18);
  EXPECT_EQ(ZoneRowByUserText("UTC"), kUtcZoneRow);

  const std::vector<int> found = FindZoneRows("BERLIN");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], *berlin);
  EXPECT_EQ(FindZoneRows("+05:").size(), 3u);  // +05:45, +05:30, +05:00
  EXPECT_EQ(FindZoneRows("").size(), static_cast<std::size_t>(ZoneListSize()));
  EXPECT_TRUE(FindZoneRows("no zone is called this").empty());
  EXPECT_EQ(OffsetLabel(-12600), "-03:30");
  EXPECT_EQ(OffsetLabel(20700), "+05:45");
  EXPECT_EQ(OffsetLabel(0), "+00:00");
}

TEST(NamedZone, AnAppliedNamedRowIsTheZoneInForce) {
  TimeZoneState state;
  const int berlin = ZoneRowByUserText("Europe/Berlin").value_or(-1);
  state.ApplyZone(berlin);
  EXPECT_EQ(state.AppliedRow(), berlin);
  EXPECT_EQ(state.Clock().Name(), "Europe/Berlin");
  EXPECT_EQ(Local(state.Clock(), kBerlinSpring2008), "Sun Mar 30 03:00:00 2008");
  state.ApplyZone(6);
  EXPECT_FALSE(state.Clock().IsNamed());
  EXPECT_EQ(state.Clock().OffsetMinutes(), 480);
  state.ApplyZone(ZoneListSize());  // no such row: nothing changes
  EXPECT_EQ(state.AppliedRow(), 6);
  // A named row has no one offset: a page's choice keeps 0 and 0 for it.
  ZoneChoice choice;
  choice.row = berlin;
  EXPECT_FALSE(SelectDefaultZone("Europe/Berlin", choice));
  EXPECT_EQ(choice.row, berlin);
  EXPECT_EQ(choice.hours, 0);
}

}  // namespace
}  // namespace kavro
