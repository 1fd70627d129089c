#pragma once
// The keep-alive sender: while switched on it sends IdentExchange 6 every second, as long as a
// session is active. The window switches it on after Connect and off before Disconnect.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "protocol/Link.h"

namespace kavro {

class KeepAlive {
 public:
  explicit KeepAlive(Link& link);
  ~KeepAlive();
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

  // On: starts the sender thread (if not running). Off: stops it and waits until it has ended,
  // so no keep-alive is on the line once this returns.
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_.load(); }
  // Called on the sender thread when it finds the link gone (the window then disconnects).
  void SetLostHandler(std::function<void()> handler);
  // Keep-alive sentences sent so far.
  int SentCount() const { return sent_.load(); }

 private:
  void Run();
  Link& link_;
  std::atomic<bool> enabled_{false};
  std::atomic<int> sent_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  std::function<void()> lostHandler_;
};

}  // namespace kavro
