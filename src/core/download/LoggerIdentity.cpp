#include "download/LoggerIdentity.h"

#include <cctype>

#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

namespace kavro {

std::string LoggerIdentity::Key() const {
  if (!btAddress.empty()) return "bt-" + btAddress;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string key = "name-";
  for (unsigned char c : userName.substr(0, 16)) {
    key += kHex[c >> 4];
    key += kHex[c & 0x0F];
  }
  return key;
}

std::optional<std::string> BtAddressOfReply(std::string_view s) {
  const std::string_view word = word::kBtAddress;
  if (s.substr(0, word.size()) != word || s.size() <= word.size() || s[word.size()] != ',') return std::nullopt;
  if (!ChecksumMatches(s)) return std::nullopt;
  std::size_t at = word.size() + 1;
  if (at < s.size() && s[at] == ',') ++at;
  const std::size_t star = s.find('*', at);
  if (star == std::string_view::npos || star - at != 12) return std::nullopt;
  std::string hex;
  for (char c : s.substr(at, 12)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    hex += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (hex == "FFFFFFFFFFFF") return std::nullopt;
  return hex;
}

}  // namespace kavro
