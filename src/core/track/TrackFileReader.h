#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "track/TrackRecord.h"

namespace kavro {

// Streams the records of a .trl file (headerless 16-byte records) from its start. Next()
// yields only records whose checksum holds; a trailing piece shorter than 16 bytes ends the
// file. Reads in large blocks, so memory stays flat whatever the file size.
class TrackFileReader {
 public:
  TrackFileReader() = default;
  ~TrackFileReader();
  TrackFileReader(const TrackFileReader&) = delete;
  TrackFileReader& operator=(const TrackFileReader&) = delete;

  // False (with the system's reason) when the file cannot be opened.
  bool Open(const std::filesystem::path& path, std::string* error = nullptr);
  bool IsOpen() const { return file_ != nullptr; }
  // Next valid record; false at the end.
  bool Next(TrackRecord& record);
  // Back to the first record.
  void Rewind();
  // Whole records read so far, valid or not.
  std::uint64_t RecordsRead() const { return recordsRead_; }
  // A read error (not the end of the file) happened.
  bool Failed() const { return failed_; }
  // The system's reason for the last read error (kept across Rewind); empty when none.
  std::string ErrorText() const;
  void Close();

 private:
  bool Fill();

  std::FILE* file_ = nullptr;
  std::vector<unsigned char> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  int errno_ = 0;
  std::uint64_t recordsRead_ = 0;
};

}  // namespace kavro
