#pragma once
// Inside the simulated T-580, shared by the line (SimLine.cpp), the logger's answers
// (LoggerAnswers.cpp) and the public face (Simulator.cpp).

#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BootRom.h"
#include "Simulator.h"

namespace kavro::sim {

using Clock = std::chrono::steady_clock;

inline constexpr char kHex[] = "0123456789ABCDEF";

inline std::uint8_t XorOf(const std::string& text) {
  std::uint8_t x = 0;
  for (char c : text) x ^= static_cast<std::uint8_t>(c);
  return x;
}

inline std::string Hex2(std::uint8_t v) { return {kHex[v >> 4], kHex[v & 0x0F]}; }

inline std::string Hex8(std::uint32_t v) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

inline std::vector<std::string> SplitFields(const std::string& body) {
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

inline bool ParseNumber(const std::string& text, int base, std::int64_t* out) {
  if (text.empty()) return false;
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  *out = v;
  return true;
}

inline bool IsLineSpeed(std::int64_t baud) {
  for (int b : {4800, 9600, 14400, 19200, 38400, 57600, 115200, 921600})
    if (baud == b) return true;
  return false;
}

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
  std::mt19937 faultRng{1};                      // badChecksumRate, seeded by the faults
  std::optional<Clock::time_point> silenceUntil;  // a silence with an end, once it began
  std::int64_t bytesSent = 0;

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
  BootRom bootRom;

  // The line (SimLine.cpp): the thread, input lines, reply framing, pacing and line faults.
  void Run();
  void CloseMaster();
  void ReadInput();
  void OnLine(const std::string& raw);
  void Reply(const std::string& body, std::int64_t address = -1, int baudAfter = 0);
  // Writes what may go out now; returns how long to wait before trying again.
  std::chrono::milliseconds Pump(bool* wantWritable);
  // Lowers *n to what the line speed allows now; how long to wait when that is too little.
  std::optional<std::chrono::milliseconds> PaceAtLineSpeed(Clock::time_point now, std::size_t* n);
  // The silence and disconnect faults: lowers *n to the bytes left before them.
  enum class LineCut { None, SpeaksAgain, Silent };
  LineCut CutBySilenceOrDisconnect(Clock::time_point now, std::size_t* n);
  // Books `written` bytes of the front item; the item leaves the queue once it is all out.
  void CountSent(std::size_t written, Clock::time_point now);

  // The logger's answers (LoggerAnswers.cpp): what it says to each sentence. mu held.
  void Handle(const std::string& raw);
  void HandleIdent(const std::vector<std::string>& f);
  void HandlePmtk182(const std::vector<std::string>& f);
  void HandleMemoryRead(const std::vector<std::string>& f);
  void FinishErase();

  // The boot ROM (SimBootRom.cpp): takes the bytes from p on when they start or continue a
  // firmware download (true), else leaves them to the line.
  bool BootRomTakes(const char* p, std::size_t n);
  // Gives up a download whose host went quiet; how long until the next look.
  std::chrono::milliseconds BootRomIdle();
  void ApplyStateFaults();
  void Wake() {
    if (wake[1] >= 0) {
      const char c = 1;
      [[maybe_unused]] const auto n = ::write(wake[1], &c, 1);
    }
  }
};

}  // namespace kavro::sim
