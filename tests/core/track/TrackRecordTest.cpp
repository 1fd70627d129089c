#include <gtest/gtest.h>

#include "track/TrackRecord.h"

namespace kavro {

TEST(TrackRecord, HeightFromUpperThreeBytes) {
  std::uint8_t r[16] = {};
  r[12] = 0x00;
  r[13] = 0x48;
  r[14] = 0x42;
  EXPECT_FLOAT_EQ(RecordHeight(r), 50.0f);
}

TEST(TrackRecord, MadeRecordRoundTripsAndChecksums) {
  const TrackRecord r = TrackRecord::Make(1205543412, 25.0330009f, 121.5654297f, 12.5f);
  EXPECT_TRUE(r.IsValid());
  EXPECT_EQ(r.Time(), 1205543412);
  EXPECT_FLOAT_EQ(r.Latitude(), 25.0330009f);
  EXPECT_FLOAT_EQ(r.Longitude(), 121.5654297f);
  EXPECT_FLOAT_EQ(r.Height(), 12.5f);
  TrackRecord bad = r;
  bad.bytes[3] ^= 0x01;
  EXPECT_FALSE(bad.IsValid());
}

}  // namespace kavro
