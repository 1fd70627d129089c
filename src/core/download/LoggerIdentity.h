#pragma once
// How one logger is told apart from another for its kept copy. The Bluetooth address comes
// first: it is the logger's own (the firmware update keeps it), and a new user name does not
// change it. A logger that has none (all FF, or no answer) is known by its user name. Neither
// is trusted with the data: before the kept copy is used its first chunk and the chunk before
// the old write position are compared with the logger's, byte for byte.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kavro {

struct LoggerIdentity {
  std::string btAddress;  // 12 upper-case hex digits as the logger sends them; empty when none
  std::string userName;

  // File-name-safe: "bt-0012AB345678", or "name-" and the user name's bytes in hex.
  std::string Key() const;
};

// The twelve hex digits of a "$PMTK592,..." sentence (CR LF not included; one more "," is
// allowed before the digits), upper-cased; none for another sentence, a wrong checksum or an
// address of all FF (a logger that lost it).
std::optional<std::string> BtAddressOfReply(std::string_view sentence);

}  // namespace kavro
