#include "support/WriterTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kavro {

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t crlf = text.find("\r\n", start);
    const std::size_t end = crlf == std::string::npos ? text.size() : crlf;
    std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in line " << lines.size();
    lines.push_back(std::move(line));
    if (crlf == std::string::npos) {
      ADD_FAILURE() << "last line lacks CR LF";
      break;
    }
    start = crlf + 2;
  }
  return lines;
}

std::filesystem::path TempDir(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("kavro-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteTrl(const std::filesystem::path& path, const std::vector<TrackRecord>& records) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  for (const TrackRecord& r : records)
    f.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
  ASSERT_TRUE(f.good()) << path;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

int RunCommand(const std::string& command, std::string* out) {
  std::FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return -1;
  std::string text;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  const int status = ::pclose(p);
  if (out) *out = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ToolInstalled(const char* name) {
  return RunCommand(std::string("command -v ") + name + " >/dev/null 2>&1") == 0;
}

}  // namespace kavro
