// Reply parsing takes bytes straight from the serial line: none of it may read out of bounds,
// and what the program frames itself must pass its own checks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "protocol/Sentence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)kavro::ReplyNumber(text, true);
  (void)kavro::ReplyNumber(text, false);
  (void)kavro::IsCompleteSentence(text, 256);
  (void)kavro::IsCompleteSentence(text, 96);
  (void)kavro::HasValidChecksum(text);
  (void)kavro::AckAccepted(text);
  (void)kavro::ParseHexText(text);
  (void)kavro::FindPmtk182(text, 4096);
  (void)kavro::FindIdentReply(text, 80);
  for (std::size_t offset : {0u, 12u, 13u, 14u, 20u})
    (void)kavro::CutField(text, offset % 2 ? kavro::ReplyWord::Ident : kavro::ReplyWord::Pmtk182, offset, 17);
  std::uint8_t bytes[16];
  if (size > 20) (void)kavro::HexPairsToBytes(text.substr(20), bytes, sizeof bytes);

  // What we frame ourselves must pass our own checks: any body without a "*" gets a checksum
  // that the reply check accepts.
  std::string body = "$";
  for (char c : text.substr(0, 200))
    if (c != '*') body += c;
  const std::string sentence = kavro::AppendChecksum(body);
  if (!kavro::HasValidChecksum(sentence) || !kavro::IsCompleteSentence(sentence, sentence.size())) std::abort();
  // Bytes written as hex pairs come back as the same bytes.
  static const char kHex[] = "0123456789ABCDEF";
  const std::size_t count = std::min<std::size_t>(size, 64);
  std::string hex;
  for (std::size_t i = 0; i < count; ++i) {
    hex += kHex[data[i] >> 4];
    hex += kHex[data[i] & 0xF];
  }
  std::uint8_t back[64];
  if (!kavro::HexPairsToBytes(hex, back, count) || std::memcmp(back, data, count) != 0) std::abort();
  return 0;
}
