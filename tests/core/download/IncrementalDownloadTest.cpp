// Downloads that take part of the memory from the kept copy, over a real pseudo-terminal
// against the simulated logger. Whatever happened to the logger or the copy, each ends with
// files byte-identical to a whole read, or as interrupted with nothing written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "common/Texts.h"
#include "download/KeptCopy.h"
#include "download/LogDecoder.h"
#include "download/LogDownload.h"
#include "protocol/ConnectFlow.h"
#include "support/Files.h"
#include "support/SimLink.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::ReadDir;

class Recorder : public DownloadListener {
 public:
  void OnStatus(int id, const std::vector<std::string>&) override { statuses.push_back(id); }
  void OnLine(int id, const std::vector<std::string>& args) override {
    lines.push_back(id);
    if (id == txt::KeptSectorsSummary) summary = args;
  }
  bool Said(int id) const { return std::find(lines.begin(), lines.end(), id) != lines.end(); }
  std::vector<int> statuses;
  std::vector<int> lines;
  std::vector<std::string> summary;
};

// Folders compared by file name and bytes; a difference names the files, never prints them.
::testing::AssertionResult SameFiles(const std::map<std::string, std::string>& got,
                                     const std::map<std::string, std::string>& want) {
  std::string differ;
  for (const auto& [name, bytes] : want) {
    const auto it = got.find(name);
    if (it == got.end()) differ += " missing " + name;
    else if (it->second != bytes) differ += " differs " + name;
  }
  for (const auto& [name, bytes] : got)
    if (!want.count(name)) differ += " extra " + name;
  if (differ.empty() && !want.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << (want.empty() ? " nothing to compare" : differ);
}

// The demo logger with a trip added: it never wrapped, its log stands in sector 1.
sim::Scenario DemoAfterTrip(int points) {
  sim::Scenario s = test::Named("demo");
  const auto trip = sim::TripSlots(std::time(nullptr) - 7200, points);
  s.written.insert(s.written.end(), trip.begin(), trip.end());
  return s;
}

class IncrementalOnSim : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("kavro-incremental-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base_);
    fs::create_directories(base_);
  }
  void TearDown() override { fs::remove_all(base_); }

  sim::SimulatorOptions Options() {
    sim::SimulatorOptions o;
    o.eraseDelay = std::chrono::milliseconds(10);
    return o;
  }

  // One download of `sim`'s logger into base_/name; connect, download, let go.
  DownloadResult Download(sim::Simulator& sim, const std::string& name, bool onlyNew = true, bool clearAfter = false,
                          Recorder* recorder = nullptr) {
    Link link;
    link.SetTiming(test::QuickTiming());
    DeviceState device;
    EXPECT_EQ(Connect(link, device, sim.SlavePath(), 38400, {}).outcome, ConnectOutcome::Connected);
    info_ = device.Snapshot();
    if (afterConnect_) afterConnect_();
    const fs::path out = base_ / name;
    fs::create_directories(out);
    DownloadSetup setup;
    setup.timing = test::QuickDownloadTiming();
    setup.keptFolder = base_ / "cache";
    setup.choose = [&] {
      TransferChoice c;
      c.directory = out;
      c.directoryChosen = true;
      c.writeTotal = true;
      c.readOnlyNew = onlyNew;
      c.clearAfter = clearAfter;
      return std::optional<TransferChoice>(c);
    };
    Recorder own;
    TimeZoneState zone;
    StringTable strings;
    sim.ClearReceived();
    const DownloadResult r = LogDownload(link, device, nullptr, zone, strings, setup, recorder ? *recorder : own, {});
    link.ClosePort();
    return r;
  }

  // What a whole read of the logger's memory writes.
  std::map<std::string, std::string> Whole(const sim::Simulator& sim, const std::string& name) {
    TimeZoneState zone;
    return test::TrackFilesOf(sim.Memory(), info_, zone.Clock(), true, base_ / name);
  }

  static std::vector<std::string> Requests(const sim::Simulator& sim) {
    std::vector<std::string> out;
    for (const std::string& s : sim.Received())
      if (s.rfind("$PMTK182,7,", 0) == 0) out.push_back(s.substr(0, s.find('*')));
    return out;
  }

  fs::path KeptFile() const {
    if (!fs::exists(base_ / "cache")) return {};
    for (const auto& e : fs::directory_iterator(base_ / "cache"))
      if (e.path().extension() == ".kept") return e.path();
    return {};
  }

  fs::path base_;
  DeviceInfo info_;
  std::function<void()> afterConnect_;
};

TEST_F(IncrementalOnSim, AfterATripOnlyTheSectorOfTheOldPositionIsReadAndTheFilesMatchAWholeRead) {
  auto sim = test::StartSim(test::Named("demo"), Options());
  ASSERT_NE(sim, nullptr);
  ASSERT_EQ(Download(*sim, "first").outcome, DownloadOutcome::Complete);
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "first"), Whole(*sim, "want1")));
  ASSERT_TRUE(sim->Record(sim::TripSlots(std::time(nullptr) - 3600, 500)));

  Recorder rec;
  const DownloadResult r = Download(*sim, "second", true, false, &rec);
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.sectorsKept, 1);
  EXPECT_EQ(r.sectorsRead, 1);
  EXPECT_EQ(r.bytesRequested, 0x10000u + 2 * 0x800u);
  EXPECT_EQ(Requests(*sim), (std::vector<std::string>{"$PMTK182,7,0,800", "$PMTK182,7,F800,800", "$PMTK182,7,10000,10000"}));
  EXPECT_EQ(rec.summary, (std::vector<std::string>{"1", "1", std::to_string(0x10000 + 0x1000)}));
  EXPECT_FALSE(rec.Said(txt::KeptMemoryChanged));
  const auto got = ReadDir(base_ / "second");
  EXPECT_TRUE(SameFiles(got, Whole(*sim, "want2")));
  // And the same as what the user gets when asking for all of it.
  EXPECT_EQ(Download(*sim, "all", false).sectorsKept, 0);
  EXPECT_TRUE(SameFiles(got, ReadDir(base_ / "all")));
}

TEST_F(IncrementalOnSim, AnUnpluggedDownloadResumesWithTheSectorsThatCameWhole) {
  const sim::Scenario scenario = DemoAfterTrip(10000);  // four sectors
  sim::SimulatorOptions cut = Options();
  cut.faults.disconnectAfterBytes = 300000;  // in sector 2
  auto first = test::StartSim(scenario, cut);
  ASSERT_NE(first, nullptr);
  const DownloadResult broken = Download(*first, "broken");
  EXPECT_EQ(broken.outcome, DownloadOutcome::Interrupted);
  EXPECT_TRUE(ReadDir(base_ / "broken").empty());

  auto again = test::StartSim(scenario, Options());
  ASSERT_NE(again, nullptr);
  const DownloadResult r = Download(*again, "resumed");
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.sectorsKept, 2);
  EXPECT_EQ(r.sectorsRead, 2);
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "resumed"), Whole(*again, "want")));
}

TEST_F(IncrementalOnSim, AnUnplugDuringTheProofsWritesNothingAndKeepsTheCopy) {
  auto sim = test::StartSim(test::Named("demo"), Options());
  ASSERT_NE(sim, nullptr);
  ASSERT_EQ(Download(*sim, "first").outcome, DownloadOutcome::Complete);
  std::ifstream before(KeptFile(), std::ios::binary);
  const std::string kept((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(kept.empty());

  sim::Faults f;
  f.disconnectAfterBytes = 2000;  // after the keep-alive answer, inside the first compared chunk
  afterConnect_ = [&] { sim->SetFaults(f); };
  const DownloadResult r = Download(*sim, "second");
  EXPECT_EQ(r.outcome, DownloadOutcome::Interrupted);
  EXPECT_TRUE(ReadDir(base_ / "second").empty());
  std::ifstream after(KeptFile(), std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), kept);
}

// The same key (no Bluetooth address, the same user name) and the same write position, other
// records: the comparisons tell, and the whole memory is read.
TEST_F(IncrementalOnSim, AnotherLoggerOrARefilledLogIsReadWhole) {
  sim::Scenario a = test::Named("demo");
  sim::Scenario b = a;
  // Refilled with other points in the first chunk, and in the last chunk of the kept sector.
  std::size_t last = memory::kSlotsPerSector - 1;
  while (IsLogStartMarker(a.written[last].data()) || IsWaypointMarker(a.written[last].data())) --last;
  for (std::size_t slot : {std::size_t{20}, last}) {
    SCOPED_TRACE(slot);
    b = a;
    b.written[slot] = TrackRecord::Make(TrackRecord::FromBytes(a.written[slot].data()).Time(), 1.5f, 2.5f, 3.0f).bytes;
    sim::SimulatorOptions o = Options();
    o.faults.blankBtAddress = true;
    auto sim = test::StartSim(a, o);
    ASSERT_NE(sim, nullptr);
    ASSERT_EQ(Download(*sim, "a" + std::to_string(slot)).outcome, DownloadOutcome::Complete);
    sim->ReplaceMemory(b);
    Recorder rec;
    const DownloadResult r = Download(*sim, "b" + std::to_string(slot), true, false, &rec);
    ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
    EXPECT_TRUE(rec.Said(txt::KeptMemoryChanged));
    EXPECT_EQ(r.sectorsKept, 0);
    EXPECT_TRUE(SameFiles(ReadDir(base_ / ("b" + std::to_string(slot))), Whole(*sim, "want" + std::to_string(slot))));
    EXPECT_FALSE(SameFiles(ReadDir(base_ / ("b" + std::to_string(slot))), ReadDir(base_ / ("a" + std::to_string(slot)))));
  }
  // A logger with another Bluetooth address has no kept copy: read whole, nothing to say.
  sim::Scenario other = a;
  other.btAddress = {0x00, 0x1B, 0xC1, 0x0A, 0x2F, 0x9E};
  auto sim = test::StartSim(other, Options());
  Recorder rec;
  const DownloadResult r = Download(*sim, "other", true, false, &rec);
  EXPECT_EQ(r.sectorsKept, 0);
  EXPECT_FALSE(rec.Said(txt::KeptMemoryChanged));
}

// The compared chunks agree, but the sector read again differs below the old write position.
TEST_F(IncrementalOnSim, AChangeBelowTheOldPositionInItsOwnSectorMakesItReadAll) {
  auto sim = test::StartSim(test::Named("demo"), Options());
  ASSERT_NE(sim, nullptr);
  ASSERT_EQ(Download(*sim, "first").outcome, DownloadOutcome::Complete);
  sim::Scenario b = DemoAfterTrip(500);
  const std::size_t slot = memory::kSlotsPerSector + 10;
  b.written[slot] = TrackRecord::Make(TrackRecord::FromBytes(b.written[slot].data()).Time(), 1.5f, 2.5f, 3.0f).bytes;
  sim->ReplaceMemory(b);
  Recorder rec;
  const DownloadResult r = Download(*sim, "second", true, false, &rec);
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_TRUE(rec.Said(txt::KeptMemoryChanged));
  EXPECT_EQ(r.sectorsKept, 0);
  EXPECT_EQ(r.sectorsRead, 2);
  EXPECT_EQ(Requests(*sim), (std::vector<std::string>{"$PMTK182,7,0,800", "$PMTK182,7,F800,800", "$PMTK182,7,10000,10000",
                                                       "$PMTK182,7,0,10000"}));
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "second"), Whole(*sim, "want")));
}

TEST_F(IncrementalOnSim, AnEraseAWrapAndADamagedCopyEachReadItAll) {
  auto sim = test::StartSim(DemoAfterTrip(10000), Options());
  ASSERT_NE(sim, nullptr);
  ASSERT_EQ(Download(*sim, "first").outcome, DownloadOutcome::Complete);
  const fs::path file = KeptFile();

  // One flipped byte, then a truncated file.
  for (int round = 0; round < 2; ++round) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    if (round == 0) {
      f.seekp(100000);
      f.put('\x5A');
      f.close();
    } else {
      f.close();
      fs::resize_file(file, fs::file_size(file) - 1);
    }
    Recorder rec;
    const DownloadResult r = Download(*sim, "damaged" + std::to_string(round), true, false, &rec);
    ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
    EXPECT_TRUE(rec.Said(txt::KeptCopyDamaged));
    EXPECT_EQ(r.sectorsKept, 0);
    EXPECT_TRUE(SameFiles(ReadDir(base_ / ("damaged" + std::to_string(round))), Whole(*sim, "want" + std::to_string(round))));
  }

  // Erased, then less recorded than before: the position went back.
  sim->ReplaceMemory(test::Named("demo"));
  Recorder erased;
  ASSERT_EQ(Download(*sim, "erased", true, false, &erased).outcome, DownloadOutcome::Complete);
  EXPECT_TRUE(erased.Said(txt::KeptMemoryChanged));
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "erased"), Whole(*sim, "wantErased")));

  // Wrapped: the whole memory, and no copy kept of it.
  sim::Scenario wrapped = test::Named("wrapped");
  wrapped.userName = "Logger1";
  sim->ReplaceMemory(wrapped);
  Recorder wrap;
  ASSERT_EQ(Download(*sim, "wrapped", true, false, &wrap).outcome, DownloadOutcome::Complete);
  EXPECT_TRUE(wrap.Said(txt::KeptMemoryWrapped));
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "wrapped"), Whole(*sim, "wantWrapped")));
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(IncrementalOnSim, TwoProgramsDownloadingAtOnceLeaveOneWholeCopy) {
  const sim::Scenario scenario = DemoAfterTrip(10000);
  auto one = test::StartSim(scenario, Options());
  auto two = test::StartSim(scenario, Options());
  ASSERT_TRUE(one && two);
  DownloadResult r1, r2;
  std::thread t1([&] { r1 = Download(*one, "one"); });
  std::thread t2([&] { r2 = Download(*two, "two"); });
  t1.join();
  t2.join();
  ASSERT_EQ(r1.outcome, DownloadOutcome::Complete);
  ASSERT_EQ(r2.outcome, DownloadOutcome::Complete);
  const auto want = Whole(*one, "want");
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "one"), want));
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "two"), want));
  KeptCopy kept;
  const fs::path file = KeptFile();
  ASSERT_EQ(KeptCopyStore(base_ / "cache").Load(file.stem().string(), kept), KeptLoad::Loaded);
  const auto memory = one->Memory();
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 4 * memory::kSectorSize, kept.image.begin()));
  EXPECT_EQ(std::distance(fs::directory_iterator(base_ / "cache"), fs::directory_iterator()), 1);
  // And the next one takes from it.
  EXPECT_EQ(Download(*one, "three").sectorsKept, 3);
}

TEST_F(IncrementalOnSim, ClearAfterDownloadErasesOnlyAfterEveryFileWasWritten) {
  auto sim = test::StartSim(test::Named("demo"), Options());
  ASSERT_NE(sim, nullptr);
  // A folder where the waypoint file should go: that file cannot be written.
  fs::create_directories(base_ / "blocked" / "Logger1_T-580_Waypoints.trl");
  Recorder refused;
  const DownloadResult no = Download(*sim, "blocked", true, true, &refused);
  EXPECT_GT(no.failedFiles, 0);
  EXPECT_FALSE(no.cleared);
  EXPECT_TRUE(refused.Said(txt::ClearAfterFilesFailed));
  EXPECT_EQ(sim->State().eraseCount, 0);

  const auto before = sim->Memory();
  Recorder done;
  const DownloadResult yes = Download(*sim, "cleared", true, true, &done);
  ASSERT_EQ(yes.outcome, DownloadOutcome::Complete);
  EXPECT_TRUE(yes.cleared);
  EXPECT_TRUE(done.Said(txt::ClearSucceed));
  EXPECT_EQ(sim->State().eraseCount, 1);
  EXPECT_EQ(sim->WritePosition(), 0u);
  EXPECT_TRUE(KeptFile().empty()) << "the kept copy goes with the log";
  TimeZoneState zone;
  EXPECT_TRUE(SameFiles(ReadDir(base_ / "cleared"), test::TrackFilesOf(before, info_, zone.Clock(), true, base_ / "want")));

  // An interrupted download erases nothing, and says so.
  sim::SimulatorOptions cut = Options();
  cut.faults.disconnectAfterBytes = 50000;
  auto unplugged = test::StartSim(test::Named("demo"), cut);
  Recorder interrupted;
  EXPECT_EQ(Download(*unplugged, "cut", true, true, &interrupted).outcome, DownloadOutcome::Interrupted);
  EXPECT_TRUE(interrupted.Said(txt::ClearAfterIncomplete));
  EXPECT_EQ(unplugged->State().eraseCount, 0);
}

}  // namespace
}  // namespace kavro
