#pragma once
// The numbers and words of the logger's protocol, in one place: what the program sends, what
// the logger answers, and where the values stand in the replies. The core and the simulator
// both speak in these names.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kavro {

// Sentence words, with their "$".
namespace word {
inline constexpr std::string_view kIdent = "$KAVRO580";       // identification command
inline constexpr std::string_view kIdentReply = "$KAVRO001";  // its reply
inline constexpr std::string_view kPmtk182 = "$PMTK182";      // log command; also its data replies
inline constexpr std::string_view kAck = "$PMTK001";          // acknowledgement
inline constexpr std::string_view kPmtk400 = "$PMTK400";      // sent once while connecting
inline constexpr std::string_view kBtQuery = "$PMTK492";      // ask for the Bluetooth address
inline constexpr std::string_view kBtAddress = "$PMTK592";    // the Bluetooth address
inline constexpr std::string_view kBtSet = "$PMTK392";        // set the Bluetooth address
inline constexpr std::string_view kBtAccepted = "$PMTK010";   // the new address was taken
// A memory data reply begins with this: "$PMTK182,8," address "," data.
inline constexpr std::string_view kMemoryData = "$PMTK182,8,";
}  // namespace word

// Sub-commands of "$KAVRO580,n"; the reply "$KAVRO001,n,value" repeats n.
namespace ident {
inline constexpr int kHello = 1;         // start of identification; reply not used
inline constexpr int kGoodbye = 2;       // disconnect and exit
inline constexpr int kFirmware = 3;      // firmware version, hundredths ("125" is 1.25)
inline constexpr int kWriteName = 4;     // text argument: the user name
inline constexpr int kUserName = 5;      // user name, at most 16 characters
inline constexpr int kKeepAlive = 6;     // once a second while connected
inline constexpr int kHardware = 7;      // hardware version, first 2 of 3 characters
inline constexpr int kBasis = 8;         // recording basis: 0 by time, 1 by distance
inline constexpr int kWriteBasis = 9;    // text argument: the recording basis
inline constexpr int kTimeZone = 10;     // time zone text, up to 7 characters
inline constexpr int kDistanceUnit = 11; // 0 metres, 1 feet
}  // namespace ident

// "$PMTK182,type,..." types; PmtkExchange takes kPmtk400 as the type of "$PMTK400".
namespace pmtk {
inline constexpr int kSet = 1;          // set a setting: a = item, b = value
inline constexpr int kQuery = 2;        // query a setting: a = item
inline constexpr int kQueryReply = 3;   // the logger's answer: "$PMTK182,3,item,value"
inline constexpr int kErase = 6;        // a = kEraseAll
inline constexpr int kMemoryRead = 7;   // a = start address, b = byte count, both hexadecimal
inline constexpr int kMemoryData = 8;   // the logger's answer: "$PMTK182,8,address,data"
inline constexpr int kSpeed = 14;       // a = the new line speed, decimal
inline constexpr int kPmtk400 = 400;
inline constexpr int kLogCommand = 182;  // how an acknowledgement names "$PMTK182"
inline constexpr int kEraseAll = 1;
// The last field of "$PMTK001,182,type,flag" (and "$PMTK001,400,flag").
inline constexpr int kAckInvalid = 0;
inline constexpr int kAckUnsupported = 1;
inline constexpr int kAckFailed = 2;
inline constexpr int kAckDone = 3;
}  // namespace pmtk

// Items of pmtk::kSet and pmtk::kQuery.
namespace item {
inline constexpr int kLogFormat = 1;         // asked first after opening the port; value not used
inline constexpr int kTimeInterval = 3;      // tenths of a second
inline constexpr int kDistanceInterval = 4;  // tenths of a metre
inline constexpr int kRecordMode = 6;        // 1 overwrite, 2 stop when full
inline constexpr int kWritePosition = 8;     // byte address, hexadecimal
}  // namespace item

// Where values stand in the replies, counted from the "$" of the reply word.
namespace field {
inline constexpr std::size_t kIdentValue = 12;      // "$KAVRO001,n," with n of one digit
inline constexpr std::size_t kIdentWideValue = 13;  // with n of two digits (10 and 11)
inline constexpr int kFirmwareLength = 3;
inline constexpr int kHardwareLength = 3;           // of which the first 2 are used
inline constexpr int kUserNameLength = 17;          // 16 characters and the "*"
inline constexpr int kDigitLength = 2;              // basis and unit: one digit and what follows
inline constexpr int kTimeZoneLength = 7;
inline constexpr std::size_t kQueryValue = 13;      // "$PMTK182,3,i," with an item of one digit
inline constexpr int kQueryValueLength = 10;
inline constexpr std::size_t kQuickReplyWithin = 20;  // the quick query's reply word lies within this
inline constexpr std::size_t kMemoryAddress = 11;     // "$PMTK182,8," then 8 hex digits
inline constexpr std::size_t kMemoryBytes = 20;       // then "," and the data
inline constexpr std::size_t kCompleteWithin = 256;   // replies are checked whole within this
inline constexpr std::size_t kProbeCompleteWithin = 96;  // the wrap probe's reply, whole within this
}  // namespace field

// The geometry of the log memory: what the protocol reads, the decoder takes apart and the
// simulator holds. Sectors begin with a header; the rest is 16-byte slots.
namespace memory {
inline constexpr std::uint32_t kSize = 0x200000;       // 2 MiB
inline constexpr std::uint32_t kSectorSize = 0x10000;
inline constexpr std::uint32_t kSectorCount = kSize / kSectorSize;  // 32
inline constexpr std::uint32_t kSectorHeaderSize = 0x200;
inline constexpr std::uint32_t kRecordSize = 16;       // one slot
inline constexpr std::uint32_t kSlotsPerSector = (kSectorSize - kSectorHeaderSize) / kRecordSize;  // 4064
inline constexpr std::uint32_t kSlotCount = kSlotsPerSector * kSectorCount;  // 130048
inline constexpr std::uint32_t kProbeAddress = kSize - kSectorSize;  // first byte of the last sector
inline constexpr std::uint32_t kProbeLength = 16;
inline constexpr std::uint32_t kDataChunk = 0x800;     // bytes carried by one memory data reply
}  // namespace memory

}  // namespace kavro
