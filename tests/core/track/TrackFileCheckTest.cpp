// Telling a track log from any other file named .trl, by the share of records whose checksum holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "track/TrackFileCheck.h"
#include "track/TrackRecord.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

class TrackFileCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-check-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // good valid records and bad damaged ones, then a tail of `tail` bytes.
  fs::path Write(const std::string& name, int good, int bad, std::size_t tail = 0) {
    std::ofstream f(dir_ / name, std::ios::binary);
    for (int i = 0; i < good + bad; ++i) {
      TrackRecord r = TrackRecord::Make(1205544612 + i, 25.0f, 121.5f, 10.0f);
      if (i >= good) r.bytes[15] ^= 0x5A;
      f.write(reinterpret_cast<const char*>(r.bytes.data()), i + 1 == good + bad && tail > 0 ? tail : 16);
    }
    return dir_ / name;
  }
  fs::path dir_;
};

TEST_F(TrackFileCheckTest, AFileOfValidRecordsIsATrackLogEvenCutShortInItsLastRecord) {
  const TrackFileCheck whole = CheckTrackFile(Write("whole.trl", 40, 0));
  EXPECT_TRUE(whole.opened);
  EXPECT_EQ(whole.records, 40u);
  EXPECT_EQ(whole.validRecords, 40u);
  EXPECT_TRUE(whole.IsTrackLog());
  // The last record torn after 9 bytes: 39 whole records, all valid.
  const TrackFileCheck torn = CheckTrackFile(Write("torn.trl", 40, 0, 9));
  EXPECT_EQ(torn.records, 39u);
  EXPECT_TRUE(torn.IsTrackLog());
  EXPECT_TRUE(CheckTrackFile(Write("empty.trl", 0, 0)).IsTrackLog());
}

TEST_F(TrackFileCheckTest, FewerThanHalfValidIsNotATrackLog) {
  const TrackFileCheck half = CheckTrackFile(Write("half.trl", 10, 10));
  EXPECT_TRUE(half.IsTrackLog());
  EXPECT_EQ(half.ValidPercent(), 50);
  const TrackFileCheck less = CheckTrackFile(Write("less.trl", 9, 11));
  EXPECT_FALSE(less.IsTrackLog());
  EXPECT_EQ(less.ValidPercent(), 45);
}

TEST_F(TrackFileCheckTest, APhotoRenamedToTrlIsNotATrackLog) {
  const fs::path photo = dir_ / "IMG_0001.trl";
  fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_EOS_D60.jpg", photo);
  const TrackFileCheck c = CheckTrackFile(photo);
  EXPECT_TRUE(c.opened);
  EXPECT_EQ(c.records, fs::file_size(photo) / 16);
  EXPECT_FALSE(c.IsTrackLog());
  EXPECT_LT(c.ValidPercent(), 5);
}

TEST_F(TrackFileCheckTest, AFileThatCannotBeReadSaysWhy) {
  const TrackFileCheck c = CheckTrackFile(dir_ / "none.trl");
  EXPECT_FALSE(c.opened);
  EXPECT_FALSE(c.error.empty());
}

}  // namespace
}  // namespace kavro
