#pragma once
// What became of one written file, as the file status list, the conversion page's message and
// the command line show it: one line per file, made in one place.

#include <QString>
#include <filesystem>
#include <string>

#include "common/StringTable.h"

namespace kavro {

// Written (txt::CreateFileOk), or why not: a text id that takes the path as %1 and the system's
// reason as %2 (txt::CreateFileFailed, OutputWriteFailed, ...).
struct FileReport {
  int textId;
  std::filesystem::path path;
  std::string reason;
  bool Written() const;
};

// "Create File OK PATH", or the failure text with the path and the reason.
QString FileReportLine(const StringTable& strings, const FileReport& report);

}  // namespace kavro
