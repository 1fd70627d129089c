#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "track/TimeZoneTable.h"

namespace kavro {
namespace {

// The POSIX TZ text of a row ("TMP-08:00" for +08:00: POSIX counts west of UTC): the C
// library's local time under it is the reference our fixed clock is held to.
std::string PosixZoneText(int row) {
  if (row < 0 || row >= kZoneRowCount) return {};
  std::string text = std::string("TMP") + TimeZoneTable()[static_cast<std::size_t>(row)].label;
  text[3] = text[3] == '-' ? '+' : '-';
  return text;
}

TEST(TimeZoneTable, RowsAndOffsets) {
  const auto& rows = TimeZoneTable();
  ASSERT_EQ(rows.size(), 34u);
  EXPECT_STREQ(rows[0].label, "+13:00");
  EXPECT_STREQ(rows[10].label, "+05:45");
  EXPECT_STREQ(rows[19].label, " 00:00");
  EXPECT_STREQ(rows[23].label, "-03:30");
  EXPECT_STREQ(rows[33].label, "-12:00");
  EXPECT_EQ(rows[10].OffsetMinutes(), 345);
  EXPECT_EQ(rows[23].OffsetMinutes(), -210);
  EXPECT_EQ(rows[25].OffsetMinutes(), -270);
  EXPECT_EQ(rows[19].OffsetMinutes(), 0);
  EXPECT_EQ(rows[23].hours, -3);
  EXPECT_EQ(rows[23].minutes, 30);
  // Strictly falling offsets, so no two rows share one.
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i].OffsetMinutes(), rows[i - 1].OffsetMinutes());
}

TEST(TimeZoneTable, DefaultLabelFromTheLoggerOrTheBias) {
  EXPECT_EQ(DefaultZoneLabel(true, "+08:00", 300), "+08:00");
  EXPECT_EQ(DefaultZoneLabel(false, "+08:00", -480), "+08:00");
  EXPECT_EQ(DefaultZoneLabel(false, {}, 300), "-05:00");
  EXPECT_EQ(DefaultZoneLabel(false, {}, -345), "+05:45");
  EXPECT_EQ(DefaultZoneLabel(false, {}, -330), "+05:30");
  EXPECT_EQ(DefaultZoneLabel(false, {}, 210), "-03:30");
  EXPECT_EQ(DefaultZoneLabel(false, {}, 0), " 00:00");  // UTC: the row as the table writes it
  EXPECT_EQ(DefaultZoneLabel(false, {}, -780), "+13:00");
  EXPECT_EQ(DefaultZoneLabel(false, {}, 720), "-12:00");
}

// Every offset of the table, as the system's zone, selects its own row.
TEST(TimeZoneTable, EverySystemOffsetOfTheTableSelectsItsRow) {
  for (int row = 0; row < kZoneRowCount; ++row) {
    const int bias = -TimeZoneTable()[static_cast<std::size_t>(row)].OffsetMinutes();
    ZoneChoice choice;
    choice.row = row == 0 ? 1 : 0;  // not already the row wanted
    EXPECT_TRUE(SelectDefaultZone(DefaultZoneLabel(false, {}, bias), choice)) << bias;
    EXPECT_EQ(choice.row, row) << bias;
  }
}

TEST(TimeZoneTable, SelectDefaultZone) {
  struct Case {
    int bias;
    int row;  // -1: no row matches
  };
  for (const Case c : {Case{-345, 10}, Case{-330, 11}, Case{210, 23}, Case{0, 19}, Case{-840, -1}, Case{-480, 6}}) {
    ZoneChoice choice;
    const bool matched = SelectDefaultZone(DefaultZoneLabel(false, {}, c.bias), choice);
    EXPECT_EQ(matched, c.row >= 0) << c.bias;
    EXPECT_EQ(choice.row, c.row >= 0 ? c.row : kUtcZoneRow) << c.bias;
  }
  ZoneChoice kept{23, -3, 30};
  EXPECT_FALSE(SelectDefaultZone("+14:00", kept));
  EXPECT_EQ(kept.row, 23);
  EXPECT_EQ(kept.hours, -3);
  ZoneChoice logger;
  EXPECT_TRUE(SelectDefaultZone(" 00:00", logger));
  EXPECT_EQ(logger.row, 19);
}

TEST(TimeZoneTable, UserTextForms) {
  EXPECT_EQ(ZoneRowByUserText("+08:00"), 6);
  EXPECT_EQ(ZoneRowByUserText("8"), 6);
  EXPECT_EQ(ZoneRowByUserText("+8"), 6);
  EXPECT_EQ(ZoneRowByUserText("08:00"), 6);
  EXPECT_EQ(ZoneRowByUserText("00:00"), 19);
  EXPECT_EQ(ZoneRowByUserText("+00:00"), 19);
  EXPECT_EQ(ZoneRowByUserText(" 00:00"), 19);
  EXPECT_EQ(ZoneRowByUserText("UTC"), 19);
  EXPECT_EQ(ZoneRowByUserText("-3:30"), 23);
  EXPECT_EQ(ZoneRowByUserText("+05:45"), 10);
  for (const char* bad : {"", "+14:00", "+05:15", "abc", "+8:60", "--8", "8:00x"})
    EXPECT_FALSE(ZoneRowByUserText(bad).has_value()) << bad;
}

TEST(TimeZoneTable, AppliedZoneStaysInForceAndMatchesPosixTz) {
  TimeZoneState state;
  EXPECT_EQ(state.AppliedRow(), -1);
  EXPECT_TRUE(state.Clock().IsSystem());
  state.ApplyZone(0);
  std::tm t;
  ASSERT_TRUE(state.Clock().ToLocal(1230766200, t));  // 2008-12-31 23:30 UTC
  EXPECT_EQ(t.tm_year + 1900, 2009);
  EXPECT_EQ(t.tm_mon, 0);
  EXPECT_EQ(t.tm_mday, 1);
  EXPECT_EQ(t.tm_hour, 12);
  EXPECT_EQ(t.tm_min, 30);
  state.ApplyZone(ZoneListSize());  // no such row: ignored
  EXPECT_EQ(state.AppliedRow(), 0);

  EXPECT_EQ(PosixZoneText(6), "TMP-08:00");
  EXPECT_EQ(PosixZoneText(19), "TMP-00:00");
  EXPECT_EQ(PosixZoneText(23), "TMP+03:30");
  // The C library, given that TZ text, agrees with our fixed clock on every row.
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  for (int row = 0; row < kZoneRowCount; ++row) {
    ::setenv("TZ", PosixZoneText(row).c_str(), 1);
    ::tzset();
    for (std::int64_t utc : {std::int64_t{1230766200}, std::int64_t{1205544612}, std::int64_t{951825600}}) {
      const time_t tt = static_cast<time_t>(utc);
      std::tm ref, ours;
      localtime_r(&tt, &ref);
      state.ApplyZone(row);
      ASSERT_TRUE(state.Clock().ToLocal(utc, ours));
      EXPECT_EQ(AsctimeText(ours), AsctimeText(ref)) << PosixZoneText(row) << " " << utc;
    }
  }
  if (old) ::setenv("TZ", saved.c_str(), 1);
  else ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace kavro
