#pragma once
// Runs the built kavro program on a real pseudo-terminal, as a person at a terminal would: its
// standard input, output and error are the terminal, which is its controlling terminal too.
// Typed answers are sent once the program has written the given prompt text.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace kavro::test {

struct TerminalRun {
  int status = -1;     // exit status, -1 when it did not end by itself within the bound
  std::string screen;  // everything it wrote, as the terminal got it (line ends as CR LF)
};

// args: the words after the program name. When `prompt` appears on the screen, `answer` is typed.
inline TerminalRun RunOnTerminal(const std::vector<std::string>& args, const std::string& prompt = {},
                                 const std::string& answer = {}, int seconds = 120) {
  TerminalRun run;
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return run;
  const std::string slave = ::ptsname(master);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setsid();
    const int fd = ::open(slave.c_str(), O_RDWR);  // becomes the controlling terminal
    for (int target : {0, 1, 2}) ::dup2(fd, target);
    if (fd > 2) ::close(fd);
    ::close(master);
    std::vector<char*> argv{const_cast<char*>(KAVRO_CLI)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::setenv("LANG", "C.UTF-8", 1);
    ::execv(KAVRO_CLI, argv.data());
    ::_exit(127);
  }
  bool answered = prompt.empty() && answer.empty();
  if (prompt.empty() && !answer.empty()) {
    (void)!::write(master, answer.data(), answer.size());
    answered = true;
  }
  const auto due = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, 100) > 0) {
      char buf[4096];
      const ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;  // the program is gone: its side of the terminal closed
      run.screen.append(buf, static_cast<std::size_t>(n));
      if (!answered && run.screen.find(prompt) != std::string::npos) {
        (void)!::write(master, answer.data(), answer.size());
        answered = true;
      }
    }
    if (std::chrono::steady_clock::now() > due) {
      ::kill(pid, SIGKILL);
      break;
    }
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(master);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

}  // namespace kavro::test
