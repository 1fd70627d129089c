#include "serial/ByteStream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kavro {

ByteStream::ByteStream() {
  const char* t = std::getenv("KAVRO_TRACE");
  trace_ = t != nullptr && std::strcmp(t, "1") == 0;
}

ByteStream::~ByteStream() = default;

void ByteStream::SetTap(Tap tap) { tap_ = std::move(tap); }

bool ByteStream::Read(void* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  const bool ok = DoRead(buffer, size, got);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (trace_ && (got > 0 || !ok)) Trace(Direction::In, bytes, got, ok);
  if (tap_) tap_(Direction::In, bytes, got, ok);
  return ok;
}

bool ByteStream::Write(const void* data, std::size_t size, std::size_t& written) {
  written = 0;
  const bool ok = DoWrite(data, size, written);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (trace_) Trace(Direction::Out, bytes, written, ok);
  if (tap_) tap_(Direction::Out, bytes, written, ok);
  return ok;
}

void ByteStream::Trace(Direction d, const std::uint8_t* data, std::size_t size, bool ok) const {
  // One line per call: direction, port, count, hex bytes, then the printable text.
  std::string line = d == Direction::In ? "kavro < " : "kavro > ";
  line += TraceName();
  line += " [" + std::to_string(size) + (ok ? "]" : "] failed");
  std::string text;
  char hex[4];
  for (std::size_t i = 0; i < size; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", data[i]);
    line += hex;
    text += data[i] >= 32 && data[i] < 127 ? static_cast<char>(data[i]) : '.';
  }
  if (size > 0) line += "  |" + text + "|";
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace kavro
