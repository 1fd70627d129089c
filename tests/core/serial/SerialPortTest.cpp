#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "support/PtyPair.h"

namespace kavro {
namespace {

TEST(SerialPortNames, BaudListAndItsDefault) {
  SerialPort port;
  EXPECT_EQ(port.BaudRate(), 38400);
  EXPECT_EQ(SerialPort::BaudForIndex(SerialPort::kDefaultBaudIndex), SerialPort::kDefaultBaud);
  EXPECT_EQ(SerialPort::BaudForIndex(6), 115200);
  EXPECT_EQ(SerialPort::BaudForIndex(0), 4800);
  // Outside the list: no speed at all.
  EXPECT_EQ(SerialPort::BaudForIndex(7), 0);
  EXPECT_EQ(SerialPort::BaudForIndex(-1), 0);
}

TEST(SerialPortOpen, MissingPathSaysMissing) {
  SerialPort port;
  port.SetPortName("/dev/kavro-no-such-port");
  EXPECT_FALSE(port.Open());
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastOpenError(), OpenError::Missing);
  EXPECT_FALSE(port.LastErrorText().empty());
}

TEST(SerialPortOpen, NotATerminalIsRefused) {
  SerialPort port;
  port.SetPortName("/dev/null");
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.LastOpenError(), OpenError::NotSerial);
}

TEST(SerialPortOpen, SecondOpenOfSamePortIsBusy) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort first;
  first.SetPortName(pty.SlavePath());
  ASSERT_TRUE(first.Open());
  SerialPort second;
  second.SetPortName(pty.SlavePath());
  EXPECT_FALSE(second.Open());
  EXPECT_EQ(second.LastOpenError(), OpenError::Busy);
  // Once the first lets go, the port can be had again.
  EXPECT_TRUE(first.Close());
  EXPECT_TRUE(second.Open());
}

TEST(SerialPortOpen, ClosingClearsTheExclusiveFlagForTheNextUser) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  auto exclusive = [&pty] {
    const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int flag = -1;
    if (fd >= 0) {
      (void)ioctl(fd, TIOCGEXCL, &flag);
      ::close(fd);
    }
    return flag;
  };
  {
    SerialPort port;
    port.SetPortName(pty.SlavePath());
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(exclusive(), 1);  // root may still look; others are refused
    EXPECT_TRUE(port.Close());
  }
  // Left set, it would refuse a normal user's next Connect as busy.
  EXPECT_EQ(exclusive(), 0);
  {
    SerialPort port;
    port.SetPortName(pty.SlavePath());
    ASSERT_TRUE(port.Open());
  }
  EXPECT_EQ(exclusive(), 0);
}

TEST(SerialPortOpen, LockedPortIsBusyAndLeftWithoutTheExclusiveFlag) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  auto exclusive = [&pty] {
    const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int flag = -1;
    if (fd >= 0) {
      (void)ioctl(fd, TIOCGEXCL, &flag);
      ::close(fd);
    }
    return flag;
  };
  // Another program holds the lock but never asked for exclusive use.
  const int holder = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
  SerialPort port;
  port.SetPortName(pty.SlavePath());
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.LastOpenError(), OpenError::Busy);
  EXPECT_FALSE(port.IsOpen());
  // The failed open must not leave the device refusing everyone else.
  EXPECT_EQ(exclusive(), 0);
  ::close(holder);
  EXPECT_TRUE(port.Open());
}

TEST(SerialPortOpen, OpenAgainLetsGoOfTheOldHandle) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort port;
  port.SetPortName(pty.SlavePath());
  ASSERT_TRUE(port.Open());
  // The old handle's lock would make the port look busy if it were kept.
  EXPECT_TRUE(port.Open());
  EXPECT_EQ(port.LastOpenError(), OpenError::None);
}

TEST(SerialPortOpen, EnsureOpenKeepsTheOpenPortAndCloseResetsName) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort port;
  port.SetPortName(pty.SlavePath());
  ASSERT_TRUE(port.EnsureOpen());
  // A new name while open takes effect only after a Close.
  port.SetPortName("/dev/kavro-no-such-port");
  EXPECT_TRUE(port.EnsureOpen());
  EXPECT_TRUE(port.IsOpen());
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(port.PortName(), "COM1");
  EXPECT_FALSE(port.Close());
  EXPECT_EQ(port.PortName(), "COM1");
}

TEST(SerialPortIo, ReadWithNothingPendingReturnsTrueAndNoBytes) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort port;
  port.SetPortName(pty.SlavePath());
  ASSERT_TRUE(port.Open());
  char buf[16];
  std::size_t got = 99;
  EXPECT_TRUE(port.Read(buf, sizeof buf, got));
  EXPECT_EQ(got, 0u);
}

TEST(SerialPortIo, BytesArriveRawAndTheTapSeesThem) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort port;
  port.SetPortName(pty.SlavePath());
  ASSERT_TRUE(port.Open());
  std::string seen;
  port.SetTap([&](ByteStream::Direction d, const std::uint8_t* data, std::size_t n, bool) {
    if (d == ByteStream::Direction::In) seen.append(reinterpret_cast<const char*>(data), n);
  });
  // CR LF and bytes above 127 must pass untouched: the line is raw.
  const std::string sent = "$A\r\n\x01\xff\x13\x11";
  pty.Send(sent);
  std::string got;
  for (int i = 0; i < 200 && got.size() < sent.size(); ++i) {
    char buf[64];
    std::size_t n = 0;
    ASSERT_TRUE(port.Read(buf, sizeof buf, n));
    got.append(buf, n);
    if (n == 0) usleep(2000);
  }
  EXPECT_EQ(got, sent);
  EXPECT_EQ(seen, sent);
}

TEST(SerialPortIo, SpeedChangesOnlyWhileOpen) {
  test::PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  SerialPort port;
  port.SetFastSpeed();  // closed: nothing, and no open
  EXPECT_FALSE(port.IsOpen());
  port.SetPortName(pty.SlavePath());
  port.SetBaudRate(SerialPort::BaudForIndex(2));  // 14400, not a classic termios speed
  ASSERT_TRUE(port.Open());
  const int initial = port.CurrentSpeed();
  if (initial == 0) GTEST_SKIP() << "this terminal does not report its speed";
  EXPECT_EQ(initial, 14400);
  port.SetFastSpeed();
  EXPECT_EQ(port.CurrentSpeed(), 921600);
  EXPECT_EQ(port.BaudRate(), 14400);
  port.RestoreSpeed();
  EXPECT_EQ(port.CurrentSpeed(), 14400);
}

TEST(SerialPortIo, PulledCableFailsReadAndWriteAndSaysLost) {
  auto pty = std::make_unique<test::PtyPair>();
  ASSERT_TRUE(pty->Ok());
  SerialPort port;
  port.SetPortName(pty->SlavePath());
  ASSERT_TRUE(port.Open());
  EXPECT_FALSE(port.Lost());
  pty.reset();  // master and the keeper gone
  char buf[8];
  std::size_t n = 0;
  EXPECT_FALSE(port.Read(buf, sizeof buf, n));
  EXPECT_TRUE(port.Lost());
  std::size_t w = 0;
  EXPECT_FALSE(port.Write("x", 1, w));
}

}  // namespace
}  // namespace kavro
