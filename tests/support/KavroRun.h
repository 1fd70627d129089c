#pragma once
// Runs the built kavro program with arguments and collects its exit status and both outputs.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kavro::test {

// Whether kavro's output holds `part` somewhere.
inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// The kept copies of the log memory that kavro writes go to a cache folder of this test
// process, never the user's; removed when the process ends.
inline const std::string& PrivateCacheHome() {
  struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kavro-test-cache-" + std::to_string(::getpid()));
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  };
  static const Folder folder;
  static const std::string text = folder.path.string();
  return text;
}

// env: assignments put before the program, e.g. "KAVRO_TRACE=1". XDG_CACHE_HOME is the test's
// own unless env sets it.
inline CliRun Kavro(const std::string& args, const std::string& givenEnv = {}) {
  namespace fs = std::filesystem;
  const std::string env = "XDG_CACHE_HOME=" + PrivateCacheHome() + " " + givenEnv;
  const fs::path errFile = fs::temp_directory_path() / ("kavro-cli-err-" + std::to_string(::getpid()));
  // No terminal on stdin, even when the tests are run from one: nothing can be asked.
  const std::string command = env + " " + std::string(KAVRO_CLI) + " " + args + " 2>" + errFile.string() + " </dev/null";
  CliRun run;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return run;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  const int status = ::pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream e(errFile);
  std::stringstream ss;
  ss << e.rdbuf();
  run.err = ss.str();
  fs::remove(errFile);
  return run;
}

}  // namespace kavro::test
