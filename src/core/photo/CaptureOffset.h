#pragma once
// Where the offset from camera local time to UTC came from, and what happened to a local time
// that a zone's clock change skipped or repeated. Filled when the capture time is resolved.

namespace kavro {

enum class OffsetSource { PhotoOffsetTimeOriginal, PhotoOffsetTime, ChosenZone };
enum class LocalTimeNote { None, SkippedHourMovedForward, RepeatedHourEarlierOffset };

}  // namespace kavro
