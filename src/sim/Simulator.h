#pragma once
// The simulated T-580: a logger on a real pseudo-terminal. The program under test opens the
// slave side (SlavePath) like any serial port; the simulator answers on the master side from a
// thread of its own.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/ProtocolNumbers.h"

namespace kavro::sim {

using Slot = std::array<std::uint8_t, memory::kRecordSize>;

// Slot contents the logger writes besides records.
Slot LogStartMarker();  // "KAVRORV318LOGGER"
Slot WaypointMarker();  // "KAVRORV318WAYPNT"
Slot FillSlot();        // bytes 0-6 0xAA, 7-11 0x00, 12-15 0xBB
Slot EmptySlot();       // all 0xFF

// Address of slot number `index` (0 .. memory::kSlotCount-1) in the log memory.
std::uint32_t SlotAddress(std::uint32_t index);

// Device values and log content of one simulated logger.
struct Scenario {
  std::string name;
  std::string description;

  int firmware = 125;               // "$KAVRO001,3,125": version 1.25
  std::string hardware = "120";     // "$KAVRO001,7,120": the first two characters, "12"
  std::string userName = "Logger1";  // at most 16 characters
  int basis = 0;                    // 0 by time, 1 by distance
  std::string timeZone = "+08:00";  // up to 7 characters
  int unit = 0;                     // 0 metres, 1 feet
  int timeInterval = 50;            // tenths of a second
  int distanceInterval = 1000;      // tenths of a metre
  int recordMode = 2;               // 1 overwrite, 2 stop when full
  std::array<std::uint8_t, 6> btAddress{0x00, 0x12, 0xAB, 0x34, 0x56, 0x78};

  // Every slot the logger ever wrote, oldest first. Slot i of this list lands at memory slot
  // i mod memory::kSlotCount: a list longer than memory::kSlotCount has wrapped (overwrite mode), and a sector is
  // erased before it is written again.
  std::vector<Slot> written;

  // A raw memory image (exactly memory::kSize bytes) served as it is instead of `written`, e.g. a
  // dump read from a real logger.
  std::vector<std::uint8_t> image;
};

// Scenario names: "demo" (the default), "other", "empty", "wrapped", "full", "corrupt".
std::vector<std::string> ScenarioNames();
// The named scenario with record times placed relative to `now` (UTC seconds; all within the
// weeks before it, so inside the decoder's year window). Empty for an unknown name.
std::optional<Scenario> ScenarioByName(const std::string& name, std::int64_t now);
std::optional<Scenario> ScenarioByName(const std::string& name);  // relative to the current time

// The demo device values with a memory image of memory::kSize bytes (a dump). Empty with a
// reason in *error when the size is wrong.
std::optional<Scenario> ScenarioFromImage(std::vector<std::uint8_t> image, std::string* error);

// The 2,097,152-byte memory image of a scenario in the logger's layout.
std::vector<std::uint8_t> BuildMemoryImage(const Scenario& scenario);
// The write position the logger reports for a scenario (query 8): the address of the next free
// slot; 0 for a logger that never wrote; memory::kSize when the memory is full. For a raw image:
// the first empty slot after written ones whose sector is empty from there on.
std::uint32_t WritePosition(const Scenario& scenario);

// A trip as the logger records it: a log start marker, then `points` records `step` seconds
// apart from UTC `start` (about 16 bytes a point).
std::vector<Slot> TripSlots(std::int64_t start, int points, int step = 5, std::uint32_t seed = 7);

// Misbehaviour on the line, for testing the program's error paths. Counters ("reply k", "after
// n bytes") start when the faults are set (at Start for those given in SimulatorOptions).
struct Faults {
  int badChecksumReply = 0;              // reply k (1-based, echoes not counted) gets a wrong checksum
  std::int64_t badChecksumAddress = -1;  // the next data reply for this address gets a wrong checksum
  int dropReply = 0;                     // reply k is not sent at all
  std::int64_t dropAddress = -1;         // the next data reply for this address is not sent
  std::int64_t wrongAddress = -1;        // the next data reply for this address names address + 0x800
  int splitBytes = 0;                    // write replies in pieces of at most this many bytes,
  std::chrono::milliseconds splitPause{50};  // with this pause after each piece
  bool echo = false;                     // echo every received sentence; the reply follows a poll later
  std::chrono::milliseconds replyDelay{0};  // every reply waits this long before it goes out
  std::int64_t silenceAfterBytes = -1;   // send nothing more after this many bytes (still listens)
  std::chrono::milliseconds silenceFor{0};  // with silenceAfterBytes: the silence ends after this
                                         // (what was said meanwhile is lost); 0 keeps it for ever
  double badChecksumRate = 0;            // each data reply gets a wrong checksum with this chance,
  std::uint32_t seed = 1;                // drawn from a generator seeded with this
  std::int64_t disconnectAfterBytes = -1;  // unplug after this many bytes sent
  std::string unanswered;                // received sentences beginning with this get no answer
  // Firmware update and Bluetooth address.
  bool noBtReply = false;                // "$PMTK492" gets no "$PMTK592"
  bool blankBtAddress = false;           // the logger has lost its address (all 0xFF) from here on
  bool bootRomSilent = false;            // the boot ROM does not answer the handshake
  int bootRomStopAfterBlocks = -1;       // the transfer stops answering after this many image blocks
};

struct SimulatorOptions {
  // Output at the line speed in force (baud / 10 bytes per second); unpaced when false.
  bool paced = false;
  // How long the erase takes before it is acknowledged.
  std::chrono::milliseconds eraseDelay{1500};
  Faults faults;
  // Called from the simulator's thread with each sentence received ("< ...") and each reply
  // queued ("> ...", data replies shortened); for watching the dialogue. It must not call
  // back into the simulator.
  std::function<void(const std::string&)> trace;
};

// The current values of the simulated logger, as the commands left them.
struct DeviceState {
  std::string userName;
  int basis = 0;
  std::string timeZone;
  int unit = 0;
  int timeInterval = 0;      // tenths of a second
  int distanceInterval = 0;  // tenths of a metre
  int recordMode = 0;
  std::uint32_t writePosition = 0;
  int baud = 38400;
  int firmware = 0;
  std::string hardware;
  std::array<std::uint8_t, 6> btAddress{};
  int eraseCount = 0;  // erases done since Start
  int firmwareUpdates = 0;  // images the boot ROM wrote since Start
  bool inBootRom = false;   // a firmware download holds the line
};

class Simulator {
 public:
  Simulator(Scenario scenario, SimulatorOptions options = {});
  ~Simulator();  // stops
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Opens the pseudo-terminal and starts answering. False with a reason when the pty fails.
  bool Start(std::string* error);
  // Path of the slave side, the "port" the program opens ("" before Start).
  std::string SlavePath() const;
  // Stops the thread and closes the pty. Safe to call twice.
  void Stop();
  // Closes the master side as a pulled cable would: the program's reads and writes fail.
  void Unplug();
  // True while the thread answers (false after Stop, Unplug or a disconnect fault).
  bool Running() const;

  // Every sentence received (bad checksums and garbage lines included), without CR LF, in
  // order; the oldest are forgotten past 200,000. Thread-safe.
  std::vector<std::string> Received() const;
  void ClearReceived();
  // Waits, at most `timeout`, until a received sentence begins with `prefix`.
  bool WaitForReceived(const std::string& prefix, std::chrono::milliseconds timeout) const;
  // Bytes written to the line since Start (what a line time is computed from).
  std::int64_t BytesSent() const;

  // Replace the faults in force (counters restart from here).
  void SetFaults(const Faults& faults);

  // Current device values and memory.
  DeviceState State() const;
  std::string UserName() const;
  int TimeInterval() const;
  int DistanceInterval() const;
  int RecordMode() const;
  int Basis() const;
  std::uint32_t WritePosition() const;
  int Baud() const;
  std::vector<std::uint8_t> Memory() const;
  // Records slots after the write position, as the logger does on a trip: a sector is erased
  // before its first slot is written. False (nothing more recorded) once the memory is full.
  bool Record(const std::vector<Slot>& slots);
  // The log erased and recorded anew: the scenario's memory and write position from now on.
  void ReplaceMemory(const Scenario& scenario);
  // The image the last firmware update wrote (empty before one).
  std::vector<std::uint8_t> FirmwareImage() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Builds and starts a simulator for the named scenario ("" means "demo"): what the window and
// `--simulate` use. Null with a reason in *error for an unknown name or a pty failure.
std::unique_ptr<Simulator> StartSimulator(const std::string& scenarioName, std::string* error,
                                          SimulatorOptions options = {});

}  // namespace kavro::sim
