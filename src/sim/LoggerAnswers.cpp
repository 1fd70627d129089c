// What the simulated T-580 answers to each sentence: identification, PMTK182 settings, queries,
// erase, memory read, speed change, PMTK400 and the Bluetooth address.
#include <algorithm>
#include <array>
#include <cstdio>

#include "SimulatorImpl.h"
#include "protocol/ProtocolNumbers.h"

namespace kavro::sim {
namespace {

// A sentence word without its "$", as it stands in a body.
std::string Bare(std::string_view word) { return std::string(word.substr(1)); }

// "word,n," : the head of a reply that repeats a number.
std::string Head(std::string_view word, std::int64_t n) { return Bare(word) + "," + std::to_string(n) + ","; }

}  // namespace

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
  if (f[0] == Bare(word::kIdent)) {
    HandleIdent(f);
  } else if (f[0] == Bare(word::kPmtk182)) {
    HandlePmtk182(f);
  } else if (f[0] == Bare(word::kPmtk400)) {
    Reply(Head(word::kAck, pmtk::kPmtk400) + std::to_string(pmtk::kAckDone));
  } else if (f[0] == Bare(word::kBtQuery) && !options.faults.noBtReply) {
    std::string text = Bare(word::kBtAddress) + ",";
    for (std::uint8_t b : state.btAddress) text += Hex2(b);
    Reply(text);
  } else if (f[0] == Bare(word::kBtSet) && f.size() == 3 && f[1].size() == 6 && f[2].size() == 6) {
    const std::string digits = f[1] + f[2];
    std::array<std::uint8_t, 6> address{};
    for (std::size_t i = 0; i < 6; ++i) {
      const int h = HexDigit(digits[2 * i]);
      const int l = HexDigit(digits[2 * i + 1]);
      if (h < 0 || l < 0) return;
      address[i] = static_cast<std::uint8_t>(h * 16 + l);
    }
    state.btAddress = address;
    Reply(Bare(word::kBtAccepted) + ",001");
  }
}

void Simulator::Impl::HandleIdent(const std::vector<std::string>& f) {
  std::int64_t n = 0;
  if (f.size() < 2 || !ParseNumber(f[1], 10, &n)) return;
  const std::string head = Head(word::kIdentReply, n);
  switch (n) {
    case ident::kHello: Reply(head + "T580"); break;
    case ident::kGoodbye: Reply(head + "OK"); break;
    case ident::kFirmware: {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%03d", state.firmware % 1000);
      Reply(head + buf);
      break;
    }
    case ident::kWriteName: {
      // The name may hold commas: it is everything after "4,".
      std::string name;
      for (std::size_t i = 2; i < f.size(); ++i) name += (i > 2 ? "," : "") + f[i];
      if (name.size() > 16) name.resize(16);
      state.userName = name;
      Reply(head + name);
      break;
    }
    case ident::kUserName: Reply(head + state.userName); break;
    case ident::kKeepAlive: Reply(head + "OK"); break;
    case ident::kHardware: Reply(head + state.hardware); break;
    case ident::kBasis: Reply(head + std::to_string(state.basis)); break;
    case ident::kWriteBasis: {
      std::int64_t basis = 0;
      if (f.size() >= 3 && ParseNumber(f[2], 10, &basis) && (basis == 0 || basis == 1))
        state.basis = static_cast<int>(basis);
      Reply(head + std::to_string(state.basis));
      break;
    }
    case ident::kTimeZone: Reply(head + state.timeZone); break;
    case ident::kDistanceUnit: Reply(head + std::to_string(state.unit)); break;
    default: break;  // unknown sub-commands stay unanswered
  }
}

void Simulator::Impl::HandlePmtk182(const std::vector<std::string>& f) {
  std::int64_t type = 0;
  if (f.size() < 2 || !ParseNumber(f[1], 10, &type)) return;
  const std::string nack = Head(word::kAck, pmtk::kLogCommand) + std::to_string(type) + ",";
  std::int64_t a = 0;
  std::int64_t b = 0;
  // The acknowledgement's flag, as text.
  auto flag = [](int value) { return std::to_string(value); };
  switch (type) {
    case pmtk::kSet: {
      if (f.size() != 4 || !ParseNumber(f[2], 10, &a)) return Reply(nack + flag(pmtk::kAckInvalid));
      const int base = (a == 1 || a == 2) ? 16 : 10;
      if (!ParseNumber(f[3], base, &b)) return Reply(nack + flag(pmtk::kAckInvalid));
      bool ok = true;
      if (a == item::kTimeInterval && b > 0 && b <= 36000) {
        state.timeInterval = static_cast<int>(b);
      } else if (a == item::kDistanceInterval && b > 0 && b <= 100000) {
        state.distanceInterval = static_cast<int>(b);
      } else if (a == item::kRecordMode && (b == 1 || b == 2)) {
        state.recordMode = static_cast<int>(b);
      } else {
        ok = false;
      }
      return Reply(nack + flag(ok ? pmtk::kAckDone : pmtk::kAckFailed));
    }
    case pmtk::kQuery: {
      if (f.size() < 3 || !ParseNumber(f[2], 10, &a)) return Reply(nack + flag(pmtk::kAckInvalid));
      const std::string head = Head(word::kPmtk182, pmtk::kQueryReply) + std::to_string(a) + ",";
      switch (a) {
        case item::kLogFormat: return Reply(head + "0000003F");
        case item::kTimeInterval: return Reply(head + std::to_string(state.timeInterval));
        case item::kDistanceInterval: return Reply(head + std::to_string(state.distanceInterval));
        case item::kRecordMode: return Reply(head + std::to_string(state.recordMode));
        case item::kWritePosition: return Reply(head + Hex8(state.writePosition));
        default: return Reply(nack + flag(pmtk::kAckUnsupported));
      }
    }
    case pmtk::kErase: {
      if (f.size() >= 3 && ParseNumber(f[2], 10, &a) && a == pmtk::kEraseAll) {
        eraseDue = Clock::now() + options.eraseDelay;
        return;
      }
      return Reply(nack + flag(pmtk::kAckUnsupported));
    }
    case pmtk::kMemoryRead: return HandleMemoryRead(f);
    case pmtk::kSpeed: {
      if (f.size() >= 3 && ParseNumber(f[2], 10, &a) && IsLineSpeed(a))
        return Reply(nack + flag(pmtk::kAckDone), -1, static_cast<int>(a));
      return Reply(nack + flag(pmtk::kAckFailed));
    }
    default: return Reply(nack + flag(pmtk::kAckUnsupported));
  }
}

void Simulator::Impl::HandleMemoryRead(const std::vector<std::string>& f) {
  std::int64_t a = 0;
  std::int64_t b = 0;
  if (f.size() != 4 || !ParseNumber(f[2], 16, &a) || !ParseNumber(f[3], 16, &b) || a < 0 || b <= 0 ||
      a >= memory::kSize)
    return Reply(Head(word::kAck, pmtk::kLogCommand) + std::to_string(pmtk::kMemoryRead) + "," + std::to_string(pmtk::kAckInvalid));
  const std::int64_t end = std::min<std::int64_t>(a + b, memory::kSize);
  for (std::int64_t addr = a; addr < end; addr += memory::kDataChunk) {
    const auto len = static_cast<std::size_t>(std::min<std::int64_t>(memory::kDataChunk, end - addr));
    std::int64_t shown = addr;
    if (options.faults.wrongAddress == addr) {
      options.faults.wrongAddress = -1;
      shown = addr + memory::kDataChunk;
    }
    std::string body = Bare(word::kMemoryData) + Hex8(static_cast<std::uint32_t>(shown)) + ",";
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
  Reply(Head(word::kAck, pmtk::kLogCommand) + std::to_string(pmtk::kErase) + "," + std::to_string(pmtk::kAckDone));
  while (!waiting.empty() && !eraseDue) {
    const std::string next = waiting.front();
    waiting.pop_front();
    Handle(next);
  }
}

}  // namespace kavro::sim
