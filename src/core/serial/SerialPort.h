#pragma once
// The one serial connection to the logger: a POSIX terminal device (USB-serial bridge, or the
// simulator's pseudo-terminal) set to raw 8N1, no flow control, DTR and RTS raised, with reads
// that never block. Opened exclusively (TIOCEXCL and flock), so a second program gets "busy".

#include <array>
#include <atomic>
#include <string>

#include "serial/ByteStream.h"

namespace kavro {

// The port chosen on the Device page, also read by the firmware update, which opens the port
// by itself: device path, baud rate, and a value that is always 0.
struct PortSelection {
  std::string portName;
  int baudRate = 38400;
  int reserved = 0;
};

// Why an open failed; PortOpenText gives the words. NotSerial: a plain file or a folder, say.
enum class OpenError { None, Missing, Busy, Permission, NotSerial, Other };

class SerialPort : public ByteStream {
 public:
  static constexpr int kDefaultBaud = 38400;
  static constexpr int kFastBaud = 921600;
  static constexpr int kDefaultBaudIndex = 4;
  // The baud list, index to bits per second.
  static constexpr std::array<int, 7> kBaudList = {4800, 9600, 14400, 19200, 38400, 57600, 115200};

  SerialPort();
  ~SerialPort() override;

  // The baud of a list index, or 0 for an index outside the list.
  static int BaudForIndex(int index);

  // Port name (a device path) and baud rate used by the next Open.
  void SetPortName(const std::string& path) { portName_ = path; }
  const std::string& PortName() const { return portName_; }
  void SetBaudRate(int baud) { baudRate_ = baud; }
  int BaudRate() const { return baudRate_; }

  // Opens the named port and configures it. On failure the port stays closed and
  // LastOpenError / LastErrorText say why.
  bool Open();
  // True at once while open (a newly chosen name or speed waits for a Close); else Open.
  bool EnsureOpen();
  // Purges and closes. False when the port was not open (the name then stays as it was);
  // after a successful close the name is "COM1" again, the name a new port starts with.
  bool Close();
  bool Purge() override;
  // Drops what has arrived but not been read (the output queue is left alone).
  bool DiscardInput();
  // Waits at most timeoutMs for bytes to read (or a hang-up, which the next Read reports).
  // False when nothing came in time or the port is closed.
  bool WaitReadable(int timeoutMs) const;
  // Reconfigures the open port at 921600 baud / at the stored baud; nothing while closed.
  void SetFastSpeed();
  void RestoreSpeed();

  bool IsOpen() const override { return fd_ >= 0; }
  bool Lost() const override { return lost_; }
  std::string TraceName() const override { return portName_; }

  OpenError LastOpenError() const { return lastError_; }
  // The system's words for the last open failure (strerror).
  const std::string& LastErrorText() const { return lastErrorText_; }
  // The terminal speed in force, read back from the device (0 when closed).
  int CurrentSpeed() const;

 protected:
  bool DoRead(void* buffer, std::size_t size, std::size_t& got) override;
  bool DoWrite(const void* data, std::size_t size, std::size_t& written) override;

 private:
  void Configure(int baud);
  static int ReleaseHandle(int fd);
  std::string portName_ = "COM1";
  int baudRate_ = kDefaultBaud;
  // Atomic: other threads ask IsOpen / Lost while an exchange may be closing the port.
  std::atomic<int> fd_{-1};
  std::atomic<bool> lost_{false};
  OpenError lastError_ = OpenError::None;
  std::string lastErrorText_;
};

}  // namespace kavro
