// Reply parsing takes bytes straight from the serial line: none of it may read out of bounds.
#include <cstddef>
#include <cstdint>
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
  return 0;
}
