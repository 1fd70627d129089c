#pragma once
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kavro {

// Where the writers put their text: a plain file, a UTF-16LE text file, or memory in tests.
class OutputSink {
 public:
  virtual ~OutputSink() = default;
  // False once anything failed; writers may go on and check at the end.
  virtual bool Write(std::string_view text) = 0;
};

// A plain binary file with a large buffer; bytes go out exactly as given (CR LF stays CR LF).
class FileSink : public OutputSink {
 public:
  FileSink() = default;
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates or truncates the file. False with the system's reason when it cannot.
  bool Open(const std::filesystem::path& path, std::string* error = nullptr);
  bool Write(std::string_view text) override;
  // Flushes and closes; false when any write, the flush or the close failed.
  bool Close(std::string* error = nullptr);
  bool IsOpen() const { return fd_ >= 0; }
  // The system's reason for the first failed write; empty while nothing failed.
  std::string ErrorText() const;

 private:
  friend class ReplacingFileSink;
  bool Attach(int fd);
  bool Flush();
  bool WriteAll(const char* data, std::size_t size);

  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  int errno_ = 0;
};

// A file that appears whole or not at all: the text goes to a temporary file in the target's
// folder, which Commit() renames over the target once everything was written. Dropped without
// Commit(), the temporary file is removed and the target stays as it was.
class ReplacingFileSink : public OutputSink {
 public:
  ReplacingFileSink() = default;
  ~ReplacingFileSink() override;
  ReplacingFileSink(const ReplacingFileSink&) = delete;
  ReplacingFileSink& operator=(const ReplacingFileSink&) = delete;

  // False with the system's reason when the temporary file cannot be created there.
  bool Open(const std::filesystem::path& target, std::string* error = nullptr);
  bool Write(std::string_view text) override { return file_.Write(text); }
  // Closes and renames into place; false with the reason when anything failed (nothing replaced).
  bool Commit(std::string* error = nullptr);
  // Removes the temporary file.
  void Discard();
  bool IsOpen() const { return file_.IsOpen(); }
  std::string ErrorText() const { return file_.ErrorText(); }

 private:
  FileSink file_;
  std::filesystem::path target_;
  std::filesystem::path temp_;
};

// Collects everything in memory (tests, small documents).
class StringSink : public OutputSink {
 public:
  bool Write(std::string_view text) override {
    data.append(text);
    return true;
  }
  std::string data;
};

}  // namespace kavro
