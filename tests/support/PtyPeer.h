#pragma once
// The program's side of the line in the simulator tests: the slave of the pseudo-terminal,
// opened raw and non-blocking as the serial port code opens it.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kavro::sim::test {

// Two upper-case hex digits of the XOR of the body.
inline std::string Checksum(const std::string& body) {
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02X", x);
  return buf;
}

inline std::string Frame(const std::string& body) { return "$" + body + "*" + Checksum(body) + "\r\n"; }

// True when the sentence (without CR LF) carries the right checksum.
inline bool ChecksumOk(const std::string& sentence) {
  const auto star = sentence.find('*');
  if (sentence.empty() || sentence[0] != '$' || star == std::string::npos || star + 3 != sentence.size())
    return false;
  return sentence.substr(star + 1) == Checksum(sentence.substr(1, star - 1));
}

class PtyPeer {
 public:
  explicit PtyPeer(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
      ::cfmakeraw(&tio);
      tio.c_cflag |= CLOCAL | CREAD;
      ::tcsetattr(fd_, TCSANOW, &tio);
    }
  }
  ~PtyPeer() { Close(); }
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  bool WriteRaw(const std::string& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  bool Send(const std::string& body) { return WriteRaw(Frame(body)); }

  // Writes everything, waiting (at most `bound` in all) while the line is full.
  bool WriteAll(const std::string& bytes, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + bound;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (std::chrono::steady_clock::now() >= end) return false;
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, 50);
    }
    return true;
  }

  // Reads until `count` complete lines (CR LF) have arrived or `bound` has passed; returns the
  // lines without CR LF. Bytes after the last complete line stay for the next call.
  std::vector<std::string> ReadLines(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    std::vector<std::string> lines;
    const auto end = std::chrono::steady_clock::now() + bound;
    while (true) {
      std::size_t lf;
      while (lines.size() < count && (lf = pending_.find("\r\n")) != std::string::npos) {
        lines.push_back(pending_.substr(0, lf));
        pending_.erase(0, lf + 2);
      }
      if (lines.size() >= count) return lines;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(left)) return lines;
    }
  }

  // One line, or "" when none came within the bound.
  std::string ReadLine(std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    auto lines = ReadLines(1, bound);
    return lines.empty() ? std::string() : lines[0];
  }

  // Sends a sentence and returns the first reply line.
  std::string Ask(const std::string& body) {
    Send(body);
    return ReadLine();
  }

  // Everything that arrives within `span` (for checking that nothing comes).
  std::string Drain(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (true) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      ReadSome(left);
    }
    std::string all;
    all.swap(pending_);
    return all;
  }

  // Reads until at least `count` bytes are waiting or `bound` has passed; returns and takes
  // what is waiting.
  std::string ReadBytes(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (pending_.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(left)) break;
    }
    std::string all;
    all.swap(pending_);
    return all;
  }

  // Bytes of the last reads that did not form a line yet.
  const std::string& Pending() const { return pending_; }

  // Waits for input; false on time-out or error. Each read's size is kept for the split tests.
  bool ReadSome(std::chrono::milliseconds bound) {
    pollfd p{fd_, POLLIN, 0};
    const int rc = ::poll(&p, 1, static_cast<int>(bound.count()));
    if (rc <= 0) return false;
    if (!(p.revents & POLLIN)) return false;
    char buf[65536];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n <= 0) return false;
    readSizes_.push_back(static_cast<std::size_t>(n));
    pending_.append(buf, static_cast<std::size_t>(n));
    return true;
  }
  const std::vector<std::size_t>& ReadSizes() const { return readSizes_; }

 private:
  int fd_ = -1;
  std::string pending_;
  std::vector<std::size_t> readSizes_;
};

}  // namespace kavro::sim::test
