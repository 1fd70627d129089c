// The line of the simulated T-580: the pty master and its thread, input cut into lines, replies
// framed and queued, output paced at the line speed, and the faults of the line.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "SimulatorImpl.h"

namespace kavro::sim {
namespace {

// An echo arrives at once; the reply after it comes a poll (38 ms) later.
constexpr std::chrono::milliseconds kEchoReplyDelay{60};
// While no one holds the slave side open the master reports hang-up; look again this often.
constexpr std::chrono::milliseconds kIdleRecheck{5};
// Longest line kept while waiting for its LF; of a longer one only the tail is kept.
constexpr std::size_t kMaxLine = 16384;
// The record of received sentences keeps the newest this many (days of keep-alives).
constexpr std::size_t kMaxReceived = 200000;

}  // namespace

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
  if (address >= 0 && f.badChecksumRate > 0 &&
      std::uniform_real_distribution<double>(0.0, 1.0)(faultRng) < f.badChecksumRate)
    corrupt = true;
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
  if (!options.faults.unanswered.empty() && raw.rfind(options.faults.unanswered, 0) == 0) return;
  if (eraseDue) {
    waiting.push_back(raw);
    return;
  }
  Handle(raw);
}

namespace {

// How long until `then`, at least a millisecond.
std::chrono::milliseconds Until(Clock::time_point then, Clock::time_point now) {
  return std::max(std::chrono::milliseconds(1), std::chrono::ceil<std::chrono::milliseconds>(then - now));
}

}  // namespace

std::optional<std::chrono::milliseconds> Simulator::Impl::PaceAtLineSpeed(Clock::time_point now, std::size_t* n) {
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
  const auto want = static_cast<std::int64_t>(std::min<std::size_t>(*n, 32));
  if (allowed < want) {
    const double wait = static_cast<double>(want - allowed) / rate * 1000.0;
    return std::chrono::milliseconds(std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(wait))));
  }
  *n = std::min(*n, static_cast<std::size_t>(allowed));
  return std::nullopt;
}

Simulator::Impl::LineCut Simulator::Impl::CutBySilenceOrDisconnect(Clock::time_point now, std::size_t* n) {
  Faults& f = options.faults;
  if (f.silenceAfterBytes >= 0) {
    if (bytesSinceFaults >= f.silenceAfterBytes) {
      if (f.silenceFor.count() > 0) {
        if (!silenceUntil) silenceUntil = now + f.silenceFor;
        if (now >= *silenceUntil) {
          // The silence is over: the logger speaks again from its next reply on.
          f.silenceAfterBytes = -1;
          silenceUntil.reset();
          return LineCut::SpeaksAgain;
        }
      }
      out.clear();
      return LineCut::Silent;
    }
    *n = std::min(*n, static_cast<std::size_t>(f.silenceAfterBytes - bytesSinceFaults));
  }
  if (f.disconnectAfterBytes >= 0) {
    if (bytesSinceFaults >= f.disconnectAfterBytes) {
      out.clear();
      CloseMaster();
      return LineCut::Silent;
    }
    *n = std::min(*n, static_cast<std::size_t>(f.disconnectAfterBytes - bytesSinceFaults));
  }
  return LineCut::None;
}

void Simulator::Impl::CountSent(std::size_t written, Clock::time_point now) {
  OutItem& item = out.front();
  item.offset += written;
  const auto bytes = static_cast<std::int64_t>(written);
  bytesSinceFaults += bytes;
  bytesSent += bytes;
  paceBytes += bytes;
  if (options.faults.splitBytes > 0) holdUntil = now + options.faults.splitPause;
  if (item.offset == item.bytes.size()) {
    if (item.baudAfter > 0) {
      state.baud = item.baudAfter;
      pacing = false;
    }
    out.pop_front();
  }
}

std::chrono::milliseconds Simulator::Impl::Pump(bool* wantWritable) {
  *wantWritable = false;
  while (!out.empty()) {
    const auto now = Clock::now();
    if (hungUp) {
      // No one listens: what the logger says is lost.
      out.clear();
      break;
    }
    if (holdUntil > now) return Until(holdUntil, now);
    const OutItem& item = out.front();
    if (item.notBefore > now) return Until(item.notBefore, now);
    std::size_t n = item.bytes.size() - item.offset;
    if (options.faults.splitBytes > 0) n = std::min(n, static_cast<std::size_t>(options.faults.splitBytes));
    if (options.paced) {
      if (const auto wait = PaceAtLineSpeed(now, &n)) return *wait;
    }
    const LineCut cut = CutBySilenceOrDisconnect(now, &n);
    if (cut == LineCut::SpeaksAgain) continue;
    if (cut == LineCut::Silent) break;
    const ssize_t written = ::write(master, item.bytes.data() + item.offset, n);
    if (written < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        *wantWritable = true;
        return std::chrono::milliseconds(50);
      }
      out.clear();  // the slave went away
      hungUp = true;
      break;
    }
    CountSent(static_cast<std::size_t>(written), now);
  }
  if (out.empty()) pacing = false;
  return std::chrono::milliseconds(200);
}

void Simulator::Impl::ReadInput() {
  char buf[4096];
  while (true) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n > 0) {
      hungUp = false;
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buf[i];
        if ((bootRom.Active() || static_cast<std::uint8_t>(c) == brom::kSync) &&
            BootRomTakes(buf + i, static_cast<std::size_t>(n - i)))
          break;
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
      timeout = std::min(timeout, BootRomIdle());
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

}  // namespace kavro::sim
