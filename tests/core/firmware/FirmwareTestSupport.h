#pragma once
// What the firmware tests share: a scratch folder, firmware files with their trailer, the
// program folder with the shipped agent and scatter file, and a settings store of their own.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "firmware/FirmwareUpdate.h"
#include "support/QuickTimings.h"

namespace kavro::test {

class ScratchDir {
 public:
  ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kavro-fw-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The settings store of a test process lives in a scratch folder, never the user's own.
class SettingsSandbox : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<ScratchDir>();
    ::setenv("XDG_CONFIG_HOME", dir_->Path().c_str(), 1);
  }
  void TearDown() override { dir_.reset(); }

 private:
  std::unique_ptr<ScratchDir> dir_;
};

inline std::uint32_t ZlibCrc(const std::vector<std::uint8_t>& bytes) {
  return static_cast<std::uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

// The image followed by its CRC-32, little-endian.
inline void WriteFirmwareFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& image) {
  std::vector<std::uint8_t> bytes = image;
  const std::uint32_t crc = ZlibCrc(image);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An image of `size` bytes that says it is firmware `version` (e.g. 131 for 1.31).
inline std::vector<std::uint8_t> TestImage(std::size_t size, int version) {
  std::vector<std::uint8_t> image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>((i * 7 + 3) ^ (i >> 8));
  const std::string mark = "KAVRO-FW-VER=" + std::to_string(version);
  if (size >= mark.size() + 16) std::copy(mark.begin(), mark.end(), image.begin() + 16);
  return image;
}

// The shipped download agent and scatter file.
inline std::filesystem::path ProgramFolder() {
  return std::filesystem::path(KAVRO_TEST_DATA).parent_path().parent_path() / "resources" / "firmware";
}

}  // namespace kavro::test
