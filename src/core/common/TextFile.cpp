#include "common/TextFile.h"

#include <cerrno>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kavro {
namespace {

// Decodes one UTF-8 code point; advances i. Invalid input yields U+FFFD and skips one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) -> int {
    if (i + k >= s.size()) return -1;
    const auto b = static_cast<unsigned char>(s[i + k]);
    return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
  };
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) len = 2, cp = b0 & 0x1F;
  else if ((b0 & 0xF0) == 0xE0) len = 3, cp = b0 & 0x0F;
  else if ((b0 & 0xF8) == 0xF0) len = 4, cp = b0 & 0x07;
  else {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const int c = cont(static_cast<std::size_t>(k));
    if (c < 0) {
      ++i;
      return 0xFFFD;
    }
    cp = cp << 6 | static_cast<char32_t>(c);
  }
  i += static_cast<std::size_t>(len);
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsUtf8Page(int codePage) { return codePage == TextFile::CodePageSystem || codePage == TextFile::CodePageUtf8; }

// Narrow bytes of a code page to UTF-8.
std::string CodePageToUtf8(std::string_view bytes, int codePage) {
  if (IsUtf8Page(codePage)) return std::string(bytes);
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (codePage == TextFile::CodePageAscii && b >= 0x80) out += '#';
    else AppendUtf8(out, b);
  }
  return out;
}

char* PutUtf16Le(char* out, char32_t u) {
  *out++ = static_cast<char>(u & 0xFF);
  *out++ = static_cast<char>((u >> 8) & 0xFF);
  return out;
}

// Widens the leading whole blocks of sixteen ASCII bytes; returns how many bytes it took.
std::size_t WidenAsciiBlocks(const unsigned char* in, std::size_t size, char* out) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; size - i >= kBlock; i += kBlock) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(v) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + kBlock), _mm_unpackhi_epi8(v, zero));
  }
#else
  for (; size - i >= kBlock; i += kBlock) {
    unsigned char any = 0;
    for (std::size_t k = 0; k < kBlock; ++k) any |= in[i + k];
    if (any >= 0x80) break;
    for (std::size_t k = 0; k < kBlock; ++k) {
      out[2 * (i + k)] = static_cast<char>(in[i + k]);
      out[2 * (i + k) + 1] = 0;
    }
  }
#endif
  return i;
}

}  // namespace

char* WidenUtf8(std::string_view utf8, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Our documents are nearly all ASCII: sixteen characters at a time while it lasts.
    const std::size_t ascii = WidenAsciiBlocks(in + i, utf8.size() - i, out);
    i += ascii;
    out += 2 * ascii;
    if (i >= utf8.size()) break;
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out = PutUtf16Le(out, 0xD800 + (v >> 10));
      out = PutUtf16Le(out, 0xDC00 + (v & 0x3FF));
    } else {
      out = PutUtf16Le(out, cp);
    }
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out(MaxUtf16LeSize(utf8.size()), '\0');
  out.resize(static_cast<std::size_t>(WidenUtf8(utf8, out.data()) - out.data()));
  return out;
}

std::string Utf8ToCodePage(std::string_view utf8, int codePage) {
  if (IsUtf8Page(codePage)) return std::string(utf8);
  const char32_t limit = codePage == TextFile::CodePageAscii ? 0x80 : 0x100;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    out += cp < limit ? static_cast<char>(cp) : '#';
  }
  return out;
}

TextFile::~TextFile() { Discard(); }

bool TextFile::Open(const std::filesystem::path& path, unsigned flags, std::string* error) {
  Discard();
  failed_ = false;
  bomWritten_ = false;
  unicodeText_ = false;
  const bool writing = (flags & ModeWrite) != 0;
  if (!writing) {
    // A UTF-16LE byte-order mark makes the file be read as Unicode text.
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
      unsigned char bom[2] = {0, 0};
      if (std::fread(bom, 1, 2, probe) == 2 && bom[0] == 0xFF && bom[1] == 0xFE) {
        unicodeText_ = true;
        if (flags & TypeText) flags = (flags & ~TypeText) | TypeBinary;
      }
      std::fclose(probe);
    }
  }
  openFlags_ = flags;
  if (writing && (flags & ModeReplace)) return replacing_.Open(path, error);
  const char* mode = writing ? ((flags & ModeCreate) ? "wb" : "r+b") : "rb";
  file_ = std::fopen(path.c_str(), mode);
  if (file_ == nullptr) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  if (unicodeText_) std::fseek(file_, 2, SEEK_SET);
  return true;
}

bool TextFile::WriteBytes(const void* data, std::size_t size) {
  if (replacing_.IsOpen()) {
    if (!failed_ && !replacing_.Write(std::string_view(static_cast<const char*>(data), size))) failed_ = true;
    return !failed_;
  }
  if (file_ == nullptr) {
    failed_ = true;
    return false;
  }
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool TextFile::WriteString(std::string_view utf8) {
  if (openFlags_ & ModeWriteUnicode) {
    if (!bomWritten_ && (file_ == nullptr || std::ftell(file_) == 0)) {
      static const unsigned char bom[2] = {0xFF, 0xFE};
      if (!WriteBytes(bom, 2)) return false;
    }
    bomWritten_ = true;
    // One buffer for the file's life: a writer's many small writes allocate nothing.
    if (wide_.size() < MaxUtf16LeSize(utf8.size())) wide_.resize(MaxUtf16LeSize(utf8.size()));
    const char* end = WidenUtf8(utf8, wide_.data());
    return WriteBytes(wide_.data(), static_cast<std::size_t>(end - wide_.data()));
  }
  if (!IsUtf8Page(fileCodePage_)) {
    const std::string narrow = Utf8ToCodePage(utf8, fileCodePage_);
    return WriteBytes(narrow.data(), narrow.size());
  }
  return WriteBytes(utf8.data(), utf8.size());
}

bool TextFile::ReadString(std::string& line) {
  line.clear();
  if (file_ == nullptr) return false;
  if (unicodeText_) {
    std::string out;
    bool any = false;
    for (std::size_t n = 0; n < 4095; ++n) {
      const int lo = std::fgetc(file_);
      if (lo == EOF) break;
      const int hi = std::fgetc(file_);
      if (hi == EOF) break;
      any = true;
      char32_t u = static_cast<char32_t>(lo | hi << 8);
      if (u >= 0xD800 && u < 0xDC00) {
        const int lo2 = std::fgetc(file_);
        const int hi2 = lo2 == EOF ? EOF : std::fgetc(file_);
        if (hi2 == EOF) {
          AppendUtf8(out, 0xFFFD);
          break;
        }
        const char32_t low = static_cast<char32_t>(lo2 | hi2 << 8);
        u = (low >= 0xDC00 && low < 0xE000) ? 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00) : 0xFFFD;
      }
      AppendUtf8(out, u);
      if (u == '\n') break;
    }
    if (!any) return false;
    line = IsUtf8Page(fileCodePage_) ? out : CodePageToUtf8(Utf8ToCodePage(out, fileCodePage_), fileCodePage_);
  } else {
    std::string raw;
    int c;
    bool any = false;
    while ((c = std::fgetc(file_)) != EOF) {
      any = true;
      raw += static_cast<char>(c);
      if (c == '\n') break;
    }
    if (!any) return false;
    line = CodePageToUtf8(raw, fileCodePage_);
  }
  if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') line.resize(line.size() - 2);
  else if (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return true;
}

bool TextFile::Close(std::string* error) {
  if (replacing_.IsOpen()) {
    const std::string reason = replacing_.ErrorText();
    if (failed_) {
      replacing_.Discard();
      if (error) *error = reason.empty() ? std::strerror(EIO) : reason;
      return false;
    }
    if (!replacing_.Commit(error)) failed_ = true;
    return !failed_;
  }
  if (file_ == nullptr) return !failed_;
  int reason = 0;
  if (std::fflush(file_) != 0) reason = errno;
  if (std::fclose(file_) != 0 && reason == 0) reason = errno;
  file_ = nullptr;
  if (reason != 0) failed_ = true;
  if (failed_ && error) *error = std::strerror(reason != 0 ? reason : EIO);
  return !failed_;
}

void TextFile::Discard() {
  if (replacing_.IsOpen()) replacing_.Discard();
  else Close();
}

}  // namespace kavro
