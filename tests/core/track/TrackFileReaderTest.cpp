#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "track/TrackFileReader.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

class TrackFileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-reader-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream f(dir_ / name, std::ios::binary);
    f << bytes;
    return dir_ / name;
  }
  static std::string Bytes(const TrackRecord& r) { return std::string(reinterpret_cast<const char*>(r.bytes.data()), 16); }
  std::vector<std::int32_t> Times(const fs::path& p) {
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(p));
    std::vector<std::int32_t> t;
    TrackRecord r;
    while (reader.Next(r)) t.push_back(r.Time());
    EXPECT_FALSE(reader.Failed());
    return t;
  }
  fs::path dir_;
};

TEST_F(TrackFileReaderTest, SkipsBadRecordsAndStopsAtATornTail) {
  TrackRecord bad = TrackRecord::Make(2, 0, 0, 0);
  bad.bytes[15] ^= 1;
  const auto p = Write("t.trl", Bytes(TrackRecord::Make(1, 0, 0, 0)) + Bytes(bad) + Bytes(TrackRecord::Make(3, 0, 0, 0)) +
                                    Bytes(TrackRecord::Make(4, 0, 0, 0)).substr(0, 15));
  EXPECT_EQ(Times(p), (std::vector<std::int32_t>{1, 3}));
  EXPECT_TRUE(Times(Write("empty.trl", "")).empty());
  EXPECT_TRUE(Times(Write("short.trl", "KAVRO")).empty());
}

TEST_F(TrackFileReaderTest, LargeFilesAcrossBlocksAndRewind) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += Bytes(TrackRecord::Make(i, 1.0f, 2.0f, 3.0f));
  const auto p = Write("big.trl", bytes);
  TrackFileReader reader;
  ASSERT_TRUE(reader.Open(p));
  TrackRecord r;
  int n = 0;
  while (reader.Next(r)) ASSERT_EQ(r.Time(), n++);
  EXPECT_EQ(n, 10000);
  reader.Rewind();
  ASSERT_TRUE(reader.Next(r));
  EXPECT_EQ(r.Time(), 0);

  // Random bytes: whatever passes the checksum comes out, nothing else.
  std::mt19937 random(16);
  std::string noise(16 * 4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  int expected = 0;
  for (std::size_t i = 0; i < noise.size(); i += 16)
    expected += RecordIsValid(reinterpret_cast<const std::uint8_t*>(noise.data() + i));
  EXPECT_EQ(Times(Write("noise.trl", noise)).size(), static_cast<std::size_t>(expected));
}

TEST_F(TrackFileReaderTest, OpenFailuresGiveTheReason) {
  TrackFileReader reader;
  std::string error;
  EXPECT_FALSE(reader.Open(dir_ / "missing.trl", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(reader.Open(dir_, &error));
  EXPECT_FALSE(reader.IsOpen());
  TrackRecord r;
  EXPECT_FALSE(reader.Next(r));
}

}  // namespace
}  // namespace kavro
