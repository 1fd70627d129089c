#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "common/Texts.h"
#include "download/LogDecoder.h"
#include "download/TrackFileWriter.h"
#include "track/TrackFileReader.h"

namespace kavro {
namespace {

constexpr std::int32_t T = 1205544612;  // 2008-03-15 01:30:12 UTC

TrackRecord Rec(std::int32_t time) { return TrackRecord::Make(time, 25.0f, 121.0f, 10.0f); }
TrackRecord Marker() {
  TrackRecord m;
  std::memcpy(m.bytes.data(), kLogStartMarker, 16);
  return m;
}

std::vector<std::pair<long, long>> Spans(const std::vector<TrackRecord>& list) {
  std::vector<std::pair<long, long>> out;
  for (const TrackSpan& s : SplitTracks(list)) out.emplace_back(s.start, s.end);
  return out;
}

TEST(SplitTracks, MarkersFirstLastAndAdjacent) {
  const TrackRecord r = Rec(T), m = Marker();
  using V = std::vector<std::pair<long, long>>;
  EXPECT_EQ(Spans({}), (V{{0, -1}}));
  EXPECT_EQ(Spans({r, r, r}), (V{{0, 2}}));
  EXPECT_EQ(Spans({m, r, r}), (V{{-1, -1}, {1, 2}}));
  EXPECT_EQ(Spans({r, r, m}), (V{{0, 1}, {-1, -1}}));
  EXPECT_EQ(Spans({r, m, m, r}), (V{{0, 0}, {2, 1}, {3, 3}}));
  EXPECT_EQ(Spans({m}), (V{{-1, -1}, {1, 0}}));
  int nonEmpty = 0;
  for (const TrackSpan& s : SplitTracks({r, m, m, r})) nonEmpty += s.NonEmpty();
  EXPECT_EQ(nonEmpty, 2);
}

class TrackFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("kavro-trackfiles-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    std::filesystem::remove_all(dir_);
  }
  TrackFilesResult Write(const std::vector<TrackRecord>& list, const std::vector<std::uint8_t>& flags, bool total,
                         const std::string& user = "Logger1") {
    int waypoints = 0;
    for (auto f : flags) waypoints += f;
    reports_.clear();
    return WriteTrackFiles(list, flags, waypoints, TrackFilesOptions{dir_, total, user, ZoneClock::Fixed(8 * 60)},
                           [this](const TrackFileReport& r) { reports_.push_back(r); });
  }
  std::vector<std::int32_t> TimesIn(const std::filesystem::path& file) {
    TrackFileReader reader;
    EXPECT_TRUE(reader.Open(file)) << file;
    std::vector<std::int32_t> times;
    TrackRecord r;
    while (reader.Next(r)) times.push_back(r.Time());
    return times;
  }
  std::vector<std::string> Listing() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::filesystem::path dir_;
  std::vector<TrackFileReport> reports_;
};

TEST_F(TrackFiles, TracksTotalAndWaypointsWithTheirNamesAndReports) {
  const TrackRecord m = Marker();
  // Track 1: T..T+3 with a waypoint in the middle and as its last entry; track 2: T+7200..T+7201.
  const std::vector<TrackRecord> list = {m, Rec(T), Rec(T + 1), Rec(T + 2), Rec(T + 3), m, Rec(T + 7200), Rec(T + 7201)};
  const std::vector<std::uint8_t> flags = {0, 0, 1, 0, 1, 0, 0, 0};
  const auto result = Write(list, flags, true);
  EXPECT_EQ(result.failed, 0);
  const std::string one = "Logger1_T-580_Start_20080315-093012_Finish_20080315-093015.trl";
  const std::string two = "Logger1_T-580_Start_20080315-113012_Finish_20080315-113013.trl";
  const std::string total = "Logger1_T-580_Total_Start_20080315-093012_Finish_20080315-113013.trl";
  const std::string wpts = "Logger1_T-580_Waypoints.trl";
  EXPECT_EQ(Listing(), (std::vector<std::string>{one, two, total, wpts}));
  ASSERT_EQ(result.trackFiles.size(), 3u);
  EXPECT_TRUE(result.trackFiles[0].empty());
  EXPECT_EQ(result.trackFiles[1], dir_ / one);
  EXPECT_EQ(TimesIn(dir_ / one), (std::vector<std::int32_t>{T, T + 2}));
  EXPECT_EQ(TimesIn(dir_ / two), (std::vector<std::int32_t>{T + 7200, T + 7201}));
  EXPECT_EQ(TimesIn(dir_ / total), (std::vector<std::int32_t>{T, T + 2, T + 7200, T + 7201}));
  EXPECT_EQ(TimesIn(dir_ / wpts), (std::vector<std::int32_t>{T + 1, T + 3}));
  ASSERT_EQ(reports_.size(), 4u);
  const std::vector<std::filesystem::path> order = {dir_ / one, dir_ / two, dir_ / total, dir_ / wpts};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(reports_[i].textId, txt::CreateFileOk);
    EXPECT_EQ(reports_[i].path, order[i]);
  }
  EXPECT_EQ(result.Written(), order);
}

TEST_F(TrackFiles, WaypointOnlyTrackAndTotalWithEmptyTimes) {
  const auto result = Write({Rec(T)}, {1}, false);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"Logger1_T-580_Start_20080315-093012_Finish_20080315-093012.trl",
                                                 "Logger1_T-580_Waypoints.trl"}));
  EXPECT_EQ(std::filesystem::file_size(result.trackFiles[0]), 0u);

  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  Write({Marker()}, {0}, true);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"Logger1_T-580_Total_Start__Finish_.trl"}));
}

TEST_F(TrackFiles, SameSecondTracksKeepBothFiles) {
  const TrackRecord m = Marker();
  const auto result = Write({Rec(T), Rec(T + 1), m, Rec(T), Rec(T + 1)}, {0, 0, 0, 0, 0}, false);
  const std::string base = "Logger1_T-580_Start_20080315-093012_Finish_20080315-093013";
  EXPECT_EQ(Listing(), (std::vector<std::string>{base + ".trl", base + "_2.trl"}));
  EXPECT_EQ(result.Written().size(), 2u);
}

TEST_F(TrackFiles, UserNameCannotLeaveTheDirectory) {
  Write({Rec(T)}, {0}, false, "../x/..\\y:*");
  // No separator is left, so the dots are only part of the name.
  EXPECT_EQ(Listing(), (std::vector<std::string>{".._x_.._y___T-580_Start_20080315-093012_Finish_20080315-093012.trl"}));
  EXPECT_EQ(FileNameSafeUserName("Logger1"), "Logger1");
}

TEST_F(TrackFiles, UserNameKeepsWhatAFileNameCanHold) {
  Write({Rec(T)}, {0}, false, "J.Doe v1.2");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"J.Doe v1.2_T-580_Start_20080315-093012_Finish_20080315-093012.trl"}));
  // Only what Linux or Windows refuse in a file name is replaced.
  EXPECT_EQ(FileNameSafeUserName("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(FileNameSafeUserName(std::string("t\tab\x01\x7f", 6)), "t_ab__");
  EXPECT_EQ(FileNameSafeUserName("-_.,;'!#$%&()+=@[]^`{}~"), "-_.,;'!#$%&()+=@[]^`{}~");
}

TEST_F(TrackFiles, FileThatCannotBeCreatedIsReportedAndOthersGoOn) {
  // A directory in the way of the first track's name.
  const std::string blocked = "Logger1_T-580_Start_20080315-093012_Finish_20080315-093012.trl";
  std::filesystem::create_directory(dir_ / blocked);
  const auto result = Write({Rec(T), Marker(), Rec(T + 60)}, {0, 0, 0}, false);
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_EQ(reports_[0].textId, txt::CreateFileFailed);
  EXPECT_EQ(reports_[0].path, dir_ / blocked);
  EXPECT_FALSE(reports_[0].reason.empty());
  EXPECT_EQ(reports_[1].textId, txt::CreateFileOk);
  EXPECT_EQ(result.failed, 1);
  EXPECT_TRUE(result.trackFiles[0].empty());
  EXPECT_EQ(TimesIn(result.trackFiles[1]), (std::vector<std::int32_t>{T + 60}));

  // A directory that refuses new files: every file fails, nothing is reported as created.
  if (::geteuid() != 0) {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    Write({Rec(T + 600)}, {1}, true);
    ASSERT_EQ(reports_.size(), 3u);
    for (const auto& r : reports_) EXPECT_EQ(r.textId, txt::CreateFileFailed);
  }
}

}  // namespace
}  // namespace kavro

namespace kavro {
namespace {

TEST_F(TrackFiles, KmlBesideEveryWrittenFileInOrder) {
  const auto result = Write({Rec(T), Marker(), Rec(T + 60)}, {0, 0, 1}, true);
  std::vector<TrackFileReport> kml;
  EXPECT_EQ(WriteKmlForTrackFiles(result, ZoneClock::Fixed(8 * 60), [&](const TrackFileReport& r) { kml.push_back(r); }),
            0);
  const auto written = result.Written();
  ASSERT_EQ(written.size(), 4u);  // two tracks (the second empty: only a waypoint), total, waypoints
  ASSERT_EQ(kml.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(kml[i].textId, txt::CreateFileOk);
    auto expected = written[i];
    expected.replace_extension(".kml");
    EXPECT_EQ(kml[i].path, expected);
    std::ifstream f(kml[i].path);
    std::string first;
    std::getline(f, first);
    EXPECT_EQ(first, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r");
  }
}

}  // namespace
}  // namespace kavro
