// The built-in scenarios: device values and the slots a logger would have written.
#include <cmath>
#include <cstring>
#include <ctime>

#include "Simulator.h"
#include "track/TrackRecord.h"

namespace kavro::sim {
namespace {

constexpr std::int64_t kDay = 86400;

Slot TextSlot(const char* text) {
  Slot s{};
  std::memcpy(s.data(), text, memory::kRecordSize);
  return s;
}

Slot RecordSlot(std::int64_t time, double lat, double lon, double height) {
  return TrackRecord::Make(static_cast<std::int32_t>(time), static_cast<float>(lat), static_cast<float>(lon),
                           static_cast<float>(height))
      .bytes;
}

// Small deterministic generator so a scenario is the same on every run.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  // Uniform in [-1, 1].
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
  }

 private:
  std::uint32_t state_;
};

struct TrackShape {
  std::int64_t start = 0;  // UTC seconds of the first point
  int points = 0;
  int step = 5;  // seconds between points
  double lat = 0;
  double lon = 0;
  double height = 0;
  double speed = 1.5;  // metres per second
  std::uint32_t seed = 1;
  std::vector<int> waypoints;  // point indexes preceded by a waypoint marker
  int fillAfter = 0;           // fill slots written after the track
};

// A log start marker, then a wandering walk of records.
void AddTrack(std::vector<Slot>& out, const TrackShape& shape) {
  out.push_back(LogStartMarker());
  Lcg rng(shape.seed);
  double lat = shape.lat;
  double lon = shape.lon;
  double height = shape.height;
  double heading = rng.Next() * 3.14159;
  std::size_t nextWaypoint = 0;
  for (int k = 0; k < shape.points; ++k) {
    if (nextWaypoint < shape.waypoints.size() && shape.waypoints[nextWaypoint] == k) {
      out.push_back(WaypointMarker());
      ++nextWaypoint;
    }
    out.push_back(RecordSlot(shape.start + std::int64_t{k} * shape.step, lat, lon, height));
    heading += rng.Next() * 0.3;
    const double metres = shape.speed * shape.step * (0.8 + 0.2 * rng.Next());
    lat += metres * std::cos(heading) / 111320.0;
    lon += metres * std::sin(heading) / (111320.0 * std::cos(lat * 3.14159265 / 180.0));
    height += rng.Next() * 2.0;
  }
  for (int k = 0; k < shape.fillAfter; ++k) out.push_back(FillSlot());
}

// Midnight UTC of the day before `now`: times before it are in the past on any clock.
std::int64_t BaseDay(std::int64_t now) { return (now / kDay) * kDay - kDay; }

Scenario Demo(std::int64_t now) {
  Scenario s;
  s.name = "demo";
  s.description = "three tracks with waypoints in two sectors, overwrite mode";
  s.recordMode = 1;
  const std::int64_t base = BaseDay(now);
  AddTrack(s.written, {base - 6 * kDay + 1 * 3600, 900, 5, 25.0330, 121.5654, 12.0, 1.4, 11, {100, 450}, 5});
  AddTrack(s.written, {base - 3 * kDay + 2 * 3600, 3600, 5, 24.1477, 120.6736, 85.0, 4.0, 22, {0, 1000, 2000, 3500}, 3});
  AddTrack(s.written, {base - 1 * kDay + 3600 + 1800, 400, 5, 22.6273, 120.3014, 5.0, 1.2, 33, {399}, 0});
  return s;
}

Scenario Other(std::int64_t now) {
  Scenario s;
  s.name = "other";
  s.description = "every device value unlike demo: feet, by distance, stop mode, zone -05:00";
  s.firmware = 131;
  s.hardware = "210";
  s.userName = "Trail-Runner_02";
  s.basis = 1;
  s.timeZone = "-05:00";
  s.unit = 1;
  s.timeInterval = 150;
  s.distanceInterval = 304;
  s.recordMode = 2;
  s.btAddress = {0x00, 0x1B, 0xC1, 0x0A, 0x2F, 0x9E};
  const std::int64_t base = BaseDay(now);
  // Western and southern hemispheres, one track below sea level.
  AddTrack(s.written, {base - 10 * kDay + 14 * 3600, 700, 15, 40.7812, -73.9665, 30.0, 2.5, 5, {10}, 0});
  AddTrack(s.written, {base - 8 * kDay + 23 * 3600, 500, 15, -33.8568, 151.2153, 4.0, 1.1, 6, {}, 0});
  AddTrack(s.written, {base - 2 * kDay + 6 * 3600, 300, 15, 31.5590, 35.4732, -420.0, 1.0, 7, {150}, 0});
  return s;
}

Scenario Empty() {
  Scenario s;
  s.name = "empty";
  s.description = "a logger that never wrote: write position 0, all memory 0xFF";
  return s;
}

Scenario Wrapped(std::int64_t now) {
  Scenario s;
  s.name = "wrapped";
  s.description = "overwrite memory that went past its end: the newest records fill the first sectors";
  s.recordMode = 1;
  s.timeZone = "00000:0";
  s.userName = "Wrapper";
  s.unit = 1;  // feet, while recording by time
  s.timeInterval = 10;
  s.distanceInterval = 1524;
  // 48 tracks of 2900 points at 5 s, about 8.7 days: 9200 slots more than the memory holds.
  std::int64_t t = BaseDay(now) - 9 * kDay;
  for (int k = 0; k < 48; ++k) {
    TrackShape shape{t, 2900, 5, 47.3769 + 0.01 * k, 8.5417, 408.0, 1.3, static_cast<std::uint32_t>(100 + k), {}, 0};
    if (k % 3 == 0) shape.waypoints = {7, 1500};
    AddTrack(s.written, shape);
    t += 2900 * 5 + 1200;
  }
  return s;
}

Scenario Full(std::int64_t now) {
  Scenario s;
  s.name = "full";
  s.description = "stop mode with 3 free records left";
  s.recordMode = 2;
  s.userName = "FullLogger";
  s.basis = 1;  // by distance, in metres
  s.distanceInterval = 500;
  s.timeZone = "+09:00";
  std::int64_t t = BaseDay(now) - 4 * kDay;
  // Tracks at 1 s until the memory is 3 slots short of full.
  std::uint32_t seed = 500;
  while (s.written.size() + 1 < memory::kSlotCount - 3) {
    const std::size_t room = memory::kSlotCount - 3 - s.written.size() - 1;
    const int points = static_cast<int>(std::min<std::size_t>(20000, room));
    AddTrack(s.written, {t, points, 1, 35.6812, 139.7671, 40.0, 1.2, seed++, {}, 0});
    t += points + 600;
  }
  while (s.written.size() < memory::kSlotCount - 3) s.written.push_back(FillSlot());
  return s;
}

// A logger synced after every trip: nearly two megabytes recorded, room left for a few more
// trips (t580-sim adds one on SIGUSR1).
Scenario Trips(std::int64_t now) {
  Scenario s;
  s.name = "trips";
  s.description = "stop mode, 29 of 32 sectors full: room for the trips SIGUSR1 adds";
  s.recordMode = 2;
  s.userName = "Commuter";
  std::int64_t t = BaseDay(now) - 20 * kDay;
  // A 60 KB trip fits in the sector the log stands in.
  const std::size_t target = 29 * memory::kSlotsPerSector + 100;
  std::uint32_t seed = 900;
  while (s.written.size() + 1 < target) {
    const int points = static_cast<int>(std::min<std::size_t>(3600, target - s.written.size() - 1));
    AddTrack(s.written, {t, points, 5, 25.0478, 121.5319, 9.0, 1.4, seed++, {points / 3}, 0});
    t += std::int64_t{points} * 5 + 4 * 3600;
  }
  return s;
}

// Valid tracks interleaved with every kind of damage the decoder must drop.
Scenario Corrupt(std::int64_t now) {
  Scenario s;
  s.name = "corrupt";
  s.description = "damaged records, markers and dates among valid tracks";
  s.userName = "Broken";
  const std::int64_t base = BaseDay(now);
  AddTrack(s.written, {base - 5 * kDay, 200, 5, 51.5007, -0.1246, 20.0, 1.3, 71, {50}, 0});

  Slot bad = RecordSlot(base - 5 * kDay + 2000, 51.5, -0.12, 20.0);
  bad[15] ^= 0x5A;  // checksum broken
  s.written.push_back(bad);
  Slot badMarker = LogStartMarker();
  badMarker[15] = 'S';  // "KAVRORV318LOGGES": neither marker nor valid record
  s.written.push_back(badMarker);
  // Outside the year window: four and five years away, and the all-zero slot (1970).
  s.written.push_back(RecordSlot(now - 5 * 365 * kDay, 51.5, -0.12, 20.0));
  s.written.push_back(RecordSlot(now + 5 * 366 * kDay, 51.5, -0.12, 20.0));
  s.written.push_back(Slot{});
  // A waypoint marker whose record is broken: the flag moves to the next good record.
  s.written.push_back(WaypointMarker());
  s.written.push_back(bad);
  s.written.push_back(RecordSlot(base - 5 * kDay + 2100, 51.501, -0.121, 21.0));
  // Random garbage.
  Lcg rng(99);
  for (int k = 0; k < 20; ++k) {
    Slot g{};
    for (auto& b : g) b = static_cast<std::uint8_t>((rng.Next() + 1.0) * 127.5);
    g[15] = static_cast<std::uint8_t>(RecordChecksum(g.data()) ^ 0x01);
    s.written.push_back(g);
  }
  AddTrack(s.written, {base - 4 * kDay, 300, 5, 48.8584, 2.2945, 35.0, 1.3, 72, {}, 0});
  // A waypoint marker in the last slot of sector 0: its record opens sector 1.
  while (s.written.size() < memory::kSlotsPerSector - 1) s.written.push_back(FillSlot());
  s.written.push_back(WaypointMarker());
  s.written.push_back(RecordSlot(base - 4 * kDay + 3000, 48.86, 2.30, 36.0));
  AddTrack(s.written, {base - 3 * kDay, 150, 5, 41.8902, 12.4922, 50.0, 1.3, 73, {}, 0});
  return s;
}

}  // namespace

std::vector<Slot> TripSlots(std::int64_t start, int points, int step, std::uint32_t seed) {
  std::vector<Slot> slots;
  AddTrack(slots, {start, points, step, 25.0478, 121.5319, 9.0, 1.4, seed, {points / 2}, 0});
  return slots;
}

Slot LogStartMarker() { return TextSlot("KAVRORV318LOGGER"); }
Slot WaypointMarker() { return TextSlot("KAVRORV318WAYPNT"); }

Slot FillSlot() {
  Slot s{};
  for (int i = 0; i < 7; ++i) s[static_cast<std::size_t>(i)] = 0xAA;
  for (int i = 12; i < 16; ++i) s[static_cast<std::size_t>(i)] = 0xBB;
  return s;
}

Slot EmptySlot() {
  Slot s;
  s.fill(0xFF);
  return s;
}

std::uint32_t SlotAddress(std::uint32_t index) {
  return (index / memory::kSlotsPerSector) * memory::kSectorSize + memory::kSectorHeaderSize + (index % memory::kSlotsPerSector) * memory::kRecordSize;
}

std::vector<std::string> ScenarioNames() { return {"demo", "other", "empty", "wrapped", "full", "corrupt", "trips"}; }

std::optional<Scenario> ScenarioByName(const std::string& name, std::int64_t now) {
  if (name == "demo" || name.empty()) return Demo(now);
  if (name == "other") return Other(now);
  if (name == "empty") return Empty();
  if (name == "wrapped") return Wrapped(now);
  if (name == "full") return Full(now);
  if (name == "corrupt") return Corrupt(now);
  if (name == "trips") return Trips(now);
  return std::nullopt;
}

std::optional<Scenario> ScenarioByName(const std::string& name) {
  return ScenarioByName(name, static_cast<std::int64_t>(std::time(nullptr)));
}

}  // namespace kavro::sim
