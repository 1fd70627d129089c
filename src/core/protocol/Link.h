#pragma once
// The link to the logger: the one serial port, the session's receive buffer, the flags
// PortOpen / fastMode / CommandTimedOut, and the lock that keeps exchanges of different
// threads from interleaving on the line. Lives in AppContext; tests build their own.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/SerialPort.h"

namespace kavro {

// Statuses are reported as string ids through a callback the caller provides; it may be
// called on whatever thread runs the operation.
using StatusReport = std::function<void(int textId)>;

// Pace and limits of the exchanges. The defaults are the logger's real pace; a test about a
// bound may shorten them. Everything waited on the logger is bounded by one of these.
struct ExchangeTiming {
  using ms = std::chrono::milliseconds;
  ms poll{38};               // sleep before each read of a reply
  int identPolls = 60;       // IdentExchange: about 2.3 s
  int pmtkPolls = 10;        // PmtkExchange
  int erasePolls = 1000;     // PmtkExchange type 6: about 38 s
  int quickReads = 10;       // QuickPmtkExchange reads after its one sleep
  int resends = 50;          // PmtkRequest resends before CommandTimedOut
  int erasePasses = 3;       // PmtkRequest type 6: whole erase waits before giving up
  ms fastPiecePause{100};    // between 16-byte pieces in fastMode
  ms retryPause{100};        // between write-position queries
  ms namePause{500};         // after writing or reading the user name
  ms disconnectPause{1000};  // after the keep-alive is switched off at disconnect
  ms keepAlivePeriod{1000};
  // Bounds of the waits the logger could otherwise hold open forever.
  int freeMemoryAttempts = 30;     // connect: write-position query for the free records
  int userNameAttempts = 80;       // connect: one round of user-name reads
  int memoryProbeAttempts = 5;     // connect: the wrap probe
  int basisWriteAttempts = 10;     // Apply: the recording basis write
  int clearPositionAttempts = 30;  // Clear: the write-position query after the erase
};

// What one try of a request leaves to the next try of the same request: a reply that comes
// late, or in pieces, is still taken then.
struct ExchangeCarry {
  std::string input;       // read from the port, not yet used
  std::string unanswered;  // the sentence of the last try that got no reply
  void Clear() {
    input.clear();
    unanswered.clear();
  }
};

class Link {
 public:
  explicit Link(ExchangeTiming timing = {});
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  SerialPort& Port() { return port_; }
  const ExchangeTiming& Timing() const { return timing_; }
  // Change only while no exchange runs.
  void SetTiming(const ExchangeTiming& timing) { timing_ = timing; }

  // Takes the chosen port and baud, opens the port unless it is already open, and stores the
  // result in PortOpen. Returns PortOpen.
  bool OpenSelected(const std::string& portPath, int baudRate);
  // Purges and closes the port under the lock; portOpen goes down with it.
  void ClosePort();

  // The lock of the line. Every exchange takes it; code that needs several reads and writes
  // of its own (the download) may hold it across them and still call exchanges (recursive).
  std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock<std::recursive_mutex>(mutex_); }
  // The lock if the line is free right now (owns_lock() tells).
  std::unique_lock<std::recursive_mutex> TryLock() {
    return std::unique_lock<std::recursive_mutex>(mutex_, std::try_to_lock);
  }

  // Carried between tries of one request. Use it under Lock().
  ExchangeCarry& Carry() { return carry_; }

  // The session: from Connect to Disconnect (the keep-alive sends only then).
  void BeginSession();
  void EndSession();
  bool SessionActive() const { return sessionActive_.load(); }

  // True when the port was open and the far end went away (read or write failed with EIO
  // or the like). Exchanges then answer "Not Connected"; a new open clears it.
  bool LinkLost() const { return linkLost_.load(); }
  void MarkLost();

  void SetPortSelection(const PortSelection& selection);
  PortSelection GetPortSelection() const;

  std::atomic<bool> portOpen{false};         // PortOpen: the last open attempt succeeded
  std::atomic<bool> fastMode{false};         // the port runs at 921600: commands go in 16-byte pieces
  std::atomic<bool> commandTimedOut{false};  // CommandTimedOut: a request ran out of resends

 private:
  SerialPort port_;
  ExchangeTiming timing_;
  std::recursive_mutex mutex_;
  ExchangeCarry carry_;
  std::atomic<bool> sessionActive_{false};
  std::atomic<bool> linkLost_{false};
  mutable std::mutex selectionMutex_;
  PortSelection selection_;
};

}  // namespace kavro
