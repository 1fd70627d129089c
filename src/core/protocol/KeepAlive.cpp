#include "protocol/KeepAlive.h"

#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"

namespace kavro {

KeepAlive::KeepAlive(Link& link) : link_(link) {}

KeepAlive::~KeepAlive() { SetEnabled(false); }

void KeepAlive::SetLostHandler(std::function<void()> handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  lostHandler_ = std::move(handler);
}

void KeepAlive::SetEnabled(bool on) {
  std::unique_lock<std::mutex> lock(mutex_);
  const bool self = thread_.joinable() && thread_.get_id() == std::this_thread::get_id();
  if (on) {
    if (enabled_) return;
    if (thread_.joinable()) {
      // A sender that switched itself off has ended or is ending.
      lock.unlock();
      thread_.join();
      lock.lock();
    }
    enabled_ = true;
    thread_ = std::thread(&KeepAlive::Run, this);
    return;
  }
  enabled_ = false;
  wake_.notify_all();
  if (self || !thread_.joinable()) return;
  lock.unlock();
  thread_.join();
}

void KeepAlive::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (enabled_) {
    wake_.wait_for(lock, link_.Timing().keepAlivePeriod, [this] { return !enabled_.load(); });
    if (!enabled_) break;
    lock.unlock();
    bool lost = false;
    // While another exchange holds the line the logger is being talked to anyway; waiting
    // for the line here could also hold up whoever is switching the keep-alive off.
    if (auto line = link_.TryLock(); line.owns_lock() && link_.SessionActive()) {
      const ExchangeResult r = IdentExchange(link_, ident::kKeepAlive);
      ++sent_;
      lost = r.IsNotConnected() && link_.LinkLost();
    }
    lock.lock();
    if (lost) {
      // Tell the owner once and stop: there is nobody left to keep alive.
      enabled_ = false;
      auto handler = lostHandler_;
      lock.unlock();
      if (handler) handler();
      return;
    }
  }
}

}  // namespace kavro
