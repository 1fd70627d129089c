#pragma once
// Helpers of the photo tests: small JPEGs built byte by byte, temporary folders, .trl files
// and running the installed third-party readers.

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "track/TrackRecord.h"

namespace kavro::test {

namespace fs = std::filesystem;

inline fs::path MakeTempDir(const std::string& tag) {
  std::string templ = (fs::temp_directory_path() / ("kavro-photo-" + tag + "-XXXXXX")).string();
  char* made = mkdtemp(templ.data());
  return made ? fs::path(made) : fs::path();
}

struct TempDir {
  explicit TempDir(const std::string& tag) : path(MakeTempDir(tag)) {}
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

inline std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command and returns its standard output (empty when it could not run).
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int rc = pclose(p);
  if (status) *status = rc;
  return out;
}

inline bool HaveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string Quote(const fs::path& p) {
  std::string s = "'";
  for (char c : p.string()) {
    if (c == '\'') s += "'\\''";
    else s += c;
  }
  return s + "'";
}

inline void WriteTrl(const fs::path& p, const std::vector<TrackRecord>& records) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  for (const TrackRecord& r : records) out.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
}

// UTC seconds of a calendar time (no time zone involved).
inline std::int32_t Utc(int y, int mo, int d, int h, int mi, int s) {
  std::int64_t yy = y - (mo <= 2);
  const std::int64_t era = (yy >= 0 ? yy : yy - 399) / 400;
  const std::int64_t yoe = yy - era * 400;
  const std::int64_t doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097 + doe - 719468;
  return static_cast<std::int32_t>(days * 86400 + h * 3600 + mi * 60 + s);
}

// A small camera-like JPEG: SOI, optional segments, the EXIF APP1 (IFD0 with Make, optional
// DateTime and the EXIF IFD pointer; the EXIF IFD with optional DateTimeOriginal; optional IFD1
// with a thumbnail), a quantisation table and EOI.
struct TinyJpeg {
  bool bigEndian = false;
  std::string make = "Canon";
  std::optional<std::string> dateTimeOriginal = std::string("2008:02:28 10:00:30");
  std::optional<std::string> dateTime;
  bool exifPointer = true;
  bool withIfd1 = true;
  std::vector<std::vector<std::uint8_t>> before;  // whole segments placed before the EXIF APP1
  std::string model;                              // IFD0 Model when not empty
  // The maker note's bytes, made for the TIFF offset where it will lie (none when empty).
  std::function<std::vector<std::uint8_t>(std::uint32_t at)> makerNote;

  static std::vector<std::uint8_t> Segment(std::uint8_t type, const std::string& payload) {
    const std::size_t len = payload.size() + 2;
    std::vector<std::uint8_t> s = {0xFF, type, static_cast<std::uint8_t>(len >> 8), static_cast<std::uint8_t>(len)};
    s.insert(s.end(), payload.begin(), payload.end());
    return s;
  }
  static std::vector<std::uint8_t> Jfif() { return Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)); }
  static std::vector<std::uint8_t> Xmp() {
    return Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42));
  }
  static std::vector<std::uint8_t> Thumbnail() { return {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x03, 0x01, 0xFF, 0xD9, 0x00}; }

  std::vector<std::uint8_t> Tiff() const {
    std::vector<std::uint8_t> t;
    auto u16 = [&](std::size_t at, std::uint16_t v) {
      if (t.size() < at + 2) t.resize(at + 2);
      t[at] = static_cast<std::uint8_t>(bigEndian ? v >> 8 : v);
      t[at + 1] = static_cast<std::uint8_t>(bigEndian ? v : v >> 8);
    };
    auto u32 = [&](std::size_t at, std::uint32_t v) {
      if (t.size() < at + 4) t.resize(at + 4);
      for (int i = 0; i < 4; ++i) t[at + i] = static_cast<std::uint8_t>(v >> (8 * (bigEndian ? 3 - i : i)));
    };
    auto entry = [&](std::size_t at, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
      u16(at, tag);
      u16(at + 2, type);
      u32(at + 4, count);
      u32(at + 8, value);
    };
    auto text = [&](std::size_t at, const std::string& s, std::size_t size) {
      if (t.size() < at + size) t.resize(at + size);
      for (std::size_t i = 0; i < size; ++i) t[at + i] = i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0;
    };
    t = {static_cast<std::uint8_t>(bigEndian ? 'M' : 'I'), static_cast<std::uint8_t>(bigEndian ? 'M' : 'I')};
    u16(2, 42);
    u32(4, 8);
    const int n0 = 1 + (model.empty() ? 0 : 1) + (dateTime ? 1 : 0) + (exifPointer ? 1 : 0);
    std::size_t at = 10 + 12 * n0 + 4;
    const std::size_t makeAt = at;
    const std::size_t makeSize = make.size() + 1;
    at += makeSize + (makeSize & 1);
    const std::size_t modelAt = at;
    const std::size_t modelSize = model.size() + 1;
    if (!model.empty()) at += modelSize + (modelSize & 1);
    const std::size_t dateAt = at;
    if (dateTime) at += 20;
    const std::size_t exifAt = at;
    const int ne = (dateTimeOriginal ? 1 : 0) + (makerNote ? 1 : 0);
    at = exifAt + 2 + 12 * ne + 4;
    const std::size_t dtoAt = at;
    if (dateTimeOriginal) at += 20;
    const std::size_t noteAt = at;
    const std::vector<std::uint8_t> note = makerNote ? makerNote(static_cast<std::uint32_t>(noteAt)) : std::vector<std::uint8_t>();
    at += note.size() + (note.size() & 1);
    const std::size_t ifd1At = at;
    u16(8, static_cast<std::uint16_t>(n0));
    std::size_t e = 10;
    entry(e, 0x010F, 2, static_cast<std::uint32_t>(makeSize), static_cast<std::uint32_t>(makeAt));
    e += 12;
    if (!model.empty()) {
      entry(e, 0x0110, 2, static_cast<std::uint32_t>(modelSize), static_cast<std::uint32_t>(modelAt));
      e += 12;
      text(modelAt, model, modelSize + (modelSize & 1));
    }
    if (dateTime) {
      entry(e, 0x0132, 2, 20, static_cast<std::uint32_t>(dateAt));
      e += 12;
    }
    if (exifPointer) {
      entry(e, 0x8769, 4, 1, static_cast<std::uint32_t>(exifAt));
      e += 12;
    }
    u32(e, withIfd1 ? static_cast<std::uint32_t>(ifd1At) : 0);
    text(makeAt, make, makeSize + (makeSize & 1));
    if (dateTime) text(dateAt, *dateTime, 20);
    u16(exifAt, static_cast<std::uint16_t>(ne));
    if (dateTimeOriginal) entry(exifAt + 2, 0x9003, 2, 20, static_cast<std::uint32_t>(dtoAt));
    if (makerNote) {
      entry(exifAt + 2 + 12 * (ne - 1), 0x927C, 7, static_cast<std::uint32_t>(note.size()),
            static_cast<std::uint32_t>(noteAt));
    }
    u32(exifAt + 2 + 12 * ne, 0);
    if (dateTimeOriginal) text(dtoAt, *dateTimeOriginal, 20);
    if (makerNote) {
      t.resize(std::max(t.size(), noteAt + note.size() + (note.size() & 1)));
      std::copy(note.begin(), note.end(), t.begin() + static_cast<long>(noteAt));
    }
    if (withIfd1) {
      u16(ifd1At, 2);
      const std::size_t thumbAt = ifd1At + 2 + 24 + 4;
      entry(ifd1At + 2, 0x0201, 4, 1, static_cast<std::uint32_t>(thumbAt));
      entry(ifd1At + 14, 0x0202, 4, 1, static_cast<std::uint32_t>(Thumbnail().size()));
      u32(ifd1At + 26, 0);
      const auto thumb = Thumbnail();
      t.insert(t.end(), thumb.begin(), thumb.end());
    }
    return t;
  }

  std::vector<std::uint8_t> Build() const {
    std::vector<std::uint8_t> j = {0xFF, 0xD8};
    for (const auto& s : before) j.insert(j.end(), s.begin(), s.end());
    const std::vector<std::uint8_t> tiff = Tiff();
    const std::size_t len = tiff.size() + 8;
    const std::uint8_t head[10] = {0xFF, 0xE1, static_cast<std::uint8_t>(len >> 8), static_cast<std::uint8_t>(len),
                                   'E', 'x', 'i', 'f', 0, 0};
    j.insert(j.end(), head, head + 10);
    j.insert(j.end(), tiff.begin(), tiff.end());
    const std::uint8_t rest[] = {0xFF, 0xDB, 0x00, 0x04, 0x00, 0x01, 0xFF, 0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9};
    j.insert(j.end(), rest, rest + sizeof rest);
    return j;
  }
};

}  // namespace kavro::test
