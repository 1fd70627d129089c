#pragma once
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "photo/PhotoReport.h"

namespace kavro {

// The report of a geotag run in words: the window's table, the command line's table, and JSON
// for scripts (its keys and kinds are fixed English words, not translated).
class PhotoReportText {
 public:
  explicit PhotoReportText(const StringTable& strings) : strings_(strings) {}

  std::vector<std::string> Header() const;
  std::vector<std::string> Cells(const PhotoReportRow& row) const;
  std::string MatchText(PhotoMatchKind kind) const;
  std::string WrittenText(const PhotoReportRow& row, bool dryRun) const;
  std::string ReasonText(const PhotoReportRow& row) const;
  // "-04:00 from the photo (OffsetTimeOriginal)", "+02:00 (chosen zone)", with a skipped or
  // repeated hour said.
  std::string OffsetText(const PhotoReportRow& row) const;
  // Columns padded to their widest cell, one line a photo, the header first.
  std::string Table(const PhotoReport& report) const;
  static std::string Json(const PhotoReport& report);
  static const char* MatchKey(PhotoMatchKind kind);
  static const char* WrittenKey(PhotoWriteKind kind);
  static const char* OffsetSourceKey(OffsetSource source);
  static const char* LocalNoteKey(LocalTimeNote note);

 private:
  const StringTable& strings_;
};

// "2008-02-28T10:00:30Z".
std::string UtcText(std::int64_t utc);

}  // namespace kavro
