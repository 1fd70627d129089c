#pragma once
// The sentence frame ("$" body "*" two hex digits CR LF) and the small operations that build
// commands and cut values out of replies. Pure functions, no I/O.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavro {

// "$" body "*hh\r\n": the checksum is the XOR of the characters between "$" and "*".
std::string AppendChecksum(std::string_view body);
// The two upper-case hex digits of the checksum of the text between the leading "$" and "*".
std::string ChecksumDigits(std::string_view textAfterDollar);

// "$KAVRO580,n", with ",text" for sub-commands 4 and 9.
std::string IdentBody(int n, std::string_view text = {});
// "$PMTK182,type[,a[,b]]" by the argument presence and format rules; "$PMTK400" for type 400.
std::string PmtkBody(int type, std::int32_t a, std::int32_t b);
// The body QuickPmtkExchange writes: a only when not 0, b only when not 0.
std::string QuickPmtkBody(int type, std::int32_t a, std::int32_t b);

// Position of "$PMTK182" / "$KAVRO001" within the first n bytes of text.
std::optional<std::size_t> FindPmtk182(std::string_view text, std::size_t n);
std::optional<std::size_t> FindIdentReply(std::string_view text, std::size_t n);

enum class ReplyWord { Pmtk182, Ident };
// From the reply word (searched in the first 80 bytes) move offset characters on and take
// length characters (all the rest when length < 1); none when the word is missing.
std::optional<std::string> CutField(std::string_view text, ReplyWord word, std::size_t offset, int length);
// True when the first "*" within n characters is followed by two characters and CR LF.
bool IsCompleteSentence(std::string_view text, std::size_t n);
// True when text holds, at its start, a complete sentence whose checksum digits are right.
bool HasValidChecksum(std::string_view sentence);
// The same for one sentence without its line end: "$", the body, "*" and the two digits.
bool ChecksumMatches(std::string_view sentence);
// True for an acknowledgement whose last field, the result flag, is 3 (done); the logger
// answers 0 (invalid), 1 (unsupported) or 2 (failed) to a command it did not carry out.
bool AckAccepted(std::string_view reply);
// The value of a "$PMTK182,3,item,value" reply: decimal (signed) or hexadecimal.
std::int64_t ReplyNumber(std::string_view reply, bool hex);
// Hexadecimal digits (optionally after "0x") up to the first other character; 0 for none.
std::uint32_t ParseHexText(std::string_view text);
// count bytes from 2 * count hex digits; false (and nothing written past the good part) when
// the text is too short or holds a non-hex character.
bool HexPairsToBytes(std::string_view text, std::uint8_t* out, std::size_t count);

}  // namespace kavro
