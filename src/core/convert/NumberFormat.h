#pragma once
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string_view>

namespace kavro {

// Formatting of the writers' numbers into a caller's buffer, exactly as printf would print them
// ("%.Nf" of a float widened to double, "%d"), but without printf's cost on the common values.
// Each returns the end of what it wrote; the buffer needs 64 bytes for a finite value below 1e9
// and 330 bytes for any other (printf's full expansion of a huge float).

inline constexpr int kFormatBufferSize = 400;

// printf("%.<decimals>f", double(value)) for decimals 0-9: round half to even on the exact value,
// "-" kept for negative values that round to zero, "nan"/"inf" as printf writes them.
char* FormatFixed(char* out, float value, int decimals);
// printf("%d").
char* FormatInt(char* out, std::int64_t value);
// printf("%02d") of 0-99 (larger values fall back to all digits).
char* FormatInt2(char* out, int value);

// "YYYY-MM-DDThh:mm:ssZ" of a UTC time (years 0-9999), as GPX writes its times.
char* FormatUtcTime(char* out, const std::tm& utc);

// Copies the text and returns the end.
inline char* PutText(char* out, std::string_view text) {
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace kavro
