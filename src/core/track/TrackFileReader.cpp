#include "track/TrackFileReader.h"

#include <cerrno>
#include <cstring>

namespace kavro {
namespace {
constexpr std::size_t kBlock = 64 * 1024;
}

TrackFileReader::~TrackFileReader() { Close(); }

bool TrackFileReader::Open(const std::filesystem::path& path, std::string* error) {
  Close();
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    if (error) *error = std::strerror(EISDIR);
    return false;
  }
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  buffer_.resize(kBlock);
  pos_ = len_ = 0;
  eof_ = failed_ = false;
  errno_ = 0;
  recordsRead_ = 0;
  return true;
}

bool TrackFileReader::Fill() {
  // Keep the unread tail, then top the buffer up.
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
  }
  while (!eof_ && len_ < buffer_.size()) {
    const std::size_t n = std::fread(buffer_.data() + len_, 1, buffer_.size() - len_, file_);
    len_ += n;
    if (n == 0) {
      if (std::ferror(file_)) {
        failed_ = true;
        errno_ = errno;
      }
      eof_ = true;
    }
  }
  return len_ - pos_ >= TrackRecord::kSize;
}

bool TrackFileReader::Next(TrackRecord& record) {
  if (file_ == nullptr) return false;
  for (;;) {
    if (len_ - pos_ < TrackRecord::kSize && !Fill()) return false;
    const unsigned char* p = buffer_.data() + pos_;
    pos_ += TrackRecord::kSize;
    ++recordsRead_;
    if (RecordIsValid(p)) {
      std::memcpy(record.bytes.data(), p, TrackRecord::kSize);
      return true;
    }
  }
}

std::string TrackFileReader::ErrorText() const {
  if (errno_ == 0) return failed_ ? std::strerror(EIO) : std::string();
  return std::strerror(errno_);
}

void TrackFileReader::Rewind() {
  if (file_ == nullptr) return;
  std::rewind(file_);
  pos_ = len_ = 0;
  recordsRead_ = 0;
  eof_ = failed_ = false;
}

void TrackFileReader::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kavro
