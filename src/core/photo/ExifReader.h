#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "photo/ExifBytes.h"
#include "track/ZoneClock.h"

namespace kavro {

// What ReadPhotoTakenTime found out about one photo.
struct PhotoTimeResult {
  int status = 1;                // 0: captureTime holds the time; 1: it was not read
  std::int32_t captureTime = 0;  // UTC seconds since 1970
  int messageId = 0;             // string id of the reason when status is 1
  std::string detail;            // the system's reason when the file could not be opened
};

// The EXIF APP1 segment as the marker walk finds it from offset 2: APP0 and APP2-APP15 segments
// (JFIF, an ICC profile, ...) and APP1 segments whose identifier does not begin with "E" are
// passed; any other marker ends the walk.
// Shared by the reader and the GPS writer so that both see a photo alike.
struct ExifSegment {
  bool found = false;
  std::uint64_t app1 = 0;          // file offset of its marker
  std::uint16_t length = 0;        // its length field: the two length bytes and what follows
  bool complete = false;           // the whole segment lies inside the file
  std::optional<ByteOrder> order;  // from "II" or "MM" at the TIFF header; none for anything else
  std::uint64_t TiffStart() const { return app1 + 10; }
};
ExifSegment FindExifSegment(const std::uint8_t* data, std::size_t size);

// Reads DateTimeOriginal from the EXIF data of a JPEG photo and turns the camera's local time
// into UTC with the photo zone. Small and forgiving: looks only at the markers, the byte order,
// IFD0, the EXIF sub-IFD and the date text; bytes past the end of the file read as zero.
PhotoTimeResult ReadPhotoTakenTime(const std::filesystem::path& path, const ZoneClock& photoZone);
// DateTimeOriginal as the reader above finds it, its 19 characters without trailing NULs:
// ParseExifDateTime over it gives the same time. status 1 with the same reasons otherwise.
PhotoTimeResult ReadPhotoDateText(const std::filesystem::path& path, std::string& text);
// The same over bytes in memory.
PhotoTimeResult ReadPhotoTakenTimeFromBytes(const std::uint8_t* data, std::size_t size, const ZoneClock& photoZone);

// The camera's "YYYY:MM:DD hh:mm:ss" text (at least 19 characters read, missing ones as NUL)
// to UTC with mktime rules; -1 when the text gives no time at or after 1970 within 32 bits.
std::int64_t ParseExifDateTime(const char* text, std::size_t length, const ZoneClock& photoZone);

}  // namespace kavro
