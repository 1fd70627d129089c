#pragma once
// Mounts of this test process's own: small tmpfs file systems for the failure tests (disk full,
// read-only), invisible to the rest of the machine. As root directly, otherwise through a user
// namespace. Call before any thread starts (or in a child of its own: InPrivateChild).

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace kavro::test {

inline bool WriteProcFile(const char* path, const std::string& text) {
  const int fd = ::open(path, O_WRONLY);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

inline bool PrivateMounts() {
  if (::unshare(CLONE_NEWNS) != 0) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    WriteProcFile("/proc/self/setgroups", "deny");
    if (!WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n")) return false;
    if (!WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n")) return false;
  }
  return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// The exit status of a child that found no private mounts (or no tmpfs) allowed here.
inline constexpr int kNoPrivateMounts = 77;

// Runs body in a child with private mounts; the child sends back what body returns. *skipped
// tells that such mounts are not allowed here (body may _exit(kNoPrivateMounts) too).
inline std::string InPrivateChild(const std::function<std::string()>& body, bool* skipped) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return "pipe failed";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    if (!PrivateMounts()) ::_exit(kNoPrivateMounts);
    const std::string out = body();
    if (::write(pipeFds[1], out.data(), out.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string out;
  char buf[512];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  *skipped = WIFEXITED(status) && WEXITSTATUS(status) == kNoPrivateMounts;
  if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && !*skipped)) out += "child failed";
  return out;
}

}  // namespace kavro::test
