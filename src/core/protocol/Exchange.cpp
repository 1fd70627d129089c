#include "protocol/Exchange.h"

#include <functional>
#include <thread>

#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {
namespace {

constexpr std::size_t kPollRead = 80;       // bytes read per poll: about one sentence
constexpr std::size_t kPieceSize = 16;      // fastMode write pieces
constexpr std::size_t kMaxPending = 4096;   // text kept while a reply is awaited

using Matcher = std::function<bool(std::string_view sentence)>;

// "word,n" followed by "," or "*".
bool StartsWithField(std::string_view s, std::string_view word, long long n) {
  const std::string head = std::string(word) + "," + std::to_string(n);
  if (s.size() <= head.size() || s.compare(0, head.size(), head) != 0) return false;
  return s[head.size()] == ',' || s[head.size()] == '*';
}

Matcher PmtkMatcher(int type, std::int32_t a) {
  if (type == pmtk::kQuery) {
    const std::string head = std::string(word::kPmtk182) + "," + std::to_string(pmtk::kQueryReply);
    return [a, head](std::string_view s) { return StartsWithField(s, head, a); };
  }
  if (type == pmtk::kMemoryRead)
    return [](std::string_view s) { return s.substr(0, word::kMemoryData.size()) == word::kMemoryData; };
  // An acknowledgement names the command it answers: "$PMTK001,182,type,flag" or
  // "$PMTK001,400,flag". One for another command is not this one's.
  if (type == pmtk::kPmtk400) return [](std::string_view s) { return StartsWithField(s, word::kAck, pmtk::kPmtk400); };
  const std::string head = std::string(word::kAck) + "," + std::to_string(pmtk::kLogCommand);
  return [type, head](std::string_view s) { return StartsWithField(s, head, type); };
}

// Not open, or gone: close a handle still held and answer "Not Connected".
bool CheckOpen(Link& link) {
  SerialPort& port = link.Port();
  if (link.portOpen && !link.LinkLost() && port.IsOpen()) return true;
  if (port.IsOpen()) {
    port.Purge();
    port.Close();
  }
  link.Carry().Clear();
  link.portOpen = false;
  return false;
}

// A read or write failed because the far end went away.
bool NoteFailure(Link& link) {
  SerialPort& port = link.Port();
  if (!port.Lost()) return false;
  link.MarkLost();
  port.Close();
  link.Carry().Clear();
  return true;
}

// Hands out the whole sentences in what the polls read. The text lives in the link's carry,
// so what one try read is still there for the next try of the same request.
class SentenceCollector {
 public:
  explicit SentenceCollector(std::string& pending) : pending_(pending) {}
  void Add(const char* data, std::size_t n) {
    pending_.append(data, n);
    if (pending_.size() > kMaxPending) pending_.erase(0, pending_.size() - kMaxPending);
  }
  // The next whole sentence ("$" ... CR LF), or empty when none is complete yet. Text before
  // a "$" and a "$" whose sentence broke off are dropped.
  std::string Next() {
    for (;;) {
      const std::size_t end = pending_.find("\r\n");
      if (end == std::string::npos) {
        const std::size_t dollar = pending_.rfind('$');
        pending_.erase(0, dollar == std::string::npos ? pending_.size() : dollar);
        return {};
      }
      const std::size_t dollar = pending_.rfind('$', end);
      std::string s;
      if (dollar != std::string::npos) s = pending_.substr(dollar, end + 2 - dollar);
      pending_.erase(0, end + 2);
      if (!s.empty()) return s;
    }
  }

 private:
  std::string& pending_;
};

ExchangeResult Transact(Link& link, const std::string& sentence, bool inPieces, const Matcher& match, int polls,
                        bool pauseEachPoll) {
  SerialPort& port = link.Port();
  const ExchangeTiming& t = link.Timing();
  ExchangeCarry& carry = link.Carry();
  // Before the first try of a request nothing on the line can be its reply: drop it. A try
  // after one that went unanswered keeps it, as the earlier reply may be on its way.
  if (sentence != carry.unanswered) {
    port.DiscardInput();
    carry.Clear();
  }
  carry.unanswered.clear();

  std::size_t written = 0;
  const bool wrote = inPieces ? WriteInPieces(port, sentence, t.fastPiecePause, true)
                              : port.Write(sentence.data(), sentence.size(), written);
  if (!wrote && NoteFailure(link)) return ExchangeResult::NotConnected();

  SentenceCollector collector(carry.input);
  char buf[kPollRead];
  for (int i = 0; i < polls; ++i) {
    if (pauseEachPoll || i == 0) std::this_thread::sleep_for(t.poll);
    // A full read means more is queued: take it in the same poll.
    std::size_t got = 0;
    bool failed = false;
    do {
      if (!port.Read(buf, sizeof buf, got)) {
        if (NoteFailure(link)) return ExchangeResult::NotConnected();
        failed = true;
        break;
      }
      collector.Add(buf, got);
    } while (got == sizeof buf);
    if (failed) continue;
    for (std::string s = collector.Next(); !s.empty(); s = collector.Next()) {
      // The port echoing our own command is not the logger's answer.
      if (s == sentence) continue;
      if (!HasValidChecksum(s)) continue;
      if (match(s)) return {ExchangeResult::Kind::Reply, s};
    }
  }
  carry.unanswered = sentence;
  return {};
}

}  // namespace

bool WriteInPieces(SerialPort& port, std::string_view text, std::chrono::milliseconds pause, bool pauseAfterLast) {
  std::size_t written = 0;
  for (std::size_t off = 0; off < text.size(); off += kPieceSize) {
    if (!port.Write(text.data() + off, std::min(kPieceSize, text.size() - off), written)) return false;
    if (pauseAfterLast || off + kPieceSize < text.size()) std::this_thread::sleep_for(pause);
  }
  return true;
}

ExchangeResult IdentExchange(Link& link, int n, std::string_view text) {
  auto lock = link.Lock();
  if (!CheckOpen(link)) return ExchangeResult::NotConnected();
  const std::string sentence = AppendChecksum(IdentBody(n, text));
  const Matcher match = [n](std::string_view s) { return StartsWithField(s, word::kIdentReply, n); };
  return Transact(link, sentence, false, match, link.Timing().identPolls, true);
}

ExchangeResult PmtkExchange(Link& link, int type, std::int32_t a, std::int32_t b) {
  auto lock = link.Lock();
  if (!CheckOpen(link)) return ExchangeResult::NotConnected();
  const std::string sentence = AppendChecksum(PmtkBody(type, a, b));
  const ExchangeTiming& t = link.Timing();
  const int polls = type == pmtk::kMemoryRead ? 1 : type == pmtk::kErase ? t.erasePolls : t.pmtkPolls;
  return Transact(link, sentence, link.fastMode.load(), PmtkMatcher(type, a), polls, true);
}

ExchangeResult PmtkRequest(Link& link, int type, std::int32_t a, std::int32_t b) {
  if (type == pmtk::kQuery) b = 0;
  const ExchangeTiming& t = link.Timing();
  for (int pass = 0;; ++pass) {
    ExchangeResult r = PmtkExchange(link, type, a, b);
    if (type != pmtk::kErase) {
      for (int resend = 0; !r.IsReply(); ++resend) {
        if (r.IsNotConnected()) return r;
        if (resend == t.resends) {
          link.commandTimedOut = true;
          return ExchangeResult::NotConnected();
        }
        r = PmtkExchange(link, type, a, b);
      }
    }
    if (r.IsReply() || r.IsNotConnected()) return r;
    // The erase went unacknowledged: wait for it once more, a bounded number of times.
    if (pass + 1 >= t.erasePasses) return ExchangeResult::NotConnected();
  }
}

ExchangeResult QuickPmtkExchange(Link& link, int type, std::int32_t a, std::int32_t b) {
  auto lock = link.Lock();
  if (!CheckOpen(link)) return ExchangeResult::NotConnected();
  const std::string sentence = AppendChecksum(QuickPmtkBody(type, a, b));
  return Transact(link, sentence, false, PmtkMatcher(type, a), link.Timing().quickReads, false);
}

}  // namespace kavro
