// Whole updates against the simulated logger's boot ROM: the new version after a reconnect,
// the Bluetooth address kept, and the failures on the way.
#include <QSettings>

#include "FirmwareTestSupport.h"
#include "BootRom.h"
#include "Simulator.h"
#include "common/Texts.h"
#include "firmware/BootRomProtocol.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Link.h"

namespace kavro {
namespace {

using test::ScratchDir;
namespace fs = std::filesystem;

const ::testing::Environment* const kSandbox = ::testing::AddGlobalTestEnvironment(new test::SettingsSandbox);

void SetSaved(const char* text) {
  QSettings s(QStringLiteral("Kavro"), QStringLiteral("T580"));
  if (text)
    s.setValue(QLatin1String(BtAddressStore::kValueName), QString::fromLatin1(text));
  else
    s.remove(QLatin1String(BtAddressStore::kValueName));
  s.sync();
}

std::unique_ptr<sim::Simulator> StartSim(sim::Faults faults = {}) {
  sim::SimulatorOptions options;
  options.faults = faults;
  auto s = std::make_unique<sim::Simulator>(*sim::ScenarioByName("demo"), options);
  std::string error;
  if (!s->Start(&error)) {
    ADD_FAILURE() << error;
    return nullptr;
  }
  return s;
}

struct Recorder {
  std::vector<int> statuses;
  std::vector<int> percents;
  FirmwareCallbacks Callbacks() {
    return {[this](int id) { statuses.push_back(id); }, [this](int p) { percents.push_back(p); }};
  }
  bool Saw(int id) const { return std::find(statuses.begin(), statuses.end(), id) != statuses.end(); }
};

class FirmwareUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSaved(nullptr);
    file_ = dir_.Path() / "T580_131.bin";
    test::WriteFirmwareFile(file_, test::TestImage(20000, 131));
  }
  void TearDown() override { SetSaved(nullptr); }

  // Check, Prepare and Run as the page does; the timing of the boot ROM may be shortened.
  FirmwareOutcome Update(sim::Simulator& s, Recorder& run, BootRomTiming rom = {}) {
    FirmwareTiming timing = test::QuickFirmwareTiming();
    timing.rom = rom;
    library_ = std::make_unique<SerialBootRom>(timing.rom);
    update_ = std::make_unique<FirmwareUpdate>(test::ProgramFolder(), *library_, timing);
    update_->ChooseFile(file_);
    const FirmwareMessage m = update_->Check();
    EXPECT_FALSE(m.IsError()) << m.textId;
    update_->Prepare({s.SlavePath(), 38400, 0}, run.Callbacks());
    return update_->Run(run.Callbacks());
  }

  ScratchDir dir_;
  fs::path file_;
  std::unique_ptr<SerialBootRom> library_;
  std::unique_ptr<FirmwareUpdate> update_;
};

TEST_F(FirmwareUpdateTest, NewVersionAfterReconnectAndTheAddressSurvives) {
  auto s = StartSim();
  ASSERT_TRUE(s);
  const auto before = s->State().btAddress;
  Recorder run;
  EXPECT_EQ(Update(*s, run), FirmwareOutcome::Updated);
  EXPECT_EQ(run.statuses.back(), txt::DownloadAndUpdateSuccess);
  for (int id : {txt::InitializeDownload, txt::InitializeDownloadAgent, txt::DownloadDownloadAgent,
                 txt::InitializeDownloadFirmware, txt::DownloadAndUpdateFirmware, txt::ProcessFinish})
    EXPECT_TRUE(run.Saw(id)) << id;
  EXPECT_EQ(run.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(run.percents.begin() + 1, run.percents.end()) || run.Saw(txt::InitializeDownloadFirmware));
  EXPECT_EQ(update_->DownloadResult(), BootRomLibrary::kDownloadDone);
  EXPECT_EQ(update_->Report().firmwareVersion, 131);
  EXPECT_EQ(update_->Report().imageBytes, 20000u);
  EXPECT_TRUE(update_->BtWritten());
  EXPECT_FALSE(update_->HandlesLive());
  EXPECT_FALSE(fs::exists(dir_.Path() / kImageCopyName));
  EXPECT_EQ(s->FirmwareImage(), test::TestImage(20000, 131));
  EXPECT_EQ(s->State().firmwareUpdates, 1);
  EXPECT_EQ(s->State().btAddress, before);
  EXPECT_EQ(BtAddressStore().Load(), SavedBtText(before));

  // The same logger, connected afterwards as the Device page does.
  Link link;
  DeviceState device;
  const ConnectResult r = Connect(link, device, s->SlavePath(), 38400, {});
  ASSERT_EQ(r.outcome, ConnectOutcome::Connected);
  EXPECT_EQ(device.Snapshot().versionText, "[ V1.31 ][ V12]");
  link.ClosePort();
}

TEST_F(FirmwareUpdateTest, BlankAddressIsReplacedByTheSavedOne) {
  sim::Faults faults;
  faults.blankBtAddress = true;
  auto s = StartSim(faults);
  ASSERT_TRUE(s);
  SetSaved("78:56:34:AB:12:00");
  Recorder run;
  EXPECT_EQ(Update(*s, run), FirmwareOutcome::Updated);
  EXPECT_EQ(update_->BtRead().source, BtSource::Saved);
  EXPECT_EQ(s->State().btAddress, (BtAddress{0x00, 0x12, 0xAB, 0x34, 0x56, 0x78}));
}

TEST_F(FirmwareUpdateTest, NoReplyAndNothingSavedWritesAllFF) {
  sim::Faults faults;
  faults.noBtReply = true;
  auto s = StartSim(faults);
  ASSERT_TRUE(s);
  Recorder run;
  EXPECT_EQ(Update(*s, run), FirmwareOutcome::Updated);
  EXPECT_EQ(update_->BtRead().source, BtSource::None);
  EXPECT_TRUE(s->WaitForReceived("$PMTK392,FFFFFF,FFFFFF*", std::chrono::seconds(5)));
  EXPECT_EQ(BtAddressStore().Load(), "FF:FF:FF:FF:FF:FF");
}

TEST_F(FirmwareUpdateTest, TransferStoppingHalfWayFailsAndStillWritesTheAddressBack) {
  sim::Faults faults;
  faults.bootRomStopAfterBlocks = 30;
  auto s = StartSim(faults);
  ASSERT_TRUE(s);
  const auto before = s->State().btAddress;
  BootRomTiming rom;
  rom.replyWait = std::chrono::milliseconds(400);
  rom.resends = 2;
  Recorder run;
  EXPECT_EQ(Update(*s, run, rom), FirmwareOutcome::DownloadFailed);
  EXPECT_EQ(update_->DownloadResult(), BootRomLibrary::kNoReply);
  EXPECT_EQ(run.statuses.back(), txt::FirmwareFailedTransfer);
  EXPECT_FALSE(run.Saw(txt::DownloadAndUpdateSuccess));
  EXPECT_GE(update_->Report().resends, 2);
  EXPECT_EQ(s->State().firmware, 125);
  EXPECT_EQ(s->State().firmwareUpdates, 0);
  EXPECT_TRUE(update_->BtWritten());
  EXPECT_EQ(s->State().btAddress, before);
  EXPECT_FALSE(update_->HandlesLive());
}

// The library's stop, asked for while the image goes out, ends the transfer before the logger
// takes the image.
TEST(BootRomStop, StopRequestedHalfWayEndsTheTransferAndTheOldFirmwareStays) {
  auto s = StartSim();
  ASSERT_TRUE(s);
  ScratchDir dir;
  const fs::path image = dir.Path() / kImageCopyName;
  const std::vector<std::uint8_t> bytes = test::TestImage(20000, 131);
  std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  SerialBootRom library;
  AgentHandle agent;
  ImageHandle images;
  library.CreateAgent(agent);
  library.CreateImage(images);
  library.SetAgentStartAddress(agent.get(), kAgentStartAddress);
  ASSERT_TRUE(BootRomLibrary::Accepted(library.LoadAgent(agent.get(), test::ProgramFolder() / "DA_T580.bin")));
  ASSERT_TRUE(BootRomLibrary::Accepted(library.LoadScatter(images.get(), test::ProgramFolder() / kScatterName)));
  library.SetPacketLength(images.get(), kPacketLength);
  ASSERT_TRUE(BootRomLibrary::Accepted(library.LoadImage(images.get(), 0, image)));
  library.EnableRegion(images.get(), 0, true);

  std::stop_source stop;
  ToolBlock tool;
  tool.agent = agent.get();
  DownloadBlock download;
  download.image = images.get();
  download.imageProgress = [&](std::uint8_t percent, std::uint32_t, std::uint32_t) {
    if (percent >= 30) stop.request_stop();
    return 0;
  };
  DownloadReport report;
  EXPECT_EQ(library.Download({0, s->SlavePath(), 38400}, tool, download, stop.get_token(), &report),
            BootRomLibrary::kStopped);
  EXPECT_GT(report.imageBytes, 0u);
  EXPECT_LT(report.imageBytes, 20000u);
  EXPECT_EQ(s->State().firmware, 125);
  EXPECT_EQ(s->State().firmwareUpdates, 0);
}

TEST_F(FirmwareUpdateTest, SilentBootRomFails) {
  sim::Faults faults;
  faults.bootRomSilent = true;
  auto s = StartSim(faults);
  ASSERT_TRUE(s);
  BootRomTiming rom;
  rom.syncAttempts = 10;
  Recorder run;
  EXPECT_EQ(Update(*s, run, rom), FirmwareOutcome::DownloadFailed);
  EXPECT_EQ(run.statuses.back(), txt::FirmwareFailedNoBootRom);
  EXPECT_TRUE(update_->BtWritten());
  EXPECT_EQ(s->State().firmware, 125);
  // The copy stays for another try.
  EXPECT_TRUE(fs::exists(dir_.Path() / kImageCopyName));
}

TEST_F(FirmwareUpdateTest, PortThatCannotBeOpenedShows413AndReleasesTheLibrary) {
  SerialBootRom library;
  FirmwareUpdate update(test::ProgramFolder(), library, test::QuickFirmwareTiming());
  update.ChooseFile(file_);
  ASSERT_FALSE(update.Check().IsError());
  Recorder run;
  update.Prepare({"/dev/kavro-no-such-port", 38400, 0}, run.Callbacks());
  EXPECT_TRUE(update.HandlesLive());
  EXPECT_EQ(update.Run(run.Callbacks()), FirmwareOutcome::PortFailed);
  EXPECT_EQ(run.statuses.back(), txt::OpenComPortFailed);
  EXPECT_FALSE(update.HandlesLive());
  EXPECT_TRUE(fs::exists(dir_.Path() / kImageCopyName));
}

TEST_F(FirmwareUpdateTest, PortHeldByAConnectionIsBusy) {
  auto s = StartSim();
  ASSERT_TRUE(s);
  Link link;
  DeviceState device;
  ASSERT_EQ(Connect(link, device, s->SlavePath(), 38400, {}).outcome, ConnectOutcome::Connected);
  Recorder run;
  EXPECT_EQ(Update(*s, run), FirmwareOutcome::PortFailed);
  EXPECT_EQ(s->State().firmwareUpdates, 0);
  link.ClosePort();
}

// The frames themselves: a damaged frame is refused with Nak and a resend goes through.
TEST(BootRomFrames, DamagedFrameIsReportedAndTheNextOneRead) {
  brom::Frame f;
  f.command = static_cast<std::uint8_t>(brom::Command::ImageData);
  f.seq = 7;
  f.payload = {1, 2, 3, 4, 5};
  std::vector<std::uint8_t> good = brom::Encode(f);
  std::vector<std::uint8_t> bad = good;
  bad[8] ^= 0x40;
  brom::FrameReader reader(brom::kHostStart);
  std::vector<std::uint8_t> line = {brom::kSync, brom::kSync};
  line.insert(line.end(), bad.begin(), bad.end());
  line.insert(line.end(), good.begin(), good.end() - 3);
  reader.Feed(line.data(), line.size());
  brom::Frame got;
  EXPECT_EQ(reader.Next(got), brom::FrameReader::Result::Damaged);
  EXPECT_EQ(got.seq, 7);
  EXPECT_EQ(reader.Next(got), brom::FrameReader::Result::None);
  reader.Feed(good.data() + good.size() - 3, 3);
  ASSERT_EQ(reader.Next(got), brom::FrameReader::Result::Frame);
  EXPECT_EQ(got.payload, f.payload);
  EXPECT_EQ(reader.TakeSyncBytes(), 2u);
  EXPECT_EQ(brom::ImageFirmwareVersion(reinterpret_cast<const std::uint8_t*>("xxKAVRO-FW-VER=13xKAVRO-FW-VER=207"), 34), 207);
}

}  // namespace
}  // namespace kavro

namespace kavro {
namespace {

TEST(SampleFirmware, PassesTheCheckAndCarriesItsVersion) {
  test::ScratchDir dir;
  const std::vector<std::uint8_t> file = sim::SampleFirmwareFile(131);
  std::ofstream(dir.Path() / "fw.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  ASSERT_FALSE(CheckFirmwareImage(dir.Path() / "fw.bin", dir.Path() / kImageCopyName).IsError());
  const std::vector<std::uint8_t> image = test::ReadBytes(dir.Path() / kImageCopyName);
  EXPECT_EQ(image.size(), file.size() - 4);
  EXPECT_EQ(brom::ImageFirmwareVersion(image.data(), image.size()), 131);
  EXPECT_EQ(brom::ImageFirmwareVersion(sim::SampleFirmwareFile(7).data(), 64), 7);
}

}  // namespace
}  // namespace kavro
