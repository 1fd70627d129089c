#pragma once
#include <cstdint>
#include <string_view>

#include "common/OutputSink.h"
#include "track/TrackFileReader.h"

namespace kavro {

// NMEA 0183 $GPRMC sentences of a track log file, one per valid record, in UTC whatever zone is
// in force. Reads the source from its start. False when the source could not be read through or
// the output refused a write.
bool WriteNmeaTrack(TrackFileReader& source, OutputSink& out);

// One complete sentence with its CR LF into out (at least kRmcBufferSize bytes); returns its
// length, 0 when the time cannot be converted.
inline constexpr std::size_t kRmcBufferSize = 512;
std::size_t FormatRmc(std::int32_t time, float latitude, float longitude, char* out);

// XOR of the characters from the second up to the first "*", CR or LF.
std::uint8_t NmeaChecksum(std::string_view sentence);

// Degrees and minutes of a coordinate as the sentence shows them ("2501.980057"), without the
// hemisphere letter; returns the end of the text.
char* FormatNmeaDegrees(char* out, float value);

}  // namespace kavro
