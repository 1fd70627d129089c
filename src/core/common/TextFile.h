#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/OutputSink.h"

namespace kavro {

// A line-oriented text file that can write UTF-16LE with a byte-order mark and recognises one
// when reading. Our narrow text is UTF-8; a file code page other than UTF-8 gets "#" for every
// character it cannot hold. Errors are sticky: Close() reports whether everything was written.
// Opened with ModeReplace, a written file appears whole at Close() or not at all (through
// ReplacingFileSink): dropped unclosed, or after a failed write, the old file stays.
class TextFile : public OutputSink {
 public:
  static constexpr unsigned ModeRead = 0x0000;
  static constexpr unsigned ModeWrite = 0x0001;
  static constexpr unsigned ModeCreate = 0x1000;
  static constexpr unsigned TypeText = 0x4000;
  static constexpr unsigned TypeBinary = 0x8000;
  static constexpr unsigned ModeWriteUnicode = 0x20000;
  static constexpr unsigned ModeReplace = 0x40000;

  static constexpr int CodePageSystem = -1;  // UTF-8 here
  static constexpr int CodePageUtf8 = 65001;
  static constexpr int CodePageLatin1 = 28591;
  static constexpr int CodePageAscii = 20127;

  TextFile() = default;
  ~TextFile() override;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Opens for reading (no ModeWrite) or writing (ModeWrite, with ModeCreate truncating).
  // On failure returns false and, when given, sets error to the system's reason.
  bool Open(const std::filesystem::path& path, unsigned flags, std::string* error = nullptr);
  bool IsOpen() const { return file_ != nullptr || replacing_.IsOpen(); }

  void SetFileCodePage(int codePage) { fileCodePage_ = codePage; }
  bool UnicodeText() const { return unicodeText_; }
  unsigned OpenFlags() const { return openFlags_; }

  // Writes the text as it stands (a CR LF in it stays CR LF, in UTF-16 0D 00 0A 00).
  bool WriteString(std::string_view utf8);
  bool Write(std::string_view utf8) override { return WriteString(utf8); }
  // Reads one line without its CR LF (or lone CR or LF), converted to UTF-8.
  bool ReadString(std::string& line);

  // Flushes and closes (with ModeReplace: puts the file in place); false when any write failed
  // or the flush did, with the system's reason in error when given.
  bool Close(std::string* error = nullptr);
  // With ModeReplace: drops what was written, the old file stays. Otherwise as Close().
  void Discard();
  bool Failed() const { return failed_; }

 private:
  bool WriteBytes(const void* data, std::size_t size);

  std::FILE* file_ = nullptr;
  ReplacingFileSink replacing_;
  unsigned openFlags_ = 0;
  int fileCodePage_ = CodePageSystem;
  bool unicodeText_ = false;
  bool failed_ = false;
  bool bomWritten_ = false;
  std::vector<char> wide_;  // the UTF-16 of the last write
};

// UTF-8 to UTF-16LE bytes (invalid sequences become U+FFFD).
std::string Utf8ToUtf16Le(std::string_view utf8);
// The same into a caller's buffer of at least MaxUtf16LeSize(utf8.size()) bytes; returns the end.
char* WidenUtf8(std::string_view utf8, char* out);
// Every UTF-8 byte gives at most two UTF-16LE bytes (a four-byte sequence gives four).
constexpr std::size_t MaxUtf16LeSize(std::size_t utf8Size) { return 2 * utf8Size; }
// UTF-8 to a narrow code page; characters the page cannot hold become '#'.
std::string Utf8ToCodePage(std::string_view utf8, int codePage);

}  // namespace kavro
