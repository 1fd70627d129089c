#pragma once
// Files as the download tests compare them: a folder's files by name with their bytes, and what
// `kavro tracks` writes from a log memory image (the reference a download must match).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "download/LogDecoder.h"
#include "download/LogDownload.h"
#include "download/TrackFileWriter.h"

namespace kavro::test {

// Empty when the folder is not there.
inline std::map<std::string, std::string> ReadDir(const std::filesystem::path& dir) {
  std::map<std::string, std::string> out;
  if (!std::filesystem::exists(dir)) return out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    out[e.path().filename().string()] = s.str();
  }
  return out;
}

// The track log files and their KML of the part of `image` a download with `info` reads,
// written into `dir` (created) and read back.
inline std::map<std::string, std::string> TrackFilesOf(const std::vector<std::uint8_t>& image, const DeviceInfo& info,
                                                       const ZoneClock& clock, bool total, const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  LogDecoder decoder;
  decoder.ResetDecoder(clock, LogDecoder::CurrentUtcYear());
  const std::uint32_t size = DownloadSize(info.logUsedSize, info.logWrapped);
  for (std::uint32_t m = 0; m < size; m += memory::kSectorSize) decoder.DecodeSector(image.data() + m);
  TrackFilesOptions o;
  o.directory = dir;
  o.writeTotal = total;
  o.userName = info.userName;
  o.clock = clock;
  WriteKmlForTrackFiles(WriteTrackFiles(decoder, o), o.clock);
  return ReadDir(dir);
}

}  // namespace kavro::test
