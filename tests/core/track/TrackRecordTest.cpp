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

// Every bit of bytes 0-14 counts once, byte 15 (where the checksum is kept) not at all.
TEST(TrackRecord, ChecksumIsTheXorOfTheFirstFifteenBytes) {
  std::uint8_t r[16] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x03, 0x05, 0x09, 0x11, 0x21, 0x41, 0x81, 0x00};
  EXPECT_EQ(RecordChecksum(r), 0x01 ^ 0x02 ^ 0x04 ^ 0x08 ^ 0x10 ^ 0x20 ^ 0x40 ^ 0x80 ^ 0x03 ^ 0x05 ^ 0x09 ^ 0x11 ^ 0x21 ^
                                   0x41 ^ 0x81);
  const std::uint8_t base = RecordChecksum(r);
  for (int i = 0; i < 15; ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      r[i] ^= static_cast<std::uint8_t>(1 << bit);
      EXPECT_EQ(RecordChecksum(r), base ^ (1 << bit)) << "byte " << i << " bit " << bit;
      r[i] ^= static_cast<std::uint8_t>(1 << bit);
    }
  }
  for (int v : {0x00, 0x5A, 0xFF}) {
    r[15] = static_cast<std::uint8_t>(v);
    EXPECT_EQ(RecordChecksum(r), base);
  }
  r[15] = base;
  EXPECT_TRUE(RecordIsValid(r));
}

}  // namespace kavro
