#pragma once
// The logger's Bluetooth address, kept across a firmware update: read before the download
// ("$PMTK492" -> "$PMTK592,D1D2D3D4D5D6"), kept in the per-user settings store, and written
// back after it ("$PMTK392,D1D2D3,D4D5D6" -> "$PMTK010"). Both steps open the port themselves.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "serial/SerialPort.h"

namespace kavro {

// D1..D6 in the order of the logger's sentences.
using BtAddress = std::array<std::uint8_t, 6>;
inline constexpr BtAddress kNoBtAddress{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

inline constexpr std::string_view kBtAddressRequest = "$PMTK492*3D\r\n";

// The address from the first "$PMTK592" reply in text: "$PMTK592," (one more "," is
// skipped), twelve hex digits of either case, then "*", the right checksum and CR LF. None
// for a missing, unfinished or damaged reply.
std::optional<BtAddress> ParseBtAddressReply(std::string_view text);
// The saved form: "%02X:..." of D6, D5, D4, D3, D2, D1 ("78:56:34:AB:12:00").
std::string SavedBtText(const BtAddress& address);
// Back from the saved form; none for a text that does not hold six two-digit groups.
std::optional<BtAddress> ParseSavedBtText(std::string_view text);
// "00:12:AB:34:56:78": D1..D6 as the logger sends them, for people.
std::string BtAddressText(const BtAddress& address);
// "$PMTK392,D1D2D3,D4D5D6*hh\r\n".
std::string BtSetSentence(const BtAddress& address);

// The saved address: value "T580BTMacAddress" of the settings store of organisation
// "Kavro", application "T580" (the registry key "Software\Kavro\T580" on Windows).
class BtAddressStore {
 public:
  static constexpr const char* kValueName = "T580BTMacAddress";
  // The saved text; none when there is none, it is empty, or it is not a text.
  std::optional<std::string> Load() const;
  bool Save(const std::string& text);
};

// Pace and bounds of the two steps; the defaults are the logger's.
struct BtTiming {
  using ms = std::chrono::milliseconds;
  ms readPoll{38};
  int readPolls = 100;  // after the first read
  ms writeDelay{2000};  // before the address is written
  ms ackPoll{100};
  int ackPolls = 100;
  ms afterAck{1000};
};

enum class BtSource { Logger, Saved, None };

struct BtReadResult {
  bool portOpened = false;
  BtAddress address = kNoBtAddress;
  BtSource source = BtSource::None;
};

// What asking the logger for its address found: whether the port opened (and why not), and
// the address when a reply came within the bound.
struct BtQuery {
  bool portOpened = false;
  OpenError openError = OpenError::None;
  std::string openErrorText;
  std::optional<BtAddress> address;
};
// Opens the port, sends "$PMTK492", reads until a reply or the bound, closes the port.
BtQuery QueryBtAddress(const std::string& portName, int baudRate, const BtTiming& timing = {});

// Opens the port, asks for the address and saves what it will write back: the logger's
// address; the saved one when the logger does not answer or has none (all 0xFF); all 0xFF
// without either.
BtReadResult ReadBtAddress(const std::string& portName, int baudRate, BtAddressStore& store, const BtTiming& timing = {});
// Opens the port and writes the address; true when the logger acknowledged it.
bool WriteBtAddress(const std::string& portName, int baudRate, const BtAddress& address, const BtTiming& timing = {});

}  // namespace kavro
