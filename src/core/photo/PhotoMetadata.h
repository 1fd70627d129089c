#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace kavro {

enum class PhotoFileKind { Jpeg, Raw, Heic, Other };

// What one photo file says about itself, read without ever opening it for writing.
struct PhotoMetadata {
  bool readable = false;  // false: messageId/detail say why (cannot be opened, broken, no EXIF)
  int messageId = 0;
  std::string detail;
  PhotoFileKind kind = PhotoFileKind::Other;
  std::string make, model;
  // "YYYY:MM:DD hh:mm:ss" as stored: DateTimeOriginal, else (not for JPEG) CreateDate/DateTime.
  std::optional<std::string> dateTimeOriginal;
  std::optional<std::string> offsetTimeOriginal;  // "+hh:mm" / "-hh:mm" as stored
  std::optional<std::string> offsetTime;
  bool hasGpsPosition = false;  // the photo already holds a latitude and a longitude
};

// The kind by the file name's extension, in any letter case.
PhotoFileKind PhotoFileKindOf(const std::filesystem::path& photo);
// True for the extensions a geotag run looks at: JPEG, the RAW formats, HEIC/HEIF.
bool IsPhotoFileName(const std::filesystem::path& photo);

// Never throws. A JPEG's capture time is the one the JPEG reader finds (so Canon and Sony keep
// theirs exactly); everything else comes from the library of the field.
PhotoMetadata ReadPhotoMetadata(const std::filesystem::path& photo);

}  // namespace kavro
