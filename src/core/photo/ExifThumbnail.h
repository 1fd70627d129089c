#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kavro {

// The small JPEG picture a camera puts into a photo's EXIF data (IFD1: JPEGInterchangeFormat
// and its length), so a map can show photos without decoding each whole one. Empty when the
// photo has none, or when it does not lie whole inside the EXIF segment or is no JPEG.
std::vector<std::uint8_t> ReadExifThumbnail(const std::filesystem::path& photo);
std::vector<std::uint8_t> ExifThumbnailFromBytes(const std::uint8_t* data, std::size_t size);

}  // namespace kavro
