#include "convert/NumberFormat.h"

#include <cstdio>
#include <cstring>

namespace kavro {

namespace {

constexpr std::uint64_t kPow10[] = {1,          10,          100,          1000,          10000,
                                    100000,     1000000,     10000000,     100000000,     1000000000};

// The decimal digits of v, at least minDigits of them (leading zeros).
char* PutDigits(char* out, std::uint64_t v, int minDigits) {
  char tmp[24];
  int len = 0;
  while (v != 0 || len < minDigits) {
    tmp[len++] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  while (len > 0) *out++ = tmp[--len];
  return out;
}

}  // namespace

char* FormatFixed(char* out, float value, int decimals) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  std::uint64_t mantissa = bits & 0x7FFFFF;
  int exponent;
  if (biased == 0) {
    exponent = -149;  // subnormal (or zero)
  } else {
    mantissa |= 0x800000;
    exponent = biased - 150;
  }
  // The exact value is mantissa * 2^exponent. Beyond 2^33, and for nan and inf, printf does it.
  if (biased == 0xFF || exponent > 9 || decimals < 0 || decimals > 9) {
    const int n = std::snprintf(out, kFormatBufferSize, "%.*f", decimals, static_cast<double>(value));
    return out + (n > 0 ? n : 0);
  }
  const std::uint64_t scaled = mantissa * kPow10[decimals];  // below 2^54
  std::uint64_t q;
  if (exponent >= 0) {
    q = scaled << exponent;
  } else if (-exponent > 56) {
    q = 0;  // below one half of the last digit
  } else {
    const int shift = -exponent;
    q = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;  // to nearest, ties to even
  }
  if (bits >> 31) *out++ = '-';
  out = PutDigits(out, q / kPow10[decimals], 1);
  if (decimals > 0) {
    *out++ = '.';
    out = PutDigits(out, q % kPow10[decimals], decimals);
  }
  return out;
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

char* FormatUtcTime(char* out, const std::tm& utc) {
  const int year = utc.tm_year + 1900;
  char* p = out;
  *p++ = static_cast<char>('0' + year / 1000 % 10);
  *p++ = static_cast<char>('0' + year / 100 % 10);
  *p++ = static_cast<char>('0' + year / 10 % 10);
  *p++ = static_cast<char>('0' + year % 10);
  *p++ = '-';
  p = FormatInt2(p, utc.tm_mon + 1);
  *p++ = '-';
  p = FormatInt2(p, utc.tm_mday);
  *p++ = 'T';
  p = FormatInt2(p, utc.tm_hour);
  *p++ = ':';
  p = FormatInt2(p, utc.tm_min);
  *p++ = ':';
  p = FormatInt2(p, utc.tm_sec);
  *p++ = 'Z';
  return p;
}

}  // namespace kavro
