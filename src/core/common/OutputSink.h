#pragma once
#include <cstdio>
#include <filesystem>
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
  bool IsOpen() const { return file_ != nullptr; }

 private:
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  bool failed_ = false;
  int errno_ = 0;
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
