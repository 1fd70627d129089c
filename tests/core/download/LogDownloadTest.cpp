// Log downloads over a real pseudo-terminal against the simulated logger: the files must be
// byte-identical to those decoded from the simulator's memory image, or the download ends as
// interrupted with nothing written. Never a hang.
#include "download/LogDownload.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "common/Texts.h"
#include "support/Files.h"
#include "support/SimLink.h"
#include "download/LogDecoder.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
namespace fs = std::filesystem;
using test::ReadDir;

class Recorder : public DownloadListener {
 public:
  void OnProgress(int percent, std::uint64_t, std::uint64_t) override { percents.push_back(percent); }
  void OnStatus(int id, const std::vector<std::string>& args) override {
    statuses.push_back(id);
    statusArgs = args;
  }
  std::vector<std::string> statusArgs;
  void OnFile(const TrackFileReport& r) override { files.push_back(r); }
  void OnPhotoLine(const std::string& line) override { photoLines.push_back(line); }
  std::vector<std::string> photoLines;
  std::vector<int> percents;
  std::vector<int> statuses;
  std::vector<TrackFileReport> files;
};

class DownloadOnSim : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("kavro-download-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base_);
    fs::create_directories(base_ / "got");
    fs::create_directories(base_ / "want");
    link_.SetTiming(test::QuickTiming());
    setup_.timing = test::QuickDownloadTiming();
    setup_.choose = [this] {
      TransferChoice c;
      c.directory = base_ / "got";
      c.directoryChosen = true;
      c.writeTotal = writeTotal_;
      return std::optional<TransferChoice>(c);
    };
  }
  void TearDown() override {
    if (sim_) sim_->Stop();
    link_.ClosePort();
    fs::remove_all(base_);
  }

  bool StartAndConnect(const sim::Scenario& scenario, sim::SimulatorOptions options = {}) {
    scenario_ = scenario;
    sim_ = test::StartSim(scenario, options);
    if (!sim_) return false;
    const ConnectResult r = Connect(link_, device_, sim_->SlavePath(), 38400, {});
    return r.outcome == ConnectOutcome::Connected;
  }

  DownloadResult Run() {
    sim_->ClearReceived();
    const Clock::time_point start = Clock::now();
    DownloadResult r = LogDownload(link_, device_, nullptr, zone_, strings_, setup_, rec_, cancel_.get_token());
    seconds_ = std::chrono::duration<double>(Clock::now() - start).count();
    return r;
  }

  // What `kavro tracks` writes from the simulator's memory image, KML included.
  std::map<std::string, std::string> Reference() {
    return test::TrackFilesOf(sim_->Memory(), device_.Snapshot(), zone_.Clock(), writeTotal_, base_ / "want");
  }
  std::map<std::string, std::string> Got() { return ReadDir(base_ / "got"); }

  std::vector<std::string> Requests() const {
    std::vector<std::string> out;
    for (const std::string& s : sim_->Received())
      if (s.rfind("$PMTK182,7,", 0) == 0) out.push_back(s.substr(0, s.find('*')));
    return out;
  }

  void ExpectInterruptedAndNothingWritten(const DownloadResult& r) {
    EXPECT_EQ(r.outcome, DownloadOutcome::Interrupted);
    EXPECT_TRUE(Got().empty()) << "an interrupted download leaves no file behind";
    EXPECT_TRUE(rec_.files.empty());
  }

  fs::path base_;
  sim::Scenario scenario_;
  std::unique_ptr<sim::Simulator> sim_;
  Link link_;
  DeviceState device_;
  TimeZoneState zone_;
  StringTable strings_;
  DownloadSetup setup_;
  Recorder rec_;
  std::stop_source cancel_;
  bool writeTotal_ = true;
  double seconds_ = 0;
};

TEST(DownloadSizing, SizeProgressAndRequestText) {
  EXPECT_EQ(DownloadSize(0, 0), 0x200000u);       // an empty log reads the whole memory
  EXPECT_EQ(DownloadSize(0x1234, 1), 0x200000u);  // so does a wrapped one
  EXPECT_EQ(DownloadSize(0x10001, 0), 0x10001u);
  // 0x10001 reads two sectors: the divisor is the last address of the second one, 0x1FFFF.
  EXPECT_EQ(ProgressPercent(0x10000, 0xF800, 0x10001), static_cast<int>((0x1F800ull * 100) / 0x1FFFF));
  EXPECT_EQ(ProgressPercent(0, 0, 0x10001), 0);
  // A whole 2 MB has the divisor 0x20FFFF: the bar reaches 96 before the closing 100.
  EXPECT_EQ(ProgressPercent(0x1F0000, 0xF800, 0x200000), 96);
  EXPECT_EQ(LogRequestText(0, 0x10000), AppendChecksum("$PMTK182,7,0,10000"));
  EXPECT_EQ(LogRequestText(0x30800, 0xF800), AppendChecksum("$PMTK182,7,30800,F800"));
}

TEST_F(DownloadOnSim, PlainPortReadsEverySectorAndWritesWhatTheImageHolds) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  const auto want = Reference();
  EXPECT_GE(want.size(), 8u);  // three tracks, total, waypoints, each with a KML
  EXPECT_EQ(Got(), want);
  EXPECT_EQ(rec_.statuses, (std::vector<int>{txt::UploadSucceed}));
  EXPECT_EQ(rec_.files.size(), want.size());
  EXPECT_EQ(rec_.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(rec_.percents.begin(), rec_.percents.end()));
  // Each sector: the keep-alive sentence, then the whole-sector request. No speed change.
  const auto got = sim_->Received();
  const std::uint32_t size = r.downloadSize;
  const auto sectors = static_cast<long>((size + 0xFFFF) / 0x10000);
  EXPECT_EQ(Requests().size(), static_cast<std::size_t>(sectors));
  for (std::size_t i = 0; i + 1 < got.size(); ++i) {
    if (got[i + 1].rfind("$PMTK182,7,", 0) == 0) {
      EXPECT_EQ(got[i], test::Recorded("$KAVRO580,6"));
    }
  }
  EXPECT_EQ(Requests()[1], "$PMTK182,7,10000,10000");
  EXPECT_EQ(test::Count(got, "$PMTK182,14"), 0);
  EXPECT_EQ(link_.Port().CurrentSpeed(), 38400);
  EXPECT_FALSE(link_.fastMode.load());
}

// Every sector came, but a file could not be written: the last status says how many failed.
TEST_F(DownloadOnSim, AFileThatCannotBeWrittenIsNoSuccess) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  const auto want = Reference();
  std::string kml;
  for (const auto& [name, bytes] : want)
    if (name.size() > 4 && name.substr(name.size() - 4) == ".kml") kml = name;
  ASSERT_FALSE(kml.empty());
  fs::create_directories(base_ / "got" / kml);  // the KML cannot take its place
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.failedFiles, 1);
  EXPECT_EQ(rec_.statuses, (std::vector<int>{txt::UploadFilesFailed}));
  EXPECT_EQ(rec_.statusArgs, (std::vector<std::string>{"1"}));
  EXPECT_EQ(strings_.Format(rec_.statuses.back(), {QString::fromStdString(rec_.statusArgs[0])}),
            QStringLiteral("Upload finished, but 1 of the files could not be written."));
}

TEST_F(DownloadOnSim, BridgeSwitchesTo921600AndBack) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  setup_.bridge = true;
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(Got(), Reference());
  const auto got = sim_->Received();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got.front(), test::Recorded("$PMTK182,14,921600"));
  EXPECT_EQ(got.back(), test::Recorded("$PMTK182,14,38400"));
  EXPECT_EQ(sim_->Baud(), 38400);
  EXPECT_EQ(link_.Port().BaudRate(), 38400);
  EXPECT_FALSE(link_.fastMode.load());
}

TEST_F(DownloadOnSim, EmptyLogReadsTheWholeMemory) {
  ASSERT_TRUE(StartAndConnect(test::Named("empty")));
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.downloadSize, 0x200000u);
  EXPECT_EQ(Requests().size(), 32u);
  EXPECT_EQ(Requests().back(), "$PMTK182,7,1F0000,10000");
  EXPECT_EQ(r.validRecords, 0);
  EXPECT_TRUE(Got().count("Logger1_T-580_Total_Start__Finish_.trl"));
}

TEST_F(DownloadOnSim, UsedSizeJustPastOneSectorReadsTwo) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  device_.Update([](DeviceInfo& d) { d.logUsedSize = 0x10001; });
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(Requests(), (std::vector<std::string>{"$PMTK182,7,0,10000", "$PMTK182,7,10000,10000"}));
  // 64 chunks, then 100: the last chunk's progress is (0x1F800 * 100) / 0x1FFFF.
  ASSERT_EQ(rec_.percents.size(), 65u);
  EXPECT_EQ(rec_.percents[63], static_cast<int>((0x1F800ull * 100) / 0x1FFFF));
}

TEST_F(DownloadOnSim, BadChecksumResumesFromTheFirstMissingChunk) {
  // Three sectors; the reply for 0x23000 (chunk 6 of sector 0x20000) comes corrupted.
  sim::SimulatorOptions o;
  o.faults.badChecksumAddress = 0x23000;
  ASSERT_TRUE(StartAndConnect(test::Named("demo"), o));
  device_.Update([](DeviceInfo& d) { d.logUsedSize = 0x20010; });
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(Requests(), (std::vector<std::string>{"$PMTK182,7,0,10000", "$PMTK182,7,10000,10000",
                                                  "$PMTK182,7,20000,10000", "$PMTK182,7,23000,D000"}));
  EXPECT_EQ(r.retries, 1);
  // Chunks 0-5 were kept: the files are those of the image.
  EXPECT_EQ(Got(), Reference());
}

TEST_F(DownloadOnSim, CombineJpegWritesThePhotoKmlBesideEachFile) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  setup_.choose = [this] {
    TransferChoice c;
    c.directory = base_ / "got";
    c.directoryChosen = true;
    c.writeTotal = true;
    c.photoDirectory = fs::path(KAVRO_TEST_DATA) / "photos";
    c.combinePhotos = true;
    return std::optional<TransferChoice>(c);
  };
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  const auto got = Got();
  const auto want = Reference();
  ASSERT_EQ(got.size(), want.size());
  int kml = 0;
  for (const auto& [name, bytes] : got) {
    ASSERT_TRUE(want.count(name)) << name;
    if (name.size() > 4 && name.substr(name.size() - 4) == ".trl") {
      EXPECT_EQ(bytes, want.at(name));
      continue;
    }
    // The photo KML: UTF-16LE with its byte-order mark, not the plain track KML.
    ++kml;
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    EXPECT_NE(bytes, want.at(name));
  }
  EXPECT_EQ(kml, static_cast<int>(got.size() / 2));
  EXPECT_EQ(r.failedFiles, 0);
  // The sample photos were taken years before the demo tracks: each photo KML says why it has none.
  int explained = 0;
  for (const std::string& line : rec_.photoLines)
    explained += line.rfind("No photo matched the track log: the photos were taken from ", 0) == 0;
  EXPECT_GE(explained, 3) << ::testing::PrintToString(rec_.photoLines);
}

TEST_F(DownloadOnSim, DeclinedDialogReadsNothingAndWithABridgeStillSetsTheSpeedBack) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  setup_.choose = [] { return std::optional<TransferChoice>(); };
  setup_.bridge = true;
  const DownloadResult r = Run();
  EXPECT_EQ(r.outcome, DownloadOutcome::Declined);
  EXPECT_EQ(rec_.statuses, (std::vector<int>{txt::UploadClearStatusMessage}));
  EXPECT_TRUE(Requests().empty());
  const auto got = sim_->Received();
  EXPECT_EQ(test::Count(got, "$PMTK182,14,38400"), 1);
  EXPECT_EQ(test::Count(got, "$PMTK182,14,921600"), 0);
  // A directory that was not (re)chosen counts as no choice.
  rec_ = {};
  setup_.choose = [this] {
    TransferChoice c;
    c.directory = base_ / "got";
    return std::optional<TransferChoice>(c);
  };
  setup_.bridge = false;
  EXPECT_EQ(Run().outcome, DownloadOutcome::Declined);
  EXPECT_TRUE(Got().empty());
}

TEST_F(DownloadOnSim, NoPortNoDownload) {
  sim_ = test::StartSim(test::Named("demo"));
  ASSERT_TRUE(sim_);
  bool asked = false;
  setup_.choose = [&] {
    asked = true;
    return std::optional<TransferChoice>();
  };
  const DownloadResult r = Run();
  EXPECT_EQ(r.outcome, DownloadOutcome::NotConnected);
  EXPECT_FALSE(asked);
  EXPECT_EQ(rec_.statuses, (std::vector<int>{txt::UploadFailedNoDevice}));
}

// --- faults on the line ----------------------------------------------------------------------

TEST_F(DownloadOnSim, FivePercentBadChecksumsOverTheWholeMemory) {
  sim::SimulatorOptions o;
  o.faults.badChecksumRate = 0.05;
  o.faults.seed = 580;
  ASSERT_TRUE(StartAndConnect(test::Named("full"), o));
  setup_.bridge = true;
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.downloadSize, 0x200000u);
  EXPECT_GT(r.retries, 20);  // about one in twenty of 1024 chunks, each sector within its bound
  EXPECT_EQ(Got(), Reference());
  RecordProperty("seconds", std::to_string(seconds_));
}

TEST_F(DownloadOnSim, DroppedReplyIsRequestedAgainAtTheSilenceLimit) {
  sim::SimulatorOptions o;
  o.faults.dropAddress = 0x14800;
  ASSERT_TRUE(StartAndConnect(test::Named("demo"), o));
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(Requests().back(), "$PMTK182,7,14800,B800");
  EXPECT_EQ(Got(), Reference());
  RecordProperty("seconds", std::to_string(seconds_));
}

TEST_F(DownloadOnSim, ReplyNamingAnotherAddressIsPassedOver) {
  sim::SimulatorOptions o;
  o.faults.wrongAddress = 0x3000;
  ASSERT_TRUE(StartAndConnect(test::Named("demo"), o));
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(Requests()[1], "$PMTK182,7,3000,D000");
  EXPECT_EQ(Got(), Reference());
}

TEST_F(DownloadOnSim, RepliesSplitInEightBytePieces) {
  sim::SimulatorOptions o;
  o.faults.splitBytes = 8;
  o.faults.splitPause = milliseconds(0);
  ASSERT_TRUE(StartAndConnect(test::Named("demo"), o));
  setup_.bridge = true;
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  EXPECT_EQ(r.retries, 0);
  EXPECT_EQ(Got(), Reference());
}

TEST_F(DownloadOnSim, LoggerGoingAwayMidSectorInterruptsAndWritesNothing) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  sim::Faults f;
  f.disconnectAfterBytes = 60000;  // in the middle of the first sector
  sim_->SetFaults(f);
  setup_.bridge = true;
  const DownloadResult r = Run();
  ExpectInterruptedAndNothingWritten(r);
  EXPECT_TRUE(r.linkLost);
  EXPECT_FALSE(link_.fastMode.load());
  EXPECT_LT(seconds_, 10.0);
}

TEST_F(DownloadOnSim, TwentySecondsOfSilenceMidSectorAreWaitedOut) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  sim::Faults f;
  f.silenceAfterBytes = 150000;  // in the second sector
  f.silenceFor = std::chrono::seconds(20);
  sim_->SetFaults(f);
  setup_.timing.silenceLimit = DownloadTiming{}.silenceLimit;
  const DownloadResult r = Run();
  ASSERT_EQ(r.outcome, DownloadOutcome::Complete);
  // Each request waits the silence limit (3 s) after the keep-alive (2.5 s) went unanswered.
  EXPECT_GE(r.retries, 3);
  EXPECT_LE(r.retries, 8);
  EXPECT_EQ(Got(), Reference());
  EXPECT_GE(seconds_, 20.0);
  RecordProperty("seconds", std::to_string(seconds_));
}

TEST_F(DownloadOnSim, EndlessSilenceEndsAfterTwentyRequestsOfTheSector) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  sim::Faults f;
  f.silenceAfterBytes = 80000;
  sim_->SetFaults(f);
  setup_.timing.silenceLimit = milliseconds(150);
  setup_.timing.watchdog = milliseconds(300);  // a plain port arms none: the retries run out
  const DownloadResult r = Run();
  ExpectInterruptedAndNothingWritten(r);
  EXPECT_EQ(r.retries, 20);
  // The first request and twenty more of the same sector, each from the first missing chunk.
  const auto req = Requests();
  ASSERT_EQ(req.size(), 21u);
  EXPECT_NE(req[0], req[1]);
  EXPECT_EQ(req[1], req.back());
}

TEST_F(DownloadOnSim, WatchdogEndsAFastSectorWhoseFirstChunkNeverComes) {
  ASSERT_TRUE(StartAndConnect(test::Named("demo")));
  setup_.bridge = true;
  setup_.timing.watchdog = milliseconds(1200);
  setup_.timing.silenceLimit = milliseconds(200);
  sim::Faults f;
  f.silenceAfterBytes = 0;
  sim_->SetFaults(f);
  const DownloadResult r = Run();
  ExpectInterruptedAndNothingWritten(r);
  EXPECT_FALSE(r.cancelled);
  EXPECT_LT(r.retries, 20);  // the watchdog, not the retry bound, ended it
  EXPECT_FALSE(link_.fastMode.load());
}

TEST_F(DownloadOnSim, CancelInterruptsWithinAFractionOfASecond) {
  sim::SimulatorOptions o;
  o.paced = true;  // 38400 baud: the first sector alone takes half a minute
  link_.SetTiming(ExchangeTiming{});
  ASSERT_TRUE(StartAndConnect(test::Named("demo"), o));
  std::thread canceller([this] {
    sim_->WaitForReceived("$PMTK182,7,", std::chrono::seconds(30));
    std::this_thread::sleep_for(milliseconds(300));
    cancel_.request_stop();
  });
  const DownloadResult r = Run();
  canceller.join();
  ExpectInterruptedAndNothingWritten(r);
  EXPECT_TRUE(r.cancelled);
  EXPECT_LT(seconds_, 20.0);
}

}  // namespace
}  // namespace kavro
