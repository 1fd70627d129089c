// Outputs that fail on a full or read-only file system, each with its own reason. The file
// systems are small tmpfs mounts in a private mount namespace of a child process, so the test
// needs no set-up on the machine; where such a namespace is not allowed it is skipped.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <fstream>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/Texts.h"
#include "convert/TrackConversion.h"
#include "support/PrivateMounts.h"
#include "support/WriterTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;

constexpr int kSkip = test::kNoPrivateMounts;
using test::InPrivateChild;

std::string Describe(const ConversionResult& r) {
  std::ostringstream s;
  for (const auto& p : r.problems) s << p.textId << " " << p.path.filename().string() << ": " << p.reason << "\n";
  for (const auto& w : r.written) s << "written " << w.filename().string() << "\n";
  return s.str();
}

std::vector<TrackRecord> ManyRecords(int n) {
  std::vector<TrackRecord> records;
  for (int i = 0; i < n; ++i)
    records.push_back(TrackRecord::Make(1205544612 + i, 25.0330009f + static_cast<float>(i) * 1e-5f, 121.5654297f, 12.5f));
  return records;
}

class ConversionFailures : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = TempDir("conversion-failures"); }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ConversionFailures, FullDiskShowsNoSpaceForEachOutputOfItsOwn) {
  const fs::path mnt = dir_ / "small";
  fs::create_directory(mnt);
  bool skipped = false;
  const std::string found = InPrivateChild(
      [&] {
        if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=1m") != 0) ::_exit(kSkip);
        // 240 KB of source; its KML and GPX run to megabytes, far past the free space.
        const fs::path trl = mnt / "trip.trl";
        WriteTrl(trl, ManyRecords(15000));
        fs::create_directory(mnt / "trip.txt");  // the text output cannot be created
        ConversionRequest request;
        request.source = trl;
        request.formats = {TrackFormat::Text, TrackFormat::Kml, TrackFormat::Gpx};
        request.clock = ZoneClock::Fixed(480);
        const ConversionResult full = ConvertTrackFile(request);
        // A small output that meets the full disk only when its end is written.
        std::error_code ec;
        fs::remove(mnt / "trip.txt", ec);
        std::string filler(1 << 20, 'x');
        {
          std::ofstream f(mnt / "filler", std::ios::binary);
          f << filler;  // fills the rest of the disk
        }
        request.formats = {TrackFormat::Text};
        const ConversionResult atEnd = ConvertTrackFile(request);
        std::string listing;
        for (const auto& e : fs::directory_iterator(mnt)) listing += e.path().filename().string() + " ";
        return Describe(full) + "--\n" + Describe(atEnd) + "--\n" + listing;
      },
      &skipped);
  if (skipped) GTEST_SKIP() << "no private tmpfs mount possible here";
  const std::string isDir = std::strerror(EISDIR);
  const std::string noSpace = std::strerror(ENOSPC);
  EXPECT_EQ(found, std::to_string(txt::OutputCreateFailed) + " trip.txt: " + isDir + "\n" +
                       std::to_string(txt::OutputWriteFailed) + " trip.kml: " + noSpace + "\n" +
                       std::to_string(txt::OutputWriteFailed) + " trip.gpx: " + noSpace + "\n--\n" +
                       std::to_string(txt::OutputWriteFailed) + " trip.txt: " + noSpace + "\n--\n" +
                       // Nothing half-written is left behind.
                       "filler trip.trl ");
}

TEST_F(ConversionFailures, ReadOnlyFolderShowsWhyEachOutputCouldNotBeCreated) {
  const fs::path mnt = dir_ / "ro";
  fs::create_directory(mnt);
  bool skipped = false;
  const std::string found = InPrivateChild(
      [&] {
        if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0) ::_exit(kSkip);
        WriteTrl(mnt / "trip.trl", ManyRecords(3));
        fs::create_directory(mnt / "tripNMEA.txt");
        if (::mount(nullptr, mnt.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) ::_exit(kSkip);
        ConversionRequest request;
        request.source = mnt / "trip.trl";
        request.formats = {TrackFormat::Text, TrackFormat::Nmea, TrackFormat::Gpx};
        return Describe(ConvertTrackFile(request));
      },
      &skipped);
  if (skipped) GTEST_SKIP() << "no private tmpfs mount possible here";
  const std::string readOnly = std::strerror(EROFS);
  EXPECT_EQ(found, std::to_string(txt::OutputCreateFailed) + " trip.txt: " + readOnly + "\n" +
                       std::to_string(txt::OutputCreateFailed) + " tripNMEA.txt: " + std::strerror(EISDIR) + "\n" +
                       std::to_string(txt::OutputCreateFailed) + " trip.gpx: " + readOnly + "\n");
}

}  // namespace
}  // namespace kavro
