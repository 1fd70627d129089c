#include "serial/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/LinuxBaud.h"

namespace kavro {
namespace {

// Errors that mean the device is gone (pulled cable, pty master closed).
bool IsGone(int err) { return err == EIO || err == ENXIO || err == ENODEV || err == EBADF || err == EPIPE; }

// How long a write may wait for room in the output queue before it gives up.
constexpr int kWriteStallMs = 2000;

}  // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() {
  if (fd_ >= 0) ReleaseHandle(fd_);
}

// The exclusive flag outlives the descriptor on a pseudo-terminal, so a later open by a
// normal user would be refused as busy: clear it before letting go.
int SerialPort::ReleaseHandle(int fd) {
  (void)ioctl(fd, TIOCNXCL);
  return ::close(fd);
}

int SerialPort::BaudForIndex(int index) {
  return index >= 0 && index < static_cast<int>(kBaudList.size()) ? kBaudList[static_cast<std::size_t>(index)] : 0;
}

bool SerialPort::Open() {
  lastError_ = OpenError::None;
  lastErrorText_.clear();
  lost_ = false;
  // Opening again lets go of the handle held so far instead of leaking it.
  if (fd_ >= 0) {
    ReleaseHandle(fd_);
    fd_ = -1;
  }
  const int fd = ::open(portName_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    lastErrorText_ = std::strerror(err);
    if (err == ENOENT || err == ENODEV || err == ENXIO || err == ENOTDIR)
      lastError_ = OpenError::Missing;
    else if (err == EBUSY)
      lastError_ = OpenError::Busy;
    else if (err == EACCES || err == EPERM)
      lastError_ = OpenError::Permission;
    else if (err == EISDIR)
      lastError_ = OpenError::NotSerial;
    else
      lastError_ = OpenError::Other;
    return false;
  }
  if (!isatty(fd)) {
    lastError_ = OpenError::NotSerial;
    lastErrorText_ = std::strerror(ENOTTY);
    ::close(fd);
    return false;
  }
  // Share mode 0: nobody else may open the port while we hold it. TIOCEXCL does not stop
  // root, the lock does.
  int wasExclusive = 0;
  (void)ioctl(fd, TIOCGEXCL, &wasExclusive);
  (void)ioctl(fd, TIOCEXCL);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    lastError_ = OpenError::Busy;
    lastErrorText_ = std::strerror(err);
    // The flag outlives us on the device: left set, it would refuse everyone after us. One
    // the holder of the lock set is theirs to keep.
    if (!wasExclusive)
      ReleaseHandle(fd);
    else
      ::close(fd);
    return false;
  }
  fd_ = fd;
  Configure(baudRate_);
  return true;
}

bool SerialPort::EnsureOpen() { return fd_ >= 0 || Open(); }

bool SerialPort::Close() {
  if (fd_ < 0) return false;
  Purge();
  const int rc = ReleaseHandle(fd_);
  fd_ = -1;
  if (rc != 0) return false;
  portName_ = "COM1";
  return true;
}

bool SerialPort::Purge() { return fd_ >= 0 && tcflush(fd_, TCIOFLUSH) == 0; }

bool SerialPort::DiscardInput() { return fd_ >= 0 && tcflush(fd_, TCIFLUSH) == 0; }

void SerialPort::SetFastSpeed() {
  if (fd_ >= 0) Configure(kFastBaud);
}

void SerialPort::RestoreSpeed() {
  if (fd_ >= 0) Configure(baudRate_);
}

bool SerialPort::WaitReadable(int timeoutMs) const {
  const int fd = fd_.load();
  if (fd < 0) return false;
  pollfd pfd{fd, POLLIN, 0};
  for (;;) {
    const int rc = ::poll(&pfd, 1, timeoutMs);
    if (rc < 0 && errno == EINTR) continue;
    return rc > 0;
  }
}

int SerialPort::CurrentSpeed() const { return fd_ >= 0 ? GetLinuxBaud(fd_) : 0; }

// Raw 8N1, no flow control, DTR and RTS on. Failures are ignored, as a pseudo-terminal
// refuses some of it and the line works all the same.
void SerialPort::Configure(int baud) {
  termios t{};
  if (tcgetattr(fd_, &t) == 0) {
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    (void)tcsetattr(fd_, TCSANOW, &t);
  }
  (void)SetLinuxBaud(fd_, baud);
  int bits = TIOCM_DTR | TIOCM_RTS;
  (void)ioctl(fd_, TIOCMBIS, &bits);
}

bool SerialPort::DoRead(void* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (fd_ < 0) return false;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n > 0) {
      got = static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) {
      // Nothing queued reads as 0 bytes here (VMIN 0); so does a terminal that was hung up,
      // which poll tells apart.
      pollfd pfd{fd_, POLLIN, 0};
      if (::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        lost_ = true;
        return false;
      }
      return true;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
    if (IsGone(errno)) lost_ = true;
    return false;
  }
}

bool SerialPort::DoWrite(const void* data, std::size_t size, std::size_t& written) {
  written = 0;
  if (fd_ < 0) return false;
  const auto* p = static_cast<const std::uint8_t*>(data);
  int stalledMs = 0;
  while (written < size) {
    const ssize_t n = ::write(fd_, p + written, size - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // The output queue is full: wait for room, but not for ever.
      if (stalledMs >= kWriteStallMs) return false;
      pollfd pfd{fd_, POLLOUT, 0};
      (void)::poll(&pfd, 1, 50);
      stalledMs += 50;
      continue;
    }
    if (n < 0 && IsGone(errno)) lost_ = true;
    return false;
  }
  return true;
}

}  // namespace kavro
