// The simulated T-580 on the master side of a pseudo-terminal.
#include "Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace kavro::sim {
namespace {

using Clock = std::chrono::steady_clock;

// An echo arrives at once; the reply after it comes a poll (38 ms) later.
constexpr std::chrono::milliseconds kEchoReplyDelay{60};
// While no one holds the slave side open the master reports hang-up; look again this often.
constexpr std::chrono::milliseconds kIdleRecheck{5};
// Longest line kept while waiting for its LF; of a longer one only the tail is kept.
constexpr std::size_t kMaxLine = 16384;
// The record of received sentences keeps the newest this many (days of keep-alives).
constexpr std::size_t kMaxReceived = 200000;

constexpr char kHex[] = "0123456789ABCDEF";

std::uint8_t XorOf(const std::string& text) {
  std::uint8_t x = 0;
  for (char c : text) x ^= static_cast<std::uint8_t>(c);
  return x;
}

std::string Hex2(std::uint8_t v) { return {kHex[v >> 4], kHex[v & 0x0F]}; }

std::string Hex8(std::uint32_t v) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<std::string> SplitFields(const std::string& body) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = body.find(',', start);
    if (comma == std::string::npos) {
      fields.push_back(body.substr(start));
      return fields;
    }
    fields.push_back(body.substr(start, comma - start));
    start = comma + 1;
  }
}

bool ParseNumber(const std::string& text, int base, std::int64_t* out) {
  if (text.empty()) return false;
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  *out = v;
  return true;
}

bool IsLineSpeed(std::int64_t baud) {
  for (int b : {4800, 9600, 14400, 19200, 38400, 57600, 115200, 921600})
    if (baud == b) return true;
  return false;
}

}  // namespace

struct Simulator::Impl {
  struct OutItem {
    std::string bytes;
    std::size_t offset = 0;
    Clock::time_point notBefore{};
    int baudAfter = 0;  // switch the line speed once this item is out
  };

  // Guards everything the commands change and the accessors read.
  mutable std::mutex mu;
  Scenario scenario;
  SimulatorOptions options;
  DeviceState state;
  std::vector<std::uint8_t> memory;
  int repliesSinceFaults = 0;
  std::int64_t bytesSinceFaults = 0;
  int repliesSent = 0;

  mutable std::mutex recvMu;
  mutable std::condition_variable recvCv;
  std::vector<std::string> received;

  std::mutex lifeMu;  // Start / Stop / Unplug
  int master = -1;
  int wake[2] = {-1, -1};
  std::string slavePath;
  std::thread thread;
  std::atomic<bool> stopFlag{false};
  std::atomic<bool> unplugFlag{false};
  std::atomic<bool> running{false};

  // Owned by the thread.
  std::string line;
  std::deque<OutItem> out;
  std::deque<std::string> waiting;  // sentences that arrived during an erase
  std::optional<Clock::time_point> eraseDue;
  Clock::time_point holdUntil{};
  Clock::time_point replyNotBefore{};
  bool pacing = false;
  Clock::time_point paceOrigin{};
  std::int64_t paceBytes = 0;
  bool hungUp = true;  // no slave open yet

  void Run();
  void CloseMaster();
  void ReadInput();
  void OnLine(const std::string& raw);
  void Handle(const std::string& raw);  // mu held
  void HandleIdent(const std::vector<std::string>& f);
  void HandlePmtk182(const std::vector<std::string>& f);
  void HandleMemoryRead(const std::vector<std::string>& f);
  void Reply(const std::string& body, std::int64_t address = -1, int baudAfter = 0);
  void FinishErase();
  // Writes what may go out now; returns how long to wait before trying again.
  std::chrono::milliseconds Pump(bool* wantWritable);
  void Wake() {
    if (wake[1] >= 0) {
      const char c = 1;
      [[maybe_unused]] const auto n = ::write(wake[1], &c, 1);
    }
  }
};

void Simulator::Impl::CloseMaster() {
  if (master >= 0) ::close(master);
  master = -1;
  running = false;
}

void Simulator::Impl::Reply(const std::string& body, std::int64_t address, int baudAfter) {
  Faults& f = options.faults;
  ++repliesSinceFaults;
  if (f.dropReply > 0 && f.dropReply == repliesSinceFaults) return;
  if (address >= 0 && f.dropAddress == address) {
    f.dropAddress = -1;
    return;
  }
  std::uint8_t sum = XorOf(body);
  bool corrupt = f.badChecksumReply > 0 && f.badChecksumReply == repliesSinceFaults;
  if (address >= 0 && f.badChecksumAddress == address) {
    f.badChecksumAddress = -1;
    corrupt = true;
  }
  if (corrupt) sum = static_cast<std::uint8_t>(sum ^ 0x5A);
  OutItem item;
  item.bytes.reserve(body.size() + 6);
  item.bytes += '$';
  item.bytes += body;
  item.bytes += '*';
  item.bytes += Hex2(sum);
  item.bytes += "\r\n";
  item.notBefore = replyNotBefore;
  item.baudAfter = baudAfter;
  if (options.trace) {
    std::string shown = item.bytes.substr(0, item.bytes.size() - 2);
    if (shown.size() > 72) shown = shown.substr(0, 60) + "..." + shown.substr(shown.size() - 3);
    options.trace("> " + shown);
  }
  out.push_back(std::move(item));
  ++repliesSent;
}

void Simulator::Impl::OnLine(const std::string& raw) {
  {
    std::lock_guard lock(recvMu);
    if (received.size() >= kMaxReceived) received.erase(received.begin(), received.begin() + kMaxReceived / 2);
    received.push_back(raw);
  }
  recvCv.notify_all();
  std::lock_guard lock(mu);
  if (options.trace) options.trace("< " + raw);
  replyNotBefore = Clock::time_point{};
  if (options.faults.replyDelay.count() > 0) replyNotBefore = Clock::now() + options.faults.replyDelay;
  if (options.faults.echo) {
    OutItem echo;
    echo.bytes = raw + "\r\n";
    out.push_back(std::move(echo));
    replyNotBefore = std::max(replyNotBefore, Clock::now() + kEchoReplyDelay);
  }
  if (eraseDue) {
    waiting.push_back(raw);
    return;
  }
  Handle(raw);
}

void Simulator::Impl::Handle(const std::string& raw) {
  // Frame: "$" body "*" two hex digits; anything else, or a wrong checksum, gets no answer.
  // Line noise before the sentence is skipped: it starts at the last "$".
  const std::size_t dollar = raw.rfind('$');
  if (dollar == std::string::npos) return;
  const std::size_t star = raw.find('*', dollar);
  if (star == std::string::npos || star + 3 != raw.size()) return;
  const int hi = HexDigit(raw[star + 1]);
  const int lo = HexDigit(raw[star + 2]);
  const std::string body = raw.substr(dollar + 1, star - dollar - 1);
  if (hi < 0 || lo < 0 || XorOf(body) != hi * 16 + lo) return;

  const std::vector<std::string> f = SplitFields(body);
  if (f[0] == "KAVRO580") {
    HandleIdent(f);
  } else if (f[0] == "PMTK182") {
    HandlePmtk182(f);
  } else if (f[0] == "PMTK400") {
    Reply("PMTK001,400,3");
  } else if (f[0] == "PMTK492") {
    std::string text = "PMTK592,";
    for (std::uint8_t b : state.btAddress) text += Hex2(b);
    Reply(text);
  } else if (f[0] == "PMTK392" && f.size() == 3 && f[1].size() == 6 && f[2].size() == 6) {
    const std::string digits = f[1] + f[2];
    std::array<std::uint8_t, 6> address{};
    for (std::size_t i = 0; i < 6; ++i) {
      const int h = HexDigit(digits[2 * i]);
      const int l = HexDigit(digits[2 * i + 1]);
      if (h < 0 || l < 0) return;
      address[i] = static_cast<std::uint8_t>(h * 16 + l);
    }
    state.btAddress = address;
    Reply("PMTK010,001");
  }
}

void Simulator::Impl::HandleIdent(const std::vector<std::string>& f) {
  std::int64_t n = 0;
  if (f.size() < 2 || !ParseNumber(f[1], 10, &n)) return;
  const std::string head = "KAVRO001," + std::to_string(n) + ",";
  switch (n) {
    case 1: Reply(head + "T580"); break;
    case 2: Reply(head + "OK"); break;
    case 3: {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%03d", state.firmware % 1000);
      Reply(head + buf);
      break;
    }
    case 4: {
      // The name may hold commas: it is everything after "4,".
      std::string name;
      for (std::size_t i = 2; i < f.size(); ++i) name += (i > 2 ? "," : "") + f[i];
      if (name.size() > 16) name.resize(16);
      state.userName = name;
      Reply(head + name);
      break;
    }
    case 5: Reply(head + state.userName); break;
    case 6: Reply(head + "OK"); break;
    case 7: Reply(head + state.hardware); break;
    case 8: Reply(head + std::to_string(state.basis)); break;
    case 9: {
      std::int64_t basis = 0;
      if (f.size() >= 3 && ParseNumber(f[2], 10, &basis) && (basis == 0 || basis == 1))
        state.basis = static_cast<int>(basis);
      Reply(head + std::to_string(state.basis));
      break;
    }
    case 10: Reply(head + state.timeZone); break;
    case 11: Reply(head + std::to_string(state.unit)); break;
    default: break;  // unknown sub-commands stay unanswered
  }
}

void Simulator::Impl::HandlePmtk182(const std::vector<std::string>& f) {
  std::int64_t type = 0;
  if (f.size() < 2 || !ParseNumber(f[1], 10, &type)) return;
  const std::string nack = "PMTK001,182," + std::to_string(type) + ",";
  std::int64_t a = 0;
  std::int64_t b = 0;
  switch (type) {
    case 1: {
      if (f.size() != 4 || !ParseNumber(f[2], 10, &a)) return Reply(nack + "0");
      const int base = (a == 1 || a == 2) ? 16 : 10;
      if (!ParseNumber(f[3], base, &b)) return Reply(nack + "0");
      bool ok = true;
      if (a == 3 && b > 0 && b <= 36000) {
        state.timeInterval = static_cast<int>(b);
      } else if (a == 4 && b > 0 && b <= 100000) {
        state.distanceInterval = static_cast<int>(b);
      } else if (a == 6 && (b == 1 || b == 2)) {
        state.recordMode = static_cast<int>(b);
      } else {
        ok = false;
      }
      return Reply(nack + (ok ? "3" : "2"));
    }
    case 2: {
      if (f.size() < 3 || !ParseNumber(f[2], 10, &a)) return Reply(nack + "0");
      const std::string head = "PMTK182,3," + std::to_string(a) + ",";
      switch (a) {
        case 1: return Reply(head + "0000003F");
        case 3: return Reply(head + std::to_string(state.timeInterval));
        case 4: return Reply(head + std::to_string(state.distanceInterval));
        case 6: return Reply(head + std::to_string(state.recordMode));
        case 8: return Reply(head + Hex8(state.writePosition));
        default: return Reply(nack + "1");
      }
    }
    case 6: {
      if (f.size() >= 3 && ParseNumber(f[2], 10, &a) && a == 1) {
        eraseDue = Clock::now() + options.eraseDelay;
        return;
      }
      return Reply(nack + "1");
    }
    case 7: return HandleMemoryRead(f);
    case 14: {
      if (f.size() >= 3 && ParseNumber(f[2], 10, &a) && IsLineSpeed(a))
        return Reply(nack + "3", -1, static_cast<int>(a));
      return Reply(nack + "2");
    }
    default: return Reply(nack + "1");
  }
}

void Simulator::Impl::HandleMemoryRead(const std::vector<std::string>& f) {
  std::int64_t a = 0;
  std::int64_t b = 0;
  if (f.size() != 4 || !ParseNumber(f[2], 16, &a) || !ParseNumber(f[3], 16, &b) || a < 0 || b <= 0 ||
      a >= kMemorySize)
    return Reply("PMTK001,182,7,0");
  const std::int64_t end = std::min<std::int64_t>(a + b, kMemorySize);
  for (std::int64_t addr = a; addr < end; addr += kChunkSize) {
    const auto len = static_cast<std::size_t>(std::min<std::int64_t>(kChunkSize, end - addr));
    std::int64_t shown = addr;
    if (options.faults.wrongAddress == addr) {
      options.faults.wrongAddress = -1;
      shown = addr + kChunkSize;
    }
    std::string body = "PMTK182,8," + Hex8(static_cast<std::uint32_t>(shown)) + ",";
    body.reserve(body.size() + 2 * len);
    const std::uint8_t* p = memory.data() + addr;
    for (std::size_t i = 0; i < len; ++i) {
      body += kHex[p[i] >> 4];
      body += kHex[p[i] & 0x0F];
    }
    Reply(body, addr);
  }
}

void Simulator::Impl::FinishErase() {
  eraseDue.reset();
  std::fill(memory.begin(), memory.end(), std::uint8_t{0xFF});
  state.writePosition = 0;
  ++state.eraseCount;
  Reply("PMTK001,182,6,3");
  while (!waiting.empty() && !eraseDue) {
    const std::string next = waiting.front();
    waiting.pop_front();
    Handle(next);
  }
}

std::chrono::milliseconds Simulator::Impl::Pump(bool* wantWritable) {
  using std::chrono::milliseconds;
  *wantWritable = false;
  Faults& f = options.faults;
  while (!out.empty()) {
    const auto now = Clock::now();
    if (hungUp) {
      // No one listens: what the logger says is lost.
      out.clear();
      break;
    }
    if (holdUntil > now)
      return std::max(milliseconds(1), std::chrono::ceil<milliseconds>(holdUntil - now));
    OutItem& item = out.front();
    if (item.notBefore > now)
      return std::max(milliseconds(1), std::chrono::ceil<milliseconds>(item.notBefore - now));
    std::size_t n = item.bytes.size() - item.offset;
    if (f.splitBytes > 0) n = std::min(n, static_cast<std::size_t>(f.splitBytes));
    if (options.paced) {
      const double rate = state.baud / 10.0;
      if (!pacing) {
        pacing = true;
        paceOrigin = now;
        paceBytes = 0;
      }
      const double elapsed = std::chrono::duration<double>(now - paceOrigin).count();
      auto earned = static_cast<std::int64_t>(elapsed * rate);
      // Credit saved while the reader stalled is capped at 20 ms worth of line time.
      const auto cap = std::max<std::int64_t>(64, static_cast<std::int64_t>(rate / 50));
      if (earned - paceBytes > cap) paceBytes = earned - cap;
      const std::int64_t allowed = earned - paceBytes;
      const auto want = static_cast<std::int64_t>(std::min<std::size_t>(n, 32));
      if (allowed < want) {
        const double wait = static_cast<double>(want - allowed) / rate * 1000.0;
        return milliseconds(std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(wait))));
      }
      n = std::min(n, static_cast<std::size_t>(allowed));
    }
    if (f.silenceAfterBytes >= 0) {
      if (bytesSinceFaults >= f.silenceAfterBytes) {
        out.clear();
        break;
      }
      n = std::min(n, static_cast<std::size_t>(f.silenceAfterBytes - bytesSinceFaults));
    }
    if (f.disconnectAfterBytes >= 0) {
      if (bytesSinceFaults >= f.disconnectAfterBytes) {
        out.clear();
        CloseMaster();
        break;
      }
      n = std::min(n, static_cast<std::size_t>(f.disconnectAfterBytes - bytesSinceFaults));
    }
    const ssize_t w = ::write(master, item.bytes.data() + item.offset, n);
    if (w < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        *wantWritable = true;
        return milliseconds(50);
      }
      out.clear();  // the slave went away
      hungUp = true;
      break;
    }
    item.offset += static_cast<std::size_t>(w);
    bytesSinceFaults += w;
    paceBytes += w;
    if (f.splitBytes > 0) holdUntil = now + f.splitPause;
    if (item.offset == item.bytes.size()) {
      if (item.baudAfter > 0) {
        state.baud = item.baudAfter;
        pacing = false;
      }
      out.pop_front();
    }
  }
  if (out.empty()) pacing = false;
  return milliseconds(200);
}

void Simulator::Impl::ReadInput() {
  char buf[4096];
  while (true) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n > 0) {
      hungUp = false;
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buf[i];
        if (c == '\n') {
          std::string raw;
          raw.swap(line);
          if (!raw.empty() && raw.back() == '\r') raw.pop_back();
          if (!raw.empty()) OnLine(raw);
        } else {
          // A line without end is noise: keep only its tail, where a sentence may begin.
          if (line.size() >= kMaxLine) line.erase(0, line.size() - kMaxLine / 2);
          line += c;
        }
      }
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    // EIO: every slave descriptor is closed.
    hungUp = true;
    line.clear();
    return;
  }
}

void Simulator::Impl::Run() {
  using std::chrono::milliseconds;
  while (!stopFlag && !unplugFlag && master >= 0) {
    milliseconds timeout{200};
    bool wantWritable = false;
    {
      std::lock_guard lock(mu);
      if (eraseDue) {
        const auto now = Clock::now();
        if (now >= *eraseDue)
          FinishErase();
        else
          timeout = std::max(milliseconds(1), std::chrono::ceil<milliseconds>(*eraseDue - now));
      }
      timeout = std::min(timeout, Pump(&wantWritable));
    }
    if (master < 0) break;  // a disconnect fault

    pollfd fds[2] = {{wake[0], POLLIN, 0}, {master, static_cast<short>(POLLIN | (wantWritable ? POLLOUT : 0)), 0}};
    // A hung-up master reports POLLHUP at once; wait on the wake pipe alone, then look again.
    const nfds_t count = hungUp ? 1 : 2;
    if (hungUp) timeout = std::min(timeout, kIdleRecheck);
    const int rc = ::poll(fds, count, static_cast<int>(timeout.count()));
    if (rc < 0 && errno != EINTR) break;
    if (fds[0].revents & POLLIN) {
      char drain[64];
      while (::read(wake[0], drain, sizeof drain) > 0) {
      }
    }
    if (hungUp) {
      pollfd probe{master, POLLIN, 0};
      if (::poll(&probe, 1, 0) >= 0) {
        if (probe.revents & POLLIN)
          ReadInput();  // data, or EIO while still hung up
        else if (!(probe.revents & POLLHUP))
          hungUp = false;
      }
    } else if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      ReadInput();
    }
  }
  if (unplugFlag || stopFlag) CloseMaster();
  running = false;
}

Simulator::Simulator(Scenario scenario, SimulatorOptions options) : impl_(std::make_unique<Impl>()) {
  Impl& d = *impl_;
  d.options = std::move(options);
  d.memory = BuildMemoryImage(scenario);
  d.state.userName = scenario.userName.substr(0, 16);
  d.state.basis = scenario.basis;
  d.state.timeZone = scenario.timeZone;
  d.state.unit = scenario.unit;
  d.state.timeInterval = scenario.timeInterval;
  d.state.distanceInterval = scenario.distanceInterval;
  d.state.recordMode = scenario.recordMode;
  d.state.writePosition = sim::WritePosition(scenario);
  d.state.firmware = scenario.firmware;
  d.state.hardware = scenario.hardware;
  d.state.btAddress = scenario.btAddress;
  d.scenario = std::move(scenario);
}

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(std::string* error) {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    if (d.master >= 0) ::close(d.master);
    d.master = -1;
    return false;
  };
  if (d.thread.joinable() || d.stopFlag || d.unplugFlag) {
    if (error) *error = "the simulator was already started";
    return false;
  }
  d.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (d.master < 0) return fail("posix_openpt");
  if (::grantpt(d.master) != 0) return fail("grantpt");
  if (::unlockpt(d.master) != 0) return fail("unlockpt");
  char name[128];
  if (::ptsname_r(d.master, name, sizeof name) != 0) return fail("ptsname");
  termios tio{};
  if (::tcgetattr(d.master, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B38400);
    ::cfsetospeed(&tio, B38400);
    ::tcsetattr(d.master, TCSANOW, &tio);
  }
  const int flags = ::fcntl(d.master, F_GETFL);
  if (flags < 0 || ::fcntl(d.master, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
  if (::pipe2(d.wake, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
  d.slavePath = name;
  {
    std::lock_guard lock(d.mu);
    d.repliesSinceFaults = 0;
    d.bytesSinceFaults = 0;
  }
  d.running = true;
  d.thread = std::thread([&d] { d.Run(); });
  return true;
}

std::string Simulator::SlavePath() const { return impl_->slavePath; }

void Simulator::Stop() {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  d.stopFlag = true;
  d.Wake();
  if (d.thread.joinable()) d.thread.join();
  if (d.master >= 0) ::close(d.master);
  d.master = -1;
  d.running = false;
  for (int& fd : d.wake) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void Simulator::Unplug() {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  d.unplugFlag = true;
  d.Wake();
  if (d.thread.joinable()) d.thread.join();
  if (d.master >= 0) ::close(d.master);
  d.master = -1;
  d.running = false;
}

bool Simulator::Running() const { return impl_->running; }

std::vector<std::string> Simulator::Received() const {
  std::lock_guard lock(impl_->recvMu);
  return impl_->received;
}

void Simulator::ClearReceived() {
  std::lock_guard lock(impl_->recvMu);
  impl_->received.clear();
}

bool Simulator::WaitForReceived(const std::string& prefix, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->recvMu);
  return impl_->recvCv.wait_for(lock, timeout, [&] {
    return std::any_of(impl_->received.begin(), impl_->received.end(),
                       [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
  });
}

int Simulator::RepliesSent() const {
  std::lock_guard lock(impl_->mu);
  return impl_->repliesSent;
}

void Simulator::SetFaults(const Faults& faults) {
  {
    std::lock_guard lock(impl_->mu);
    impl_->options.faults = faults;
    impl_->repliesSinceFaults = 0;
    impl_->bytesSinceFaults = 0;
  }
  impl_->Wake();
}

void Simulator::SetPaced(bool paced) {
  std::lock_guard lock(impl_->mu);
  impl_->options.paced = paced;
  impl_->pacing = false;
}

void Simulator::SetEraseDelay(std::chrono::milliseconds delay) {
  std::lock_guard lock(impl_->mu);
  impl_->options.eraseDelay = delay;
}

DeviceState Simulator::State() const {
  std::lock_guard lock(impl_->mu);
  return impl_->state;
}

std::string Simulator::UserName() const { return State().userName; }
int Simulator::TimeInterval() const { return State().timeInterval; }
int Simulator::DistanceInterval() const { return State().distanceInterval; }
int Simulator::RecordMode() const { return State().recordMode; }
int Simulator::Basis() const { return State().basis; }
std::uint32_t Simulator::WritePosition() const { return State().writePosition; }
int Simulator::Baud() const { return State().baud; }

std::vector<std::uint8_t> Simulator::Memory() const {
  std::lock_guard lock(impl_->mu);
  return impl_->memory;
}

std::unique_ptr<Simulator> StartSimulator(const std::string& scenarioName, std::string* error,
                                          SimulatorOptions options) {
  std::optional<Scenario> scenario = ScenarioByName(scenarioName.empty() ? "demo" : scenarioName);
  if (!scenario) {
    if (error) *error = "unknown scenario \"" + scenarioName + "\"";
    return nullptr;
  }
  auto sim = std::make_unique<Simulator>(std::move(*scenario), std::move(options));
  if (!sim->Start(error)) return nullptr;
  return sim;
}

}  // namespace kavro::sim
