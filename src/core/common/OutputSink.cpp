#include "common/OutputSink.h"

#include <cerrno>
#include <cstring>

namespace kavro {

FileSink::~FileSink() { Close(); }

bool FileSink::Open(const std::filesystem::path& path, std::string* error) {
  Close();
  failed_ = false;
  errno_ = 0;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  buffer_.resize(1 << 20);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  return true;
}

bool FileSink::Write(std::string_view text) {
  if (file_ == nullptr || failed_) return false;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    failed_ = true;
    errno_ = errno;
  }
  return !failed_;
}

bool FileSink::Close(std::string* error) {
  if (file_ != nullptr) {
    if (std::fflush(file_) != 0 && !failed_) {
      failed_ = true;
      errno_ = errno;
    }
    if (std::fclose(file_) != 0 && !failed_) {
      failed_ = true;
      errno_ = errno;
    }
    file_ = nullptr;
  }
  if (failed_ && error) *error = std::strerror(errno_ != 0 ? errno_ : EIO);
  return !failed_;
}

}  // namespace kavro
