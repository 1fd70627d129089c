// The firmware file check, the image copy beside it, and the port the update uses.
#include <sys/stat.h>
#include <unistd.h>

#include "FirmwareTestSupport.h"
#include "common/Texts.h"

namespace kavro {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteFirmwareFile;
namespace fs = std::filesystem;

TEST(FirmwareImage, TrailerPassesAndEveryChangedByteFails) {
  ScratchDir dir;
  const std::vector<std::uint8_t> image = test::TestImage(300, 131);
  const fs::path file = dir.Path() / "fw.bin";
  const fs::path copy = dir.Path() / kImageCopyName;
  WriteFirmwareFile(file, image);
  EXPECT_FALSE(CheckFirmwareImage(file, copy).IsError());
  EXPECT_EQ(ReadBytes(copy), image);

  const std::vector<std::uint8_t> good = ReadBytes(file);
  for (std::size_t i : {std::size_t{0}, std::size_t{150}, good.size() - 5, good.size() - 4, good.size() - 1}) {
    std::vector<std::uint8_t> bad = good;
    bad[i] ^= 0x01;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), static_cast<std::streamsize>(bad.size()));
    const FirmwareMessage m = CheckFirmwareImage(file, copy);
    EXPECT_EQ(m.textId, txt::FirmwareContentWrong) << "byte " << i;
    EXPECT_FALSE(fs::exists(copy)) << "byte " << i;
  }
}

TEST(FirmwareImage, FourByteFilePassesOnlyWhenAllZero) {
  ScratchDir dir;
  const fs::path file = dir.Path() / "empty.bin";
  const fs::path copy = dir.Path() / kImageCopyName;
  std::ofstream(file, std::ios::binary).write("\0\0\0\0", 4);
  EXPECT_FALSE(CheckFirmwareImage(file, copy).IsError());
  EXPECT_EQ(fs::file_size(copy), 0u);
  std::ofstream(file, std::ios::binary).write("\0\0\1\0", 4);
  EXPECT_EQ(CheckFirmwareImage(file, copy).textId, txt::FirmwareContentWrong);
  std::ofstream(file, std::ios::binary).write("\0\0\0", 3);
  EXPECT_EQ(CheckFirmwareImage(file, copy).textId, txt::FirmwareContentWrong);
  EXPECT_EQ(CheckFirmwareImage(dir.Path() / "missing.bin", copy).textId, txt::FirmwareContentWrong);
}

TEST(FirmwareImage, ImageLargerThanTheBufferIsRefusedBeforeAnyCopy) {
  ScratchDir dir;
  const fs::path file = dir.Path() / "big.bin";
  const fs::path copy = dir.Path() / kImageCopyName;
  WriteFirmwareFile(file, test::TestImage(kFirmwareImageLimit, 140));
  EXPECT_FALSE(CheckFirmwareImage(file, copy).IsError());
  WriteFirmwareFile(file, test::TestImage(kFirmwareImageLimit + 1, 140));
  fs::remove(copy);
  const FirmwareMessage m = CheckFirmwareImage(file, copy);
  EXPECT_EQ(m.textId, txt::FirmwareTooLarge);
  ASSERT_EQ(m.args.size(), 2u);
  EXPECT_EQ(m.args[0], "819201");
  EXPECT_EQ(m.args[1], "819200");
  EXPECT_FALSE(fs::exists(copy));
}

TEST(FirmwareImage, FolderWithoutWriteAccessIsNamed) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  ScratchDir dir;
  const fs::path locked = dir.Path() / "locked";
  fs::create_directory(locked);
  WriteFirmwareFile(locked / "fw.bin", test::TestImage(64, 131));
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  const FirmwareMessage m = CheckFirmwareImage(locked / "fw.bin", locked / kImageCopyName);
  EXPECT_EQ(m.textId, txt::FirmwareFolderNotWritable);
  ASSERT_EQ(m.args.size(), 1u);
  EXPECT_EQ(m.args[0], locked.string());
}

TEST(FirmwareImage, FolderThatIsNotThereIsNamed) {
  // Root can write anywhere, but not into a folder that is a file.
  ScratchDir dir;
  WriteFirmwareFile(dir.Path() / "fw.bin", test::TestImage(64, 131));
  std::ofstream(dir.Path() / "plain").put('x');
  const FirmwareMessage m = CheckFirmwareImage(dir.Path() / "fw.bin", dir.Path() / "plain" / kImageCopyName);
  EXPECT_EQ(m.textId, txt::FirmwareFolderNotWritable);
  ASSERT_EQ(m.args.size(), 1u);
  EXPECT_EQ(m.args[0], (dir.Path() / "plain").string());
}

TEST(FirmwarePortRule, ComNumberAndPrefix) {
  const FirmwarePort com12 = ResolveFirmwarePort("COM12", 8);
  EXPECT_EQ(com12.number, 12);
  EXPECT_EQ(com12.name, "//.//COM12");
  const FirmwarePort com9 = ResolveFirmwarePort("COM9", 8);
  EXPECT_EQ(com9.number, 9);
  EXPECT_EQ(com9.name, "COM9");
  EXPECT_EQ(ResolveFirmwarePort("COM10", 8).name, "//.//COM10");
  // A device path has no number: the previous one stays and the path is used as it is.
  const FirmwarePort path = ResolveFirmwarePort("/dev/ttyUSB0", 8);
  EXPECT_EQ(path.number, 8);
  EXPECT_EQ(path.name, "/dev/ttyUSB0");
  EXPECT_EQ(ResolveFirmwarePort("/dev/pts/12", 12).name, "/dev/pts/12");
}

TEST(FirmwareUpdateFlow, NoFileGives412) {
  SerialBootRom library;
  FirmwareUpdate update(test::ProgramFolder(), library);
  EXPECT_EQ(update.Check().textId, txt::SelectFirmwareFile);
}

TEST(FirmwareUpdateFlow, SecondUpdateFromShorterFolderPutsTheCopyThere) {
  ScratchDir dir;
  const fs::path deep = dir.Path() / "long" / "deeper" / "folder";
  fs::create_directories(deep);
  WriteFirmwareFile(deep / "first.bin", test::TestImage(100, 131));
  WriteFirmwareFile(dir.Path() / "second.bin", test::TestImage(100, 132));
  SerialBootRom library;
  FirmwareUpdate update(test::ProgramFolder(), library);
  update.ChooseFile(deep / "first.bin");
  ASSERT_FALSE(update.Check().IsError());
  EXPECT_EQ(update.ImageCopyPath(), deep / kImageCopyName);
  update.ChooseFile(dir.Path() / "second.bin");
  ASSERT_FALSE(update.Check().IsError());
  EXPECT_EQ(update.ImageCopyPath(), dir.Path() / kImageCopyName);
  EXPECT_EQ(ReadBytes(dir.Path() / kImageCopyName), test::TestImage(100, 132));
}

TEST(FirmwareUpdateFlow, PrepareLoadsTheShippedAgentAndTheImage) {
  ScratchDir dir;
  WriteFirmwareFile(dir.Path() / "fw.bin", test::TestImage(5000, 131));
  SerialBootRom library;
  FirmwareUpdate update(test::ProgramFolder(), library);
  update.ChooseFile(dir.Path() / "fw.bin");
  ASSERT_FALSE(update.Check().IsError());
  std::vector<int> statuses;
  update.Prepare({"COM12", 115200, 0}, {[&](int id) { statuses.push_back(id); }, {}});
  EXPECT_EQ(statuses, std::vector<int>{txt::InitializeDownload});
  EXPECT_TRUE(update.AgentLoaded());
  EXPECT_TRUE(update.ImageLoaded());
  EXPECT_EQ(update.AgentPath().filename(), "DA_T580.bin");
  EXPECT_EQ(update.Port().number, 12);
  EXPECT_EQ(update.Port().name, "//.//COM12");

  // Without agent and scatter file nothing is loaded, and no error is raised here.
  FirmwareUpdate bare(dir.Path(), library);
  bare.ChooseFile(dir.Path() / "fw.bin");
  ASSERT_FALSE(bare.Check().IsError());
  bare.Prepare({"/dev/null", 38400, 0}, {});
  EXPECT_FALSE(bare.AgentLoaded());
  EXPECT_FALSE(bare.ImageLoaded());
}

}  // namespace
}  // namespace kavro

namespace kavro {
namespace {

// The question before an update names the file, the version the image carries, and the port;
// saying no takes the image copy away again.
TEST(FirmwareImage, ConfirmationNamesFileVersionAndPort) {
  test::ScratchDir dir;
  const std::filesystem::path file = dir.Path() / "T580_131.bin";
  test::WriteFirmwareFile(file, test::TestImage(300, 131));
  SerialBootRom library;
  FirmwareUpdate update(test::ProgramFolder(), library);
  update.ChooseFile(file);
  ASSERT_FALSE(update.Check().IsError());
  EXPECT_EQ(update.ImageVersion(), 131);
  const FirmwareMessage q = update.Confirmation("/dev/ttyUSB0");
  EXPECT_EQ(q.textId, txt::FirmwareConfirm);
  EXPECT_EQ(q.args, (std::vector<std::string>{file.string(), "V1.31", "/dev/ttyUSB0"}));
  ASSERT_TRUE(std::filesystem::exists(update.ImageCopyPath()));
  update.DropImageCopy();
  EXPECT_FALSE(std::filesystem::exists(update.ImageCopyPath()));

  // Without a version mark: file and port only.
  std::vector<std::uint8_t> plain(300, 0x11);
  test::WriteFirmwareFile(file, plain);
  ASSERT_FALSE(update.Check().IsError());
  EXPECT_FALSE(update.ImageVersion().has_value());
  const FirmwareMessage bare = update.Confirmation("/dev/ttyUSB0");
  EXPECT_EQ(bare.textId, txt::FirmwareConfirmNoVersion);
  EXPECT_EQ(bare.args, (std::vector<std::string>{file.string(), "/dev/ttyUSB0"}));
}

}  // namespace
}  // namespace kavro
