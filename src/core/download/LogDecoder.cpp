#include "download/LogDecoder.h"

#include <chrono>
#include <cstdint>
#include <cstring>

namespace kavro {

bool IsLogStartMarker(const std::uint8_t* slot) { return std::memcmp(slot, kLogStartMarker, 16) == 0; }
bool IsWaypointMarker(const std::uint8_t* slot) { return std::memcmp(slot, kWaypointMarker, 16) == 0; }

bool IsFillSlot(const std::uint8_t* slot) {
  for (int i = 0; i < 7; ++i)
    if (slot[i] != 0xAA) return false;
  for (int i = 12; i < 16; ++i)
    if (slot[i] != 0xBB) return false;
  return true;
}

bool IsEmptySlot(const std::uint8_t* slot) {
  for (int i = 0; i < 16; ++i)
    if (slot[i] != 0xFF) return false;
  return true;
}

LogDecoder::LogDecoder() { ResetDecoder(ZoneClock::System(), CurrentUtcYear()); }

int LogDecoder::CurrentUtcYear() {
  const auto now = std::chrono::system_clock::now();
  const std::chrono::year_month_day ymd{std::chrono::floor<std::chrono::days>(now)};
  return static_cast<int>(ymd.year());
}

void LogDecoder::ResetDecoder(const ZoneClock& clock, int currentUtcYear) {
  clock_ = clock;
  currentYear_ = currentUtcYear;
  raw_.clear();
  rawFlags_.clear();
  ordered_.clear();
  orderedFlags_.clear();
  waypointPending_ = false;
  markerCount_ = waypointCount_ = validCount_ = weekFixedCount_ = 0;
  previousTime_ = currentTime_ = 0;
  wrapFound_ = false;
  wrapStart_ = 0;
}

void LogDecoder::Append(const TrackRecord& entry) {
  // The lists hold a full memory; more sectors than a memory has are dropped.
  if (raw_.size() >= kLogMaxEntries) return;
  raw_.push_back(entry);
  // A pending waypoint flag lands on whatever is appended next, a marker included.
  rawFlags_.push_back(waypointPending_ ? 1 : 0);
  waypointPending_ = false;
}

bool LogDecoder::InYearWindow(std::int64_t time) const {
  std::tm local;
  const int year = clock_.ToLocal(time, local) ? local.tm_year + 1900 : 1900;
  return year >= currentYear_ - 3 && year <= currentYear_ + 3;
}

std::optional<std::int32_t> LogDecoder::RolledOverTime(std::int32_t time) const {
  // An all-zero slot passes its checksum; 1970 plus 2048 weeks must not make it a record.
  if (time <= 0) return std::nullopt;
  for (int rollovers = 1; rollovers <= 2; ++rollovers) {
    const std::int64_t later = std::int64_t{time} + rollovers * kGpsWeekRolloverSeconds;
    if (later <= INT32_MAX && InYearWindow(later)) return static_cast<std::int32_t>(later);
  }
  return std::nullopt;
}

void LogDecoder::AcceptIfValid(const std::uint8_t* slot) {
  if (!RecordIsValid(slot)) return;
  TrackRecord r = TrackRecord::FromBytes(slot);
  bool rolledOver = false;
  if (!InYearWindow(r.Time())) {
    const std::optional<std::int32_t> fixed = weekFix_ ? RolledOverTime(r.Time()) : std::nullopt;
    if (!fixed) return;
    r.SetTime(*fixed);
    rolledOver = true;
  }
  if (raw_.size() >= kLogMaxEntries) return;
  ++validCount_;
  if (rolledOver) ++weekFixedCount_;
  const std::size_t n = raw_.size();
  Append(r);
  if (validCount_ == 1) {
    previousTime_ = currentTime_ = r.Time();
  } else {
    previousTime_ = currentTime_;
    currentTime_ = r.Time();
  }
  if (currentTime_ < previousTime_) {
    wrapFound_ = true;
    wrapStart_ = n;
  }
}

void LogDecoder::DecodeSector(const std::uint8_t* sector) {
  const std::uint8_t* slot = sector + memory::kSectorHeaderSize;
  const std::uint8_t* const end = sector + memory::kSectorSize;
  for (; slot < end; slot += TrackRecord::kSize) {
    if (IsLogStartMarker(slot)) {
      Append(TrackRecord::FromBytes(slot));
      ++markerCount_;
      continue;
    }
    if (IsFillSlot(slot) || IsEmptySlot(slot)) continue;
    if (IsWaypointMarker(slot)) {
      waypointPending_ = true;
      ++waypointCount_;
      slot += TrackRecord::kSize;
      if (slot >= end) break;  // the flag waits for the next sector's first entry
    }
    AcceptIfValid(slot);
  }
  OrderRecords();
}

void LogDecoder::DecodeImage(const std::uint8_t* image, std::size_t size) {
  for (std::size_t at = 0; at + memory::kSectorSize <= size; at += memory::kSectorSize) DecodeSector(image + at);
}

void LogDecoder::OrderRecords() {
  ordered_.clear();
  orderedFlags_.clear();
  ordered_.reserve(raw_.size());
  orderedFlags_.reserve(raw_.size());
  const std::size_t start = wrapFound_ ? wrapStart_ : 0;
  for (std::size_t i = start; i < raw_.size(); ++i) {
    ordered_.push_back(raw_[i]);
    orderedFlags_.push_back(rawFlags_[i]);
  }
  for (std::size_t i = 0; i < start; ++i) {
    ordered_.push_back(raw_[i]);
    orderedFlags_.push_back(rawFlags_[i]);
  }
}

}  // namespace kavro
