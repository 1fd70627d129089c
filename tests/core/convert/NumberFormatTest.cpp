#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "convert/NumberFormat.h"

namespace kavro {
namespace {

std::string Ours(float v, int decimals) {
  char buf[kFormatBufferSize];
  return std::string(buf, FormatFixed(buf, v, decimals));
}

std::string Printf(float v, int decimals) {
  char buf[kFormatBufferSize];
  const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v));
  return std::string(buf, static_cast<std::size_t>(n));
}

TEST(NumberFormat, FixedMatchesPrintfOnRandomAndEdgeValues) {
  std::mt19937 random(4242);
  std::uniform_int_distribution<std::uint32_t> anyBits;
  std::uniform_real_distribution<float> coordinate(-200.0f, 200.0f);
  std::uniform_real_distribution<float> small(-0.001f, 0.001f);
  int checked = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::uint32_t bits = anyBits(random);
    float raw;
    std::memcpy(&raw, &bits, sizeof raw);
    for (float v : {raw, coordinate(random), small(random)}) {
      for (int d : {0, 2, 6, 7, 9}) {
        ASSERT_EQ(Ours(v, d), Printf(v, d)) << "value bits " << std::hexfloat << v << " decimals " << d;
        ++checked;
      }
    }
  }
  // Ties round to even on the exact value; signs of values that round to zero stay.
  for (float v : {0.5f, 1.5f, 2.5f, 0.00390625f, 0.125f, -0.125f, 0.375f, -0.0f, 0.0f, -1e-9f, 1e-9f,
                  std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::max(),
                  std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                  std::numeric_limits<float>::quiet_NaN(), 8589934592.0f, 8589934591.0f, 121.5654297f, 25.0330009f})
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(Ours(v, d), Printf(v, d)) << v << " " << d;
  EXPECT_EQ(Ours(0.125f, 2), "0.12");
  EXPECT_EQ(Ours(0.375f, 2), "0.38");
  EXPECT_EQ(Ours(-1e-9f, 2), "-0.00");
  EXPECT_GT(checked, 4000000);
}

TEST(NumberFormat, Integers) {
  char buf[32];
  EXPECT_EQ(std::string(buf, FormatInt(buf, 0)), "0");
  EXPECT_EQ(std::string(buf, FormatInt(buf, -130047)), "-130047");
  EXPECT_EQ(std::string(buf, FormatInt(buf, std::numeric_limits<std::int64_t>::min())), "-9223372036854775808");
  EXPECT_EQ(std::string(buf, FormatInt2(buf, 7)), "07");
  EXPECT_EQ(std::string(buf, FormatInt2(buf, 123)), "123");
  // Each side of every power of ten, where the digit count changes.
  EXPECT_EQ(std::string(buf, FormatInt(buf, std::numeric_limits<std::int64_t>::max())), "9223372036854775807");
  for (std::int64_t p = 1; p <= 1000000000000000000; p *= 10) {
    for (const std::int64_t v : {p - 1, p, p + 1, -(p - 1), -p}) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "%lld", static_cast<long long>(v));
      EXPECT_EQ(std::string(buf, FormatInt(buf, v)), expected);
    }
  }
}

}  // namespace
}  // namespace kavro
