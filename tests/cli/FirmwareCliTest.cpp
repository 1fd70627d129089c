// kavro firmware and kavro bt-address, run as programs against the simulated logger, with a
// settings store of their own.
#include <gtest/gtest.h>

#include "support/KavroRun.h"
#include "support/TerminalRun.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "BootRom.h"
#include "firmware/BootRomProtocol.h"
#include "Simulator.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Kavro;

class FirmwareCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavro-fwcli-XXXXXX").string();
    dir_ = ::mkdtemp(tmpl.data());
    env_ = "XDG_CONFIG_HOME=" + (dir_ / "config").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string WriteFirmware(const std::string& name, int version) {
    const std::vector<std::uint8_t> file = sim::SampleFirmwareFile(version, 40000);
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
    return path.string();
  }
  std::string Start(sim::Faults faults = {}) {
    sim::SimulatorOptions options;
    options.faults = faults;
    std::string error;
    sim_ = sim::StartSimulator("demo", &error, options);
    if (!sim_) ADD_FAILURE() << error;
    return sim_ ? " --port " + sim_->SlavePath() : std::string();
  }

  fs::path dir_;
  std::string env_;
  std::unique_ptr<sim::Simulator> sim_;
};

TEST_F(FirmwareCli, UpdateThenReconnectShowsTheNewVersionAndTheSameAddress) {
  const std::string port = Start();
  const auto address = sim_->State().btAddress;
  const std::string file = WriteFirmware("T580_142.bin", 142);
  const test::CliRun r = Kavro("firmware --yes " + file + port, env_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Download and Update Successfully\n");
  const std::string expected =
      "Initialize Download...\nInitialize Download Agent(DA)...\nDownload Download Agent(DA)...\n"
      "Initialize Download Firmware...\nDownload and Update Firmware...\nProcess Finish Procedure...\n";
  EXPECT_EQ(r.err, expected);
  EXPECT_FALSE(fs::exists(dir_ / "Kavro_FW_Temp.bin"));
  EXPECT_EQ(sim_->State().btAddress, address);

  const test::CliRun info = Kavro("info" + port, env_);
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_TRUE(Has(info.out, "[ V1.42 ][ V12]")) << info.out;
  const test::CliRun bt = Kavro("bt-address" + port, env_);
  ASSERT_EQ(bt.status, 0) << bt.err;
  EXPECT_EQ(bt.out, "Bluetooth address of the logger: 00:12:AB:34:56:78\nSaved Bluetooth address: 00:12:AB:34:56:78\n");
}

TEST_F(FirmwareCli, WrongFilesAreRefusedBeforeTheLoggerIsTouched) {
  const std::string port = Start();
  std::string file = WriteFirmware("bad.bin", 142);
  {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    f.put('x');
  }
  const test::CliRun bad = Kavro("firmware " + file + port, env_);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "The firmware file content is wrong, please select correct firmware file and then download again.\n");
  const test::CliRun missing = Kavro("firmware " + (dir_ / "none.bin").string() + port, env_);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(Kavro("firmware" + port, env_).status, 2);
  EXPECT_EQ(Kavro("firmware " + WriteFirmware("ok.bin", 142), env_).status, 2);
  EXPECT_TRUE(sim_->Received().empty());
}

// The update asks first, naming the file, its version and the port; not on a terminal it
// needs --yes. Until then the logger is not touched and no image copy is left.
TEST_F(FirmwareCli, UpdateAsksFirstOrNeedsYes) {
  const std::string port = Start();
  const std::string file = WriteFirmware("T580_142.bin", 142);
  const std::string question = "Write the firmware " + file + " (version V1.42) into the logger on " + sim_->SlavePath() +
                               "? Do not disconnect the cable until the update has finished.";
  const test::CliRun r = Kavro("firmware " + file + port, env_);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, question + "\nThere is no terminal to ask on: add --yes to go ahead.\n");
  EXPECT_TRUE(sim_->Received().empty());
  EXPECT_FALSE(fs::exists(dir_ / "Kavro_FW_Temp.bin"));

  const std::string cfg = (dir_ / "config").string();
  ::setenv("XDG_CONFIG_HOME", cfg.c_str(), 1);
  const test::TerminalRun no = test::RunOnTerminal({"firmware", file, "--port", sim_->SlavePath()}, "[y/N]", "n\n");
  EXPECT_EQ(no.status, 1) << no.screen;
  EXPECT_TRUE(Has(no.screen, question + " [y/N] ")) << no.screen;
  EXPECT_TRUE(sim_->Received().empty());
  EXPECT_FALSE(fs::exists(dir_ / "Kavro_FW_Temp.bin"));
  const test::TerminalRun yes = test::RunOnTerminal({"firmware", file, "--port", sim_->SlavePath()}, "[y/N]", "y\n");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(yes.status, 0) << yes.screen;
  EXPECT_EQ(sim_->State().firmware, 142);

  // An image without a version mark: the question names file and port only.
  std::vector<std::uint8_t> plain(2000, 0x5A);
  const std::string bare = (dir_ / "bare.bin").string();
  {
    const std::uint32_t c = brom::Crc32(plain);
    for (int i = 0; i < 4; ++i) plain.push_back(static_cast<std::uint8_t>(c >> (8 * i)));
    std::ofstream(bare, std::ios::binary).write(reinterpret_cast<const char*>(plain.data()),
                                                static_cast<std::streamsize>(plain.size()));
  }
  const test::CliRun unversioned = Kavro("firmware " + bare + port, env_);
  EXPECT_EQ(unversioned.status, 2);
  EXPECT_TRUE(Has(unversioned.err, "Write the firmware " + bare + " into the logger on " + sim_->SlavePath() + "?"))
      << unversioned.err;
}

TEST_F(FirmwareCli, SilentBootRomFailsWithItsMessage) {
  sim::Faults faults;
  faults.bootRomSilent = true;
  const std::string port = Start(faults);
  const test::CliRun r = Kavro("firmware -y " + WriteFirmware("fw.bin", 142) + port, env_);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Has(r.err, "Download and Update Failed: the logger's boot ROM did not answer.")) << r.err;
  EXPECT_FALSE(Has(r.out + r.err, "Download and Update Successfully"));
  EXPECT_EQ(sim_->State().firmware, 125);
  // The address was written back all the same.
  EXPECT_TRUE(sim_->WaitForReceived("$PMTK392,0012AB,345678*", std::chrono::seconds(5)));
}

TEST_F(FirmwareCli, PortThatCannotBeOpened) {
  const test::CliRun r = Kavro("firmware --yes " + WriteFirmware("fw.bin", 142) + " --port /dev/kavro-no-such-port", env_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Initialize Download...\nOpen COM Port failed! Please select correct COM Port and then download again.\n");
  EXPECT_TRUE(fs::exists(dir_ / "Kavro_FW_Temp.bin"));
  const test::CliRun bt = Kavro("bt-address --port /dev/kavro-no-such-port", env_);
  EXPECT_EQ(bt.status, 1);
  EXPECT_TRUE(Has(bt.err, "/dev/kavro-no-such-port")) << bt.err;
}

TEST_F(FirmwareCli, BtAddressWithoutReply) {
  sim::Faults faults;
  faults.noBtReply = true;
  const std::string port = Start(faults);
  const test::CliRun r = Kavro("bt-address" + port, env_);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Saved Bluetooth address: none\n");
  EXPECT_TRUE(Has(r.err, "The logger did not tell its Bluetooth address.")) << r.err;
}

}  // namespace
}  // namespace kavro
