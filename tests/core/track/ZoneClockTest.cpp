#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "track/ZoneClock.h"

namespace kavro {
namespace {

TEST(ZoneClock, AsctimeTextMatchesTheCLibrary) {
  // Every day of 1970-2037 at a varying time of day, against the C library's asctime_r.
  for (std::int64_t t = 0; t < 2145916800; t += 86400 + 3607) {
    std::tm tm;
    ASSERT_TRUE(ToUtc(t, tm));
    const time_t tt = static_cast<time_t>(t);
    std::tm ref;
    gmtime_r(&tt, &ref);
    char text[64];
    asctime_r(&ref, text);
    text[std::strlen(text) - 1] = '\0';  // its newline
    ASSERT_EQ(AsctimeText(tm), text) << t;
  }
  std::tm odd{};
  odd.tm_year = -1900 + 12345;
  odd.tm_mday = 1;
  EXPECT_EQ(AsctimeText(odd), "Sun Jan  1 00:00:00 12345");
}

TEST(ZoneClock, FixedOffsetsRollDaysAndYears) {
  std::tm t;
  // 23:30 UTC on 31 December 2008 at +13:00.
  ASSERT_TRUE(ZoneClock::Fixed(13 * 60).ToLocal(1230766200, t));
  EXPECT_EQ(AsctimeText(t), "Thu Jan  1 12:30:00 2009");
  ASSERT_TRUE(ZoneClock::Fixed(-12 * 60).ToLocal(1230766200, t));
  EXPECT_EQ(AsctimeText(t), "Wed Dec 31 11:30:00 2008");
  ASSERT_TRUE(ZoneClock::Fixed(-210).ToLocal(1205544612, t));
  EXPECT_EQ(AsctimeText(t), "Fri Mar 14 22:00:12 2008");
  EXPECT_FALSE(ZoneClock::Fixed(0).ToLocal(-1, t));
  EXPECT_FALSE(ToUtc(-1, t));

  // FromLocal inverts ToLocal and rolls fields over.
  ASSERT_TRUE(ZoneClock::Fixed(8 * 60).ToLocal(1205544612, t));
  EXPECT_EQ(ZoneClock::Fixed(8 * 60).FromLocal(t), 1205544612);
  t.tm_sec += 3600 * 24;
  EXPECT_EQ(ZoneClock::Fixed(8 * 60).FromLocal(t), 1205544612 + 86400);
  std::tm early{};
  early.tm_year = 69;
  early.tm_mday = 1;
  EXPECT_FALSE(ZoneClock::Fixed(0).FromLocal(early).has_value());
}

}  // namespace
}  // namespace kavro
