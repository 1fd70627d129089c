// kavro convert and kavro tracks, run as programs.
#include <gtest/gtest.h>

#include "support/KavroRun.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "track/TrackRecord.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

using test::Kavro;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  return lines;
}

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

class ConvertTracksCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-cli-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
  }
  static std::string Bytes(const std::vector<TrackRecord>& records) {
    std::string s;
    for (const auto& r : records) s.append(reinterpret_cast<const char*>(r.bytes.data()), 16);
    return s;
  }
  fs::path dir_;
};

// A log memory image in the real layout: 32 sectors of a 512-byte header and 4064 slots.
std::string MemoryImage(std::int32_t t0) {
  std::string image(0x200000, '\xFF');
  auto slot = [&](int sector, int i) { return &image[static_cast<std::size_t>(sector) * 0x10000 + 0x200 + i * 16]; };
  auto put = [&](int sector, int i, const TrackRecord& r) { std::memcpy(slot(sector, i), r.bytes.data(), 16); };
  std::memcpy(slot(0, 0), "KAVRORV318LOGGER", 16);
  for (int i = 1; i <= 100; ++i) put(0, i, TrackRecord::Make(t0 + i, 25.0f + 0.001f * static_cast<float>(i), 121.5f, 10.0f));
  std::memcpy(slot(0, 101), "KAVRORV318WAYPNT", 16);
  put(0, 102, TrackRecord::Make(t0 + 102, 25.2f, 121.6f, 12.0f));
  std::memcpy(slot(0, 4063), "KAVRORV318LOGGER", 16);
  for (int i = 0; i < 50; ++i) put(1, i, TrackRecord::Make(t0 + 3600 + i, -33.9f, 151.2f, 5.0f));
  return image;
}

constexpr std::int32_t kT0 = 1767225600 + 86400 * 20 + 3600 * 5;  // 2026-01-21 05:00:00 UTC

TEST_F(ConvertTracksCli, TracksWritesTheFilesOfAMemoryImage) {
  WriteFile(dir_ / "mem.bin", MemoryImage(kT0));
  const test::CliRun run = Kavro("tracks " + Q(dir_ / "mem.bin") + " --dir " + Q(dir_) + " --total --user Logger1 --zone +08:00");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string d = dir_.string() + "/";
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{
                "Create File OK " + d + "Logger1_T-580_Start_20260121-130001_Finish_20260121-130142.trl",
                "Create File OK " + d + "Logger1_T-580_Start_20260121-140000_Finish_20260121-140049.trl",
                "Create File OK " + d + "Logger1_T-580_Total_Start_20260121-130001_Finish_20260121-140049.trl",
                "Create File OK " + d + "Logger1_T-580_Waypoints.trl"}));
  EXPECT_EQ(fs::file_size(d + "Logger1_T-580_Start_20260121-130001_Finish_20260121-130142.trl"), 100u * 16);
  EXPECT_EQ(fs::file_size(d + "Logger1_T-580_Total_Start_20260121-130001_Finish_20260121-140049.trl"), 150u * 16);
  EXPECT_EQ(fs::file_size(d + "Logger1_T-580_Waypoints.trl"), 16u);
}

TEST_F(ConvertTracksCli, TracksRefusesAnImageOfTheWrongSizeAndAMissingDirectory) {
  WriteFile(dir_ / "short.bin", MemoryImage(kT0).substr(0, 0x10000));
  test::CliRun run = Kavro("tracks " + Q(dir_ / "short.bin") + " --dir " + Q(dir_));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("65536"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("2097152"), std::string::npos) << run.err;
  run = Kavro("tracks " + Q(dir_ / "short.bin") + " --dir " + Q(dir_ / "nowhere"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Kavro("tracks " + Q(dir_ / "short.bin")).status, 2);
  EXPECT_EQ(fs::directory_iterator(dir_)->path().filename(), "short.bin");
}

TEST_F(ConvertTracksCli, TracksReadsTheSimulatorsDump) {
  const std::string dump = std::string(KAVRO_SIM) + " --dump " + Q(dir_ / "demo.bin") + " >/dev/null 2>&1";
  if (std::system(dump.c_str()) != 0) GTEST_SKIP() << "t580-sim --dump is not available";
  const test::CliRun run = Kavro("tracks " + Q(dir_ / "demo.bin") + " --dir " + Q(dir_) + " --user Logger1 --kml");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_GE(lines.size(), 2u);
  int trl = 0, kml = 0;
  for (const auto& l : lines) {
    ASSERT_EQ(l.rfind("Create File OK ", 0), 0u) << l;
    trl += l.size() > 4 && l.substr(l.size() - 4) == ".trl";
    kml += l.size() > 4 && l.substr(l.size() - 4) == ".kml";
    EXPECT_TRUE(fs::exists(l.substr(15))) << l;
  }
  EXPECT_EQ(trl, kml);
}

TEST_F(ConvertTracksCli, ConvertWritesTheFourFormatsInOrder) {
  WriteFile(dir_ / "trip.trl", Bytes({TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f)}));
  const test::CliRun run = Kavro("convert " + Q(dir_ / "trip.trl") + " --gpx --nmea --kml --text --zone +08:00");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string d = dir_.string() + "/";
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"Create File OK " + d + "trip.txt", "Create File OK " + d + "trip.kml",
                                                      "Create File OK " + d + "tripNMEA.txt",
                                                      "Create File OK " + d + "trip.gpx", "Convert Successfully!"}));
  std::ifstream text(d + "trip.txt");
  std::string line;
  std::getline(text, line);
  EXPECT_EQ(line, "121.5654297,25.0330009,12.50,Sat Mar 15 09:30:12 2008\r");
}

TEST_F(ConvertTracksCli, GpxTrackIsWrittenBesideAsNameTrack) {
  WriteFile(dir_ / "trip.trl", Bytes({TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f)}));
  const test::CliRun run = Kavro("convert " + Q(dir_ / "trip.trl") + " --gpx-track --gpx");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string d = dir_.string() + "/";
  // In the table's order, not the command line's.
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"Create File OK " + d + "trip.gpx",
                                                      "Create File OK " + d + "trip_track.gpx", "Convert Successfully!"}));
  std::ifstream gpx(d + "trip_track.gpx");
  const std::string text((std::istreambuf_iterator<char>(gpx)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("<trk>\r\n<trkseg>\r\n<trkpt lat=\"25.033001\" lon=\"121.565430\">"), std::string::npos) << text;
  EXPECT_FALSE(fs::exists(d + "trip.kml"));
}

TEST_F(ConvertTracksCli, ConvertZonesAndDefaults) {
  WriteFile(dir_ / "a.trl", Bytes({TrackRecord::Make(1230766200, 1.0f, 2.0f, 3.0f)}));  // 2008-12-31 23:30 UTC
  for (const char* zone : {"00:00", "+00:00", "' 00:00'"}) {
    const test::CliRun run = Kavro("convert " + Q(dir_ / "a.trl") + " --text --zone " + zone);
    ASSERT_EQ(run.status, 0) << zone << run.err;
    std::ifstream text(dir_ / "a.txt");
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "2.0000000,1.0000000,3.00,Wed Dec 31 23:30:00 2008\r") << zone;
  }
  test::CliRun run = Kavro("convert " + Q(dir_ / "a.trl") + " --text --zone +13:00");
  ASSERT_EQ(run.status, 0);
  std::ifstream text(dir_ / "a.txt");
  std::string line;
  std::getline(text, line);
  EXPECT_EQ(line, "2.0000000,1.0000000,3.00,Thu Jan  1 12:30:00 2009\r");

  EXPECT_EQ(Kavro("convert " + Q(dir_ / "a.trl") + " --zone +14:00").status, 2);
  fs::remove(dir_ / "a.kml");
  run = Kavro("convert " + Q(dir_ / "a.trl"));  // no format: KML only
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(fs::exists(dir_ / "a.kml"));
  EXPECT_FALSE(fs::exists(dir_ / "a.gpx"));
}

TEST_F(ConvertTracksCli, ConvertReportsWhatCannotBeReadOrWritten) {
  test::CliRun run = Kavro("convert " + Q(dir_ / "missing.trl") + " --text");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.trl"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir_ / "missing.txt"));
  EXPECT_EQ(run.out.find("Convert Successfully!"), std::string::npos);

  // An output name taken by a directory: that format fails, the others are written.
  WriteFile(dir_ / "b.trl", Bytes({TrackRecord::Make(1230766200, 1.0f, 2.0f, 3.0f)}));
  fs::create_directory(dir_ / "b.kml");
  run = Kavro("convert " + Q(dir_ / "b.trl") + " --kml --gpx");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("b.kml"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_directory(dir_ / "b.kml"));
  EXPECT_TRUE(fs::exists(dir_ / "b.gpx"));
}

TEST_F(ConvertTracksCli, ConvertSurvivesBadTrackFiles) {
  std::mt19937 random(580);
  std::string noise(16 * 5000 + 7, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteFile(dir_ / "noise.trl", noise);
  const TrackRecord good = TrackRecord::Make(1205544612, 25.0f, 121.0f, 1.0f);
  TrackRecord bad = good;
  bad.bytes[15] ^= 0xFF;
  // Half the records damaged is still a track log; its damaged records are skipped.
  WriteFile(dir_ / "bad.trl", Bytes({bad, good, good, bad}) + "tail");
  WriteFile(dir_ / "empty.trl", "");
  for (const char* name : {"bad.trl", "empty.trl"}) {
    const test::CliRun run = Kavro("convert " + Q(dir_ / name) + " --text --kml --nmea --gpx --zone 0");
    EXPECT_EQ(run.status, 0) << name << run.err;
  }
  std::ifstream text(dir_ / "bad.txt");
  std::stringstream all;
  all << text.rdbuf();
  EXPECT_EQ(Lines(all.str()).size(), 2u);
  EXPECT_EQ(fs::file_size(dir_ / "emptyNMEA.txt"), 0u);

  // Noise is no track log: refused by name, nothing written, however many records pass by chance.
  const test::CliRun run = Kavro("convert " + Q(dir_ / "noise.trl") + " --text --kml --nmea --gpx --zone 0");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The file " + (dir_ / "noise.trl").string() + " is not a track log file"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.out.find("Convert Successfully!"), std::string::npos);
  for (const char* out : {"noise.txt", "noise.kml", "noiseNMEA.txt", "noise.gpx"}) EXPECT_FALSE(fs::exists(dir_ / out));
}

}  // namespace
}  // namespace kavro
