#include "track/TrackFileCheck.h"

#include "track/TrackFileReader.h"

namespace kavro {

TrackFileCheck CheckTrackFile(const std::filesystem::path& path) {
  TrackFileCheck check;
  TrackFileReader reader;
  if (!reader.Open(path, &check.error)) return check;
  TrackRecord record;
  while (reader.Next(record)) ++check.validRecords;
  if (reader.Failed()) {
    check.error = reader.ErrorText();
    return check;
  }
  check.opened = true;
  check.records = reader.RecordsRead();
  return check;
}

}  // namespace kavro
