#include "convert/NumberFormat.h"

#include <cstdio>

namespace kavro {

char* FormatFixed(char* out, float value, int decimals) {
  const int n = std::snprintf(out, kFormatBufferSize, "%.*f", decimals, static_cast<double>(value));
  return out + (n > 0 ? n : 0);
}

char* FormatInt(char* out, std::int64_t value) {
  char tmp[24];
  int len = 0;
  const bool negative = value < 0;
  std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    tmp[len++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (negative) *out++ = '-';
  while (len > 0) *out++ = tmp[--len];
  return out;
}

char* FormatInt2(char* out, int value) {
  if (value >= 0 && value < 100) {
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
  }
  return FormatInt(out, value);
}

}  // namespace kavro
