#include "photo/PhotoMetadata.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "common/Texts.h"
#include "photo/ExifReader.h"
#include "photo/Exiv2Library.h"

namespace kavro {
namespace {

std::string LowerExtension(const std::filesystem::path& photo) {
  std::string ext = photo.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

constexpr std::array<const char*, 11> kRawExtensions = {".cr2", ".cr3", ".nef", ".arw", ".orf", ".raf",
                                                        ".rw2", ".dng", ".pef", ".srw", ".nrw"};

// Trailing blanks and NULs are padding, not part of the text.
std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

// The first of the keys the library found, as text.
std::optional<std::string> FirstOf(const Exiv2::ExifData& exif, std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it != exif.end() && it->count() > 0) return Trimmed(it->toString());
  }
  return std::nullopt;
}

void ReadWithLibrary(const std::filesystem::path& photo, PhotoMetadata& m, bool timeFromLibrary) {
  auto image = Exiv2::ImageFactory::open(photo.string());
  if (image.get() == nullptr) throw Exiv2::Error(Exiv2::kerFileContainsUnknownImageType);
  image->readMetadata();
  const Exiv2::ExifData& exif = image->exifData();
  m.make = FirstOf(exif, {"Exif.Image.Make"}).value_or("");
  m.model = FirstOf(exif, {"Exif.Image.Model"}).value_or("");
  m.offsetTimeOriginal = FirstOf(exif, {"Exif.Photo.OffsetTimeOriginal"});
  m.offsetTime = FirstOf(exif, {"Exif.Photo.OffsetTime"});
  m.hasGpsPosition = FirstOf(exif, {"Exif.GPSInfo.GPSLatitude"}) && FirstOf(exif, {"Exif.GPSInfo.GPSLongitude"});
  if (timeFromLibrary) {
    m.dateTimeOriginal = FirstOf(exif, {"Exif.Photo.DateTimeOriginal", "Exif.Image.DateTimeOriginal",
                                        "Exif.Photo.DateTimeDigitized", "Exif.Image.DateTime"});
  }
}

// Only opening tells "no such file" or "permission denied" apart from a damaged file.
bool CanOpen(const std::filesystem::path& photo, PhotoMetadata& m) {
  const int fd = open(photo.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    m.messageId = txt::PhotoOpenFailed;
    m.detail = std::strerror(errno);
    return false;
  }
  close(fd);
  return true;
}

PhotoMetadata ReadJpeg(const std::filesystem::path& photo, PhotoMetadata m) {
  std::string text;
  const PhotoTimeResult taken = ReadPhotoDateText(photo, text);
  if (taken.status == 0) m.dateTimeOriginal = text;
  m.messageId = taken.messageId;
  m.detail = taken.detail;
  m.readable = taken.status == 0 || taken.messageId == txt::NoPhotoDate;
  if (!m.readable) return m;
  try {
    UseExiv2();
    ReadWithLibrary(photo, m, false);
  } catch (const std::exception&) {
    // The JPEG reader has the time; the make and the GPS flag are only extras here.
  }
  return m;
}

}  // namespace

PhotoFileKind PhotoFileKindOf(const std::filesystem::path& photo) {
  const std::string ext = LowerExtension(photo);
  if (ext == ".jpg" || ext == ".jpeg") return PhotoFileKind::Jpeg;
  if (ext == ".heic" || ext == ".heif" || ext == ".hif") return PhotoFileKind::Heic;
  if (std::find_if(kRawExtensions.begin(), kRawExtensions.end(), [&](const char* e) { return ext == e; }) !=
      kRawExtensions.end())
    return PhotoFileKind::Raw;
  return PhotoFileKind::Other;
}

bool IsPhotoFileName(const std::filesystem::path& photo) { return PhotoFileKindOf(photo) != PhotoFileKind::Other; }

PhotoMetadata ReadPhotoMetadata(const std::filesystem::path& photo) {
  PhotoMetadata m;
  m.kind = PhotoFileKindOf(photo);
  if (!CanOpen(photo, m)) return m;
  if (m.kind == PhotoFileKind::Jpeg) return ReadJpeg(photo, m);
  try {
    UseExiv2();
    ReadWithLibrary(photo, m, true);
  } catch (const std::exception& e) {
    m = PhotoMetadata{};
    m.kind = PhotoFileKindOf(photo);
    m.messageId = txt::PhotoUnreadable;
    m.detail = Trimmed(e.what());
    return m;
  }
  m.readable = true;
  if (!m.dateTimeOriginal) m.messageId = txt::NoPhotoDate;
  return m;
}

}  // namespace kavro
