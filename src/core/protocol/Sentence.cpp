#include "protocol/Sentence.h"

#include <cctype>
#include <cstdio>

#include "protocol/ProtocolNumbers.h"

namespace kavro {
namespace {

char HexDigit(unsigned n) { return static_cast<char>(n < 10 ? '0' + n : 'A' + (n - 10)); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::size_t> FindWord(std::string_view text, std::size_t n, std::string_view word) {
  const std::size_t limit = std::min(n, text.size());
  for (std::size_t i = 0; i + word.size() <= limit; ++i) {
    if (text.compare(i, word.size(), word) == 0) return i;
  }
  return std::nullopt;
}

// How a PMTK182 type writes its two arguments (true: hexadecimal).
struct ArgFormat {
  bool aHex = false;
  bool bHex = false;
};

ArgFormat FormatOf(int type, std::int32_t a) {
  switch (type) {
    case pmtk::kSet:
      return {false, a == 1 || a == 2};
    case pmtk::kQueryReply:
      return {false, a == 2 || a == 8 || a == 9 || a == 10 || a == 11};
    case pmtk::kErase:
      return {false, a == 2};
    case pmtk::kMemoryRead:
    case pmtk::kMemoryData:
    case 12:
      return {true, true};
    default:
      return {};
  }
}

void AppendArg(std::string& body, std::int32_t v, bool hex) {
  char buf[16];
  if (hex)
    std::snprintf(buf, sizeof buf, ",%X", static_cast<unsigned>(v));
  else
    std::snprintf(buf, sizeof buf, ",%d", v);
  body += buf;
}

std::string PmtkBodyWith(int type, std::int32_t a, std::int32_t b, bool writeA, bool writeB) {
  if (type == pmtk::kPmtk400) return std::string(word::kPmtk400);
  std::string body = std::string(word::kPmtk182) + "," + std::to_string(type);
  const ArgFormat f = FormatOf(type, a);
  if (writeA) AppendArg(body, a, f.aHex);
  if (writeB) AppendArg(body, b, f.bHex);
  return body;
}

}  // namespace

std::string ChecksumDigits(std::string_view textAfterDollar) {
  unsigned x = 0;
  for (char c : textAfterDollar) x ^= static_cast<unsigned char>(c);
  return {HexDigit((x >> 4) & 0xF), HexDigit(x & 0xF)};
}

std::string AppendChecksum(std::string_view body) {
  std::string_view inner = body;
  if (!inner.empty() && inner.front() == '$') inner.remove_prefix(1);
  std::string s(body);
  s += '*';
  s += ChecksumDigits(inner);
  s += "\r\n";
  return s;
}

std::string IdentBody(int n, std::string_view text) {
  std::string body = std::string(word::kIdent) + "," + std::to_string(n);
  if (n == ident::kWriteName || n == ident::kWriteBasis) {
    body += ',';
    body += text;
  }
  return body;
}

std::string PmtkBody(int type, std::int32_t a, std::int32_t b) {
  const bool always = type == pmtk::kMemoryRead || type == 12;
  const bool writeA = a != 0 || always;
  const bool writeB = b != 0 || always || (type == pmtk::kErase && a == 2);
  return PmtkBodyWith(type, a, b, writeA, writeB);
}

std::string QuickPmtkBody(int type, std::int32_t a, std::int32_t b) { return PmtkBodyWith(type, a, b, a != 0, b != 0); }

std::optional<std::size_t> FindPmtk182(std::string_view text, std::size_t n) { return FindWord(text, n, word::kPmtk182); }

std::optional<std::size_t> FindIdentReply(std::string_view text, std::size_t n) { return FindWord(text, n, word::kIdentReply); }

std::optional<std::string> CutField(std::string_view text, ReplyWord word, std::size_t offset, int length) {
  const auto pos = word == ReplyWord::Pmtk182 ? FindPmtk182(text, 80) : FindIdentReply(text, 80);
  if (!pos) return std::nullopt;
  std::string_view rest = text.substr(*pos);
  // A reply is text: it ends at the first NUL, as the receive buffer's did.
  rest = rest.substr(0, rest.find('\0'));
  if (offset >= rest.size()) return std::string();
  rest.remove_prefix(offset);
  if (length >= 1) rest = rest.substr(0, static_cast<std::size_t>(length));
  return std::string(rest);
}

bool IsCompleteSentence(std::string_view text, std::size_t n) {
  const std::size_t limit = std::min(n, text.size());
  const std::size_t star = text.substr(0, limit).find('*');
  if (star == std::string_view::npos) return false;
  return star + 4 < text.size() && text[star + 1] != '\0' && text[star + 2] != '\0' && text[star + 3] == '\r' &&
         text[star + 4] == '\n';
}

bool HasValidChecksum(std::string_view sentence) {
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos || star + 4 >= sentence.size()) return false;
  if (sentence[star + 3] != '\r' || sentence[star + 4] != '\n') return false;
  return ChecksumMatches(sentence.substr(0, star + 3));
}

bool ChecksumMatches(std::string_view sentence) {
  if (sentence.empty() || sentence.front() != '$') return false;
  const std::size_t star = sentence.find('*');
  if (star == std::string_view::npos || star + 3 != sentence.size()) return false;
  return ChecksumDigits(sentence.substr(1, star - 1)) == sentence.substr(star + 1, 2);
}

bool AckAccepted(std::string_view reply) {
  if (reply.substr(0, word::kAck.size()) != word::kAck || reply.substr(word::kAck.size(), 1) != ",") return false;
  const std::size_t star = reply.find('*');
  if (star == std::string_view::npos) return false;
  const std::size_t comma = reply.rfind(',', star);
  return reply.substr(comma + 1, star - comma - 1) == std::to_string(pmtk::kAckDone);
}

std::int64_t ReplyNumber(std::string_view reply, bool hex) {
  const auto cut = CutField(reply, ReplyWord::Pmtk182, field::kQueryValue, field::kQueryValueLength);
  if (!cut) return 0;
  std::string_view v = *cut;
  if (!v.empty() && v.front() == ',') v.remove_prefix(1);
  v = v.substr(0, v.find('*'));
  if (hex) return ParseHexText(v);
  // A signed decimal number: optional sign, digits up to the first other character.
  std::size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  std::int64_t value = 0;
  for (; i < v.size() && std::isdigit(static_cast<unsigned char>(v[i])) && value < (std::int64_t{1} << 40); ++i)
    value = value * 10 + (v[i] - '0');
  return negative ? -value : value;
}

std::uint32_t ParseHexText(std::string_view text) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  std::uint32_t value = 0;
  for (char c : text) {
    const int d = HexValue(c);
    if (d < 0) break;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return value;
}

bool HexPairsToBytes(std::string_view text, std::uint8_t* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (2 * i + 1 >= text.size()) return false;
    const int hi = HexValue(text[2 * i]);
    const int lo = HexValue(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return true;
}

}  // namespace kavro
