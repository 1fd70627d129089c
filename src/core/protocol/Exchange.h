#pragma once
// The command exchanges: write one sentence, poll for its reply at the logger's pace.
// A reply is taken only when it is a whole sentence with a right checksum and the awaited
// word; an echo of the command, garbage, half or corrupted sentences never count. Each
// exchange holds the link's lock for its whole length.
// What waits on the line before the first try of a request cannot be its reply and is dropped.
// A try that follows an unanswered try of the same sentence keeps it: the earlier reply may
// come late or in pieces and is taken then. An acknowledgement counts only for the command
// it names ("$PMTK001,182,type,..." or "$PMTK001,400,...").

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/Link.h"

namespace kavro {

// The historical failure text of an exchange.
inline constexpr std::string_view kNotConnected = "Not Connected";

struct ExchangeResult {
  enum class Kind { Reply, NoReply, NotConnected };
  Kind kind = Kind::NoReply;
  std::string text;  // the reply sentence, from "$" through CR LF (Reply only)

  bool IsReply() const { return kind == Kind::Reply; }
  bool IsNotConnected() const { return kind == Kind::NotConnected; }
  static ExchangeResult NotConnected() { return {Kind::NotConnected, std::string(kNotConnected)}; }
};

// Writes text in 16-byte pieces with `pause` between them, and after the last one too when
// pauseAfterLast: at 921600 baud the logger takes commands only so. False when a write failed.
bool WriteInPieces(SerialPort& port, std::string_view text, std::chrono::milliseconds pause, bool pauseAfterLast);

// "$KAVRO580,n[,text]" and its "$KAVRO001,n,..." reply (60 polls). Not Connected when the
// port is not open (a still-held handle is closed) or the link is gone.
ExchangeResult IdentExchange(Link& link, int n, std::string_view text = {});
// "$PMTK182,..." (or "$PMTK400") and its "$PMTK182" / "$PMTK001" reply: 10 polls, 1000 for
// the erase (type 6), one poll for the memory read (type 7). In fastMode the sentence goes
// out in 16-byte pieces with a pause after each.
ExchangeResult PmtkExchange(Link& link, int type, std::int32_t a, std::int32_t b);
// PmtkExchange with resends: up to 50, then CommandTimedOut is set and the result is Not
// Connected. The erase (type 6) is repeated whole while unacknowledged, a bounded number of times.
ExchangeResult PmtkRequest(Link& link, int type, std::int32_t a, std::int32_t b);
// The connect's quick write-position query: one sleep, then up to 10 reads without pause.
ExchangeResult QuickPmtkExchange(Link& link, int type, std::int32_t a, std::int32_t b);

}  // namespace kavro
