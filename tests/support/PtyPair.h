#pragma once
// A bare pseudo-terminal pair for the few tests that must place bytes on the line at an exact
// moment (the simulator answers on its own schedule). The test holds the master side.

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kavro::test {

class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const char* name = ptsname(master_);
    if (name != nullptr) slave_ = name;
    // Keep one slave descriptor open, so the master never sees a hang-up between opens.
    keeper_ = ::open(slave_.c_str(), O_RDWR | O_NOCTTY);
  }
  ~PtyPair() {
    CloseMaster();
    if (keeper_ >= 0) ::close(keeper_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool Ok() const { return master_ >= 0 && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }
  // Puts bytes on the line towards the program.
  void Send(std::string_view bytes) const {
    if (master_ >= 0) (void)!::write(master_, bytes.data(), bytes.size());
  }
  // Closes the master: the program's side then fails as with a pulled cable.
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  int keeper_ = -1;
  std::string slave_;
};

}  // namespace kavro::test
