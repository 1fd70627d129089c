#include "download/KeptCopy.h"

#include <zlib.h>

#include <QStandardPaths>
#include <QString>
#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/OutputSink.h"

namespace kavro {
namespace {

constexpr char kMagic[8] = {'K', 'A', 'V', 'R', 'O', 'K', 'C', '1'};
constexpr std::size_t kKeyField = 48;
constexpr std::size_t kCrcOffset = 8 + kKeyField + 12;
constexpr std::size_t kHeaderSize = kCrcOffset + 4 * memory::kSectorCount + 4;

std::uint32_t Crc(const std::uint8_t* data, std::size_t size) {
  return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(size)));
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

std::uint32_t GetU32(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<std::uint8_t>(in[at + i])} << (8 * i);
  return v;
}

// Keys are made of hex digits, letters and '-' only (LoggerIdentity), so they are safe as names.
bool SafeKey(const std::string& key) {
  return !key.empty() && key.size() < kKeyField && std::all_of(key.begin(), key.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
         });
}

}  // namespace

std::string SerializeKeptCopy(const KeptCopy& copy) {
  std::string out(kMagic, sizeof kMagic);
  std::string key = copy.key.substr(0, kKeyField - 1);
  key.resize(kKeyField, '\0');
  out += key;
  PutU32(out, copy.writePosition);
  PutU32(out, static_cast<std::uint32_t>(copy.wrapped));
  PutU32(out, copy.held);
  for (std::uint32_t s = 0; s < memory::kSectorCount; ++s)
    PutU32(out, copy.Has(s) ? Crc(copy.Sector(s), memory::kSectorSize) : 0);
  PutU32(out, Crc(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()));
  out.reserve(out.size() + std::size_t{memory::kSectorSize} * static_cast<std::size_t>(std::popcount(copy.held)));
  for (std::uint32_t s = 0; s < memory::kSectorCount; ++s)
    if (copy.Has(s)) out.append(reinterpret_cast<const char*>(copy.Sector(s)), memory::kSectorSize);
  return out;
}

KeptLoad ParseKeptCopy(const std::string& bytes, const std::string& key, KeptCopy& out) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return KeptLoad::Damaged;
  const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (Crc(raw, kHeaderSize - 4) != GetU32(bytes, kHeaderSize - 4)) return KeptLoad::Damaged;
  const std::string stored(bytes.data() + 8, strnlen(bytes.data() + 8, kKeyField));
  if (stored != key) return KeptLoad::Damaged;
  KeptCopy copy;
  copy.key = stored;
  copy.writePosition = GetU32(bytes, 8 + kKeyField);
  copy.wrapped = static_cast<int>(GetU32(bytes, 8 + kKeyField + 4));
  copy.held = GetU32(bytes, 8 + kKeyField + 8);
  const std::size_t want = kHeaderSize + std::size_t{memory::kSectorSize} * static_cast<std::size_t>(std::popcount(copy.held));
  if (bytes.size() != want || copy.writePosition > memory::kSize) return KeptLoad::Damaged;
  std::size_t at = kHeaderSize;
  for (std::uint32_t s = 0; s < memory::kSectorCount; ++s) {
    if (!copy.Has(s)) continue;
    if (Crc(raw + at, memory::kSectorSize) != GetU32(bytes, kCrcOffset + 4 * s)) return KeptLoad::Damaged;
    std::copy(raw + at, raw + at + memory::kSectorSize, copy.Sector(s));
    at += memory::kSectorSize;
  }
  out = std::move(copy);
  return KeptLoad::Loaded;
}

std::filesystem::path KeptCopyStore::DefaultFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (base.isEmpty()) return {};
  return std::filesystem::path(base.toStdString()) / "Kavro" / "T580";
}

std::filesystem::path KeptCopyStore::PathFor(const std::string& key) const { return folder_ / (key + ".kept"); }

KeptLoad KeptCopyStore::Load(const std::string& key, KeptCopy& out) const {
  if (folder_.empty() || !SafeKey(key)) return KeptLoad::Missing;
  std::ifstream in(PathFor(key), std::ios::binary);
  if (!in) return KeptLoad::Missing;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return KeptLoad::Damaged;
  return ParseKeptCopy(bytes, key, out);
}

bool KeptCopyStore::Save(const KeptCopy& copy, std::string* error) const {
  if (folder_.empty() || !SafeKey(copy.key)) return false;
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  ReplacingFileSink file;
  if (!file.Open(PathFor(copy.key), error)) return false;
  if (!file.Write(SerializeKeptCopy(copy))) {
    if (error) *error = file.ErrorText();
    file.Discard();
    return false;
  }
  return file.Commit(error);
}

void KeptCopyStore::Drop(const std::string& key) const {
  if (folder_.empty() || !SafeKey(key)) return;
  std::error_code ec;
  std::filesystem::remove(PathFor(key), ec);
}

}  // namespace kavro
