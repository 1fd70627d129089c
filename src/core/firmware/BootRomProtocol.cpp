#include "firmware/BootRomProtocol.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace kavro::brom {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes the length as uInt: feed large buffers in pieces.
  while (size > 0) {
    const auto piece = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    crc = crc32(crc, data, piece);
    data += piece;
    size -= piece;
  }
  return static_cast<std::uint32_t>(crc);
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::vector<std::uint8_t> Encode(const Frame& frame) {
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderSize + frame.payload.size() + kCrcSize);
  out.push_back(frame.start);
  out.push_back(frame.command);
  PutU16(out, frame.seq);
  PutU16(out, static_cast<std::uint16_t>(frame.payload.size()));
  out.insert(out.end(), frame.payload.begin(), frame.payload.end());
  PutU32(out, Crc32(out.data() + 1, out.size() - 1));
  return out;
}

void FrameReader::Feed(const std::uint8_t* data, std::size_t size) { buffer_.insert(buffer_.end(), data, data + size); }

FrameReader::Result FrameReader::Next(Frame& frame) {
  while (true) {
    const auto it = std::find(buffer_.begin(), buffer_.end(), start_);
    syncBytes_ += static_cast<std::size_t>(std::count(buffer_.begin(), it, kSync));
    buffer_.erase(buffer_.begin(), it);
    if (buffer_.size() < kHeaderSize) return Result::None;
    const std::uint16_t length = GetU16(buffer_.data() + 4);
    if (length > kMaxPayload) {
      // Not a frame: a start byte that happened to be in the noise.
      buffer_.erase(buffer_.begin());
      continue;
    }
    const std::size_t total = kHeaderSize + length + kCrcSize;
    if (buffer_.size() < total) return Result::None;
    const std::uint32_t crc = GetU32(buffer_.data() + kHeaderSize + length);
    frame.start = buffer_[0];
    frame.command = buffer_[1];
    frame.seq = GetU16(buffer_.data() + 2);
    if (Crc32(buffer_.data() + 1, kHeaderSize - 1 + length) != crc) {
      frame.payload.clear();
      buffer_.erase(buffer_.begin());
      return Result::Damaged;
    }
    frame.payload.assign(buffer_.begin() + kHeaderSize, buffer_.begin() + static_cast<std::ptrdiff_t>(kHeaderSize + length));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(total));
    return Result::Frame;
  }
}

std::size_t FrameReader::TakeSyncBytes() {
  // Sync bytes still waiting at the end of the buffer count too: no frame has begun there.
  if (!buffer_.empty() && buffer_.front() != start_) {
    syncBytes_ += static_cast<std::size_t>(std::count(buffer_.begin(), buffer_.end(), kSync));
    buffer_.clear();
  }
  const std::size_t n = syncBytes_;
  syncBytes_ = 0;
  return n;
}

void FrameReader::Resync() {
  if (!buffer_.empty()) buffer_.erase(buffer_.begin());
}

void FrameReader::Clear() {
  buffer_.clear();
  syncBytes_ = 0;
}

std::optional<int> ImageFirmwareVersion(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t at = 0;
  while ((at = text.find(kVersionMark, at)) != std::string_view::npos) {
    const std::size_t digits = at + kVersionMark.size();
    if (digits + 3 <= text.size()) {
      int v = 0;
      bool ok = true;
      for (std::size_t i = 0; i < 3; ++i) {
        const char c = text[digits + i];
        if (c < '0' || c > '9') ok = false;
        v = v * 10 + (c - '0');
      }
      if (ok) return v;
    }
    ++at;
  }
  return std::nullopt;
}

std::optional<AgentHeader> CheckAgent(const std::vector<std::uint8_t>& file) {
  if (file.size() < kAgentHeaderSize || std::memcmp(file.data(), kAgentMagic.data(), kAgentMagic.size()) != 0)
    return std::nullopt;
  AgentHeader h;
  h.loadAddress = GetU32(file.data() + 8);
  h.codeLength = GetU32(file.data() + 12);
  h.codeCrc = GetU32(file.data() + 16);
  if (h.codeLength != file.size() - kAgentHeaderSize) return std::nullopt;
  if (Crc32(file.data() + kAgentHeaderSize, h.codeLength) != h.codeCrc) return std::nullopt;
  return h;
}

}  // namespace kavro::brom
