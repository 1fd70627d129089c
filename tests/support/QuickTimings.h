#pragma once
// The logger's pace for tests: the same bounds, without the pauses no test needs to sit
// through. Shared by the core, command-line and widget tests.

#include <chrono>

#include "download/LogDownload.h"
#include "firmware/FirmwareUpdate.h"
#include "protocol/Exchange.h"

namespace kavro::test {

// Exchanges: a much shorter poll and pauses, the same limits.
inline ExchangeTiming QuickTiming() {
  ExchangeTiming t;
  t.poll = std::chrono::milliseconds(2);
  t.fastPiecePause = std::chrono::milliseconds(1);
  t.retryPause = std::chrono::milliseconds(1);
  t.namePause = std::chrono::milliseconds(1);
  t.disconnectPause = std::chrono::milliseconds(1);
  return t;
}

inline FirmwareTiming QuickFirmwareTiming() {
  FirmwareTiming t;
  t.beforeDownload = std::chrono::milliseconds(10);
  t.restartWait = std::chrono::milliseconds(10);
  t.finishPause = std::chrono::milliseconds(10);
  t.bt.readPoll = std::chrono::milliseconds(10);
  t.bt.readPolls = 300;
  t.bt.ackPolls = 300;
  t.bt.writeDelay = std::chrono::milliseconds(10);
  t.bt.ackPoll = std::chrono::milliseconds(10);
  t.bt.afterAck = std::chrono::milliseconds(10);
  return t;
}

// A download: short pauses around the speed change, a silence noticed within a second.
inline DownloadTiming QuickDownloadTiming() {
  using std::chrono::milliseconds;
  DownloadTiming t;
  t.piecePause = milliseconds(1);
  t.speedPause = milliseconds(1);
  t.settlePause = milliseconds(1);
  t.keepAlivePause = milliseconds(1);
  t.silenceLimit = milliseconds(700);
  return t;
}

}  // namespace kavro::test
