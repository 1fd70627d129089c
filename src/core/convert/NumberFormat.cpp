#include "convert/NumberFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kavro {

namespace {

constexpr std::uint64_t kPow10[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull,
                                    100000000000000000ull,
                                    1000000000000000000ull,
                                    10000000000000000000ull};

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of v (none for 0).
[[gnu::always_inline]] inline int DigitCount(std::uint64_t v) {
  const int bits = 64 - __builtin_clzll(v | 1);
  const int t = (bits * 1233) >> 12;  // 1233 / 4096 is just above log10(2)
  return t + (v >= kPow10[t] ? 1 : 0);
}

// Writes the last `count` digits of v so that they end at `end`; returns where they start.
template <typename U>
[[gnu::always_inline]] inline char* PutLastDigits(char* end, U v, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (count == 1) *--end = static_cast<char>('0' + v % 10);
  return end;
}

// The same for a count known when compiling: the loop unrolled.
template <int N>
[[gnu::always_inline]] inline char* PutLastDigitsN(char* end, std::uint32_t v) {
  if constexpr (N >= 2) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (v % 100), 2);
    return PutLastDigitsN<N - 2>(end, v / 100);
  } else if constexpr (N == 1) {
    *--end = static_cast<char>('0' + v % 10);
    return end;
  } else {
    return end;
  }
}

// q in units of the last decimal, written with D decimals. Split once by a constant power of
// ten, the fraction then fits 32 bits; digits go backwards, two at a time, straight into place.
template <int D>
[[gnu::always_inline]] inline char* PutFixed(char* out, std::uint64_t q, bool negative) {
  const std::uint64_t whole = q / kPow10[D];
  const auto fraction = static_cast<std::uint32_t>(q % kPow10[D]);
  const int wholeDigits = whole < 10 ? 1 : DigitCount(whole);
  if (negative) *out++ = '-';
  char* const end = out + wholeDigits + (D > 0 ? D + 1 : 0);
  if constexpr (D > 0) {
    PutLastDigitsN<D>(end, fraction);
    out[wholeDigits] = '.';
  }
  if (whole < (std::uint64_t{1} << 32)) PutLastDigits(out + wholeDigits, static_cast<std::uint32_t>(whole), wholeDigits);
  else PutLastDigits(out + wholeDigits, whole, wholeDigits);
  return end;
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
  switch (decimals) {
    case 0: return PutFixed<0>(out, q, bits >> 31);
    case 1: return PutFixed<1>(out, q, bits >> 31);
    case 2: return PutFixed<2>(out, q, bits >> 31);
    case 3: return PutFixed<3>(out, q, bits >> 31);
    case 4: return PutFixed<4>(out, q, bits >> 31);
    case 5: return PutFixed<5>(out, q, bits >> 31);
    case 6: return PutFixed<6>(out, q, bits >> 31);
    case 7: return PutFixed<7>(out, q, bits >> 31);
    case 8: return PutFixed<8>(out, q, bits >> 31);
    default: return PutFixed<9>(out, q, bits >> 31);
  }
}

char* FormatInt(char* out, std::int64_t value) {
  const bool negative = value < 0;
  const std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  if (negative) *out++ = '-';
  const int digits = u < 10 ? 1 : DigitCount(u);
  PutLastDigits(out + digits, u, digits);
  return out + digits;
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
