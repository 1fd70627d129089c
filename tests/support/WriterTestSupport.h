#pragma once
// Helpers shared by the writer tests: track files on disk, line splitting, running real tools.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "track/TrackRecord.h"

namespace kavro {

// Splits on CR LF; a final CR LF gives no empty last line. Fails the test on a bare LF.
std::vector<std::string> SplitCrLf(const std::string& text);
// A fresh, empty directory under the system's temporary directory.
std::filesystem::path TempDir(const std::string& name);
// Writes the records as a .trl file.
void WriteTrl(const std::filesystem::path& path, const std::vector<TrackRecord>& records);
std::string ReadAll(const std::filesystem::path& path);
// Runs a shell command; returns its exit status and puts its standard output in out.
int RunCommand(const std::string& command, std::string* out = nullptr);
bool ToolInstalled(const char* name);

}  // namespace kavro
