#include "common/OutputSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace kavro {
namespace {
constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::size_t kDirectSize = 1 << 16;
}

FileSink::~FileSink() { Close(); }

bool FileSink::Open(const std::filesystem::path& path, std::string* error) {
  Close();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  return Attach(fd);
}

bool FileSink::Attach(int fd) {
  fd_ = fd;
  failed_ = false;
  errno_ = 0;
  used_ = 0;
  return true;
}

bool FileSink::WriteAll(const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size && !failed_) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      errno_ = errno;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  return !failed_;
}

bool FileSink::Flush() {
  const bool ok = used_ == 0 ? !failed_ : WriteAll(buffer_.get(), used_);
  used_ = 0;
  return ok;
}

bool FileSink::Write(std::string_view text) {
  if (fd_ < 0 || failed_) return false;
  if (text.empty()) return true;
  // A large piece goes straight from the caller's memory, not through the buffer.
  if (text.size() >= kDirectSize) return Flush() && WriteAll(text.data(), text.size());
  if (text.size() > kBufferSize - used_ && !Flush()) return false;
  // Made on the first small piece and left uninitialised: a file written in large pieces, such
  // as a photo copy, never touches it.
  if (!buffer_) buffer_.reset(new char[kBufferSize]);
  std::memcpy(buffer_.get() + used_, text.data(), text.size());
  used_ += text.size();
  return true;
}

bool FileSink::Close(std::string* error) {
  if (fd_ >= 0) {
    Flush();
    if (::close(fd_) != 0 && !failed_) {
      failed_ = true;
      errno_ = errno;
    }
    fd_ = -1;
    buffer_.reset();
  }
  if (failed_ && error) *error = std::strerror(errno_ != 0 ? errno_ : EIO);
  return !failed_;
}

std::string FileSink::ErrorText() const {
  if (!failed_) return {};
  return std::strerror(errno_ != 0 ? errno_ : EIO);
}

ReplacingFileSink::~ReplacingFileSink() { Discard(); }

bool ReplacingFileSink::Open(const std::filesystem::path& target, std::string* error) {
  Discard();
  target_ = target;
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) {
    if (error) *error = std::strerror(EISDIR);
    return false;
  }
  std::random_device random;
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::filesystem::path temp = target;
    temp.replace_filename("." + target.filename().string() + "." + std::to_string(random() % 1000000) + ".part");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temp_ = temp;
      return file_.Attach(fd);
    }
    if (errno != EEXIST) {
      if (error) *error = std::strerror(errno);
      return false;
    }
  }
  if (error) *error = std::strerror(EEXIST);
  return false;
}

bool ReplacingFileSink::Commit(std::string* error) {
  if (temp_.empty()) {
    if (error) *error = std::strerror(EBADF);
    return false;
  }
  if (!file_.Close(error)) {
    Discard();
    return false;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    if (error) *error = std::strerror(errno);
    Discard();
    return false;
  }
  temp_.clear();
  return true;
}

void ReplacingFileSink::Discard() {
  file_.Close();
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace kavro
