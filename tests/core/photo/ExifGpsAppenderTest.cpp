#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "photo/ExifGpsAppender.h"
#include "photo/ExifGpsWriter.h"
#include "photo/ExifReader.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
const fs::path kPhotos = fs::path(KAVRO_TEST_DATA) / "photos";

TrackPoint Sydney() {
  TrackPoint p;
  p.lat = -33.8568f;
  p.lon = 151.2153f;
  p.alt = 12.345f;
  p.time = test::Utc(2008, 2, 28, 23, 59, 59);
  return p;
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (const std::uint8_t c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

// The copies of every Canon and Sony sample as the moving writer made them before other makes
// were written: size and FNV-1a hash of the whole file, for the point above.
struct Pinned {
  const char* name;
  std::size_t size;
  std::uint64_t hash;
};
constexpr Pinned kPinned[] = {
    {"Canon_EOS_7D.jpg", 347905, 0xe9e54fac9a21cfbaull},        {"Canon_EOS_D60.jpg", 134812, 0xe74eff89943acefcull},
    {"Canon_EOS_REBEL_T3i.jpg", 225995, 0x32f590fe59b285c9ull}, {"Canon_IXUS_v3.jpg", 65218, 0xa401c474c2970d2dull},
    {"Canon_PowerShot_A40.jpg", 244357, 0xd7061988a3ec734full}, {"Canon_PowerShot_G2_1.jpg", 176455, 0x232f03d6b9dc9b45ull},
    {"Canon_PowerShot_S230.jpg", 290436, 0xaa06d6a6e8c207f6ull}, {"Canon_PowerShot_S330.jpg", 25466, 0x5fbb71ef6dd218a3ull},
    {"Canon_moved_makernote.jpg", 1350725, 0xe82745244e086f1bull}, {"Canon_tags_footer.jpg", 448710, 0x5a303295d3404e8dull},
    {"Sony_Cybershot_1.jpg", 360994, 0x0ed5012d9ac58982ull},    {"Sony_Cybershot_2.jpg", 60471, 0x9b973368ea2e3675ull},
    {"Sony_Cybershot_5.jpg", 52939, 0xd0dab0cf6b977453ull},     {"Sony_DCR-PC110.jpg", 184538, 0x00e2d4f438f31000ull},
    {"Sony_DCR-PC110E_2.jpg", 290630, 0xec2d37915aa99e4cull},   {"Sony_DSC-HX5V_2.jpg", 232746, 0x8d37449f24ca06f2ull},
    {"Sony_DSC-P12.jpg", 44056, 0xd319977bb0a09400ull},         {"Sony_DigitalMavica.jpg", 13753, 0xba6a148d8afcedf8ull},
};

TEST(GpsCopyOfEveryMake, CanonAndSonyCopiesStayByteForByte) {
  for (const Pinned& pin : kPinned) {
    SCOPED_TRACE(pin.name);
    const std::vector<std::uint8_t> photo = test::ReadBytes(kPhotos / pin.name);
    std::vector<std::uint8_t> copy;
    ASSERT_EQ(BuildGpsCopy(photo.data(), photo.size(), Sydney(), copy), GpsCopyOutcome::Written);
    EXPECT_EQ(copy.size(), pin.size);
    EXPECT_EQ(Fnv1a(copy), pin.hash);
  }
}

// exiftool's output for many files in one run, by file.
std::map<std::string, std::vector<std::string>> ExiftoolByFile(const std::string& options,
                                                               const std::vector<fs::path>& files) {
  std::string command = "exiftool " + options;
  for (const fs::path& f : files) command += " " + test::Quote(f);
  std::istringstream in(test::RunCommand(command + " 2>&1"));
  std::map<std::string, std::vector<std::string>> out;
  std::string line, current = files.size() == 1 ? files.front().string() : std::string();
  while (std::getline(in, line)) {
    if (line.rfind("======== ", 0) == 0) {
      current = line.substr(9);
      continue;
    }
    if (line.find("image files read") == std::string::npos) out[current].push_back(line);
  }
  return out;
}

std::multiset<std::string> Warnings(const std::vector<std::string>& lines) {
  std::multiset<std::string> w;
  for (const std::string& l : lines)
    if (l.find("Warning") != std::string::npos) w.insert(l);
  return w;
}

// Every decoded tag but the ones a GPS copy changes by design: the GPS group, the file's own
// tags and what exiftool makes up from several of them.
std::multiset<std::string> Decoded(const std::vector<std::string>& lines) {
  static const std::regex skip(R"(^\[(GPS|File|System|ExifTool|Composite)\] )");
  std::multiset<std::string> d;
  for (const std::string& l : lines)
    if (!std::regex_search(l, skip) && l.find("Warning") == std::string::npos) d.insert(l);
  return d;
}

// Where the EXIF APP1 segment lies: [start, end) of the file.
std::pair<std::size_t, std::size_t> ExifSpan(const std::vector<std::uint8_t>& bytes) {
  const ExifSegment s = FindExifSegment(bytes.data(), bytes.size());
  return {static_cast<std::size_t>(s.app1), static_cast<std::size_t>(s.app1 + 2 + s.length)};
}

TEST(GpsCopyOfEveryMake, EveryOtherMakeDecodesAlikeWarnsNoMoreAndReadsBackInBothReaders) {
  if (!test::HaveTool("exiftool") || !test::HaveTool("exiv2")) GTEST_SKIP() << "exiftool or exiv2 is not installed";
  test::TempDir dir("every-make");
  std::vector<fs::path> originals, copies;
  for (const auto& entry : fs::directory_iterator(kPhotos / "makes")) {
    const fs::path original = dir.path / entry.path().filename();
    fs::copy_file(entry.path(), original);
    const GpsCopyResult r = WriteGpsPhotoCopy(original, Sydney());
    SCOPED_TRACE(original.filename().string());
    if (original.filename() == "Nikon_D1X.jpg") {
      // Its scan directory already runs past the EXIF data: refused, see below.
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.outcome, GpsCopyOutcome::Layout);
      EXPECT_FALSE(fs::exists(r.copyPath));
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.messageId;
    originals.push_back(original);
    copies.push_back(r.copyPath);
    EXPECT_EQ(test::ReadBytes(original), test::ReadBytes(entry.path()));
    // The bytes outside the EXIF segment are the original's; inside it, the camera's TIFF data
    // too, but for the header's IFD0 offset.
    const std::vector<std::uint8_t> a = test::ReadBytes(original), b = test::ReadBytes(r.copyPath);
    const auto [start, end] = ExifSpan(a);
    const auto [copyStart, copyEnd] = ExifSpan(b);
    ASSERT_EQ(copyStart, start);
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + static_cast<long>(start + 2), b.begin()));
    ASSERT_EQ(b.size() - copyEnd, a.size() - end);
    EXPECT_TRUE(std::equal(a.begin() + static_cast<long>(end), a.end(), b.begin() + static_cast<long>(copyEnd)));
    EXPECT_TRUE(std::equal(a.begin() + static_cast<long>(start + 4), a.begin() + static_cast<long>(start + 14),
                           b.begin() + static_cast<long>(start + 4)));
    EXPECT_TRUE(std::equal(a.begin() + static_cast<long>(start + 18), a.begin() + static_cast<long>(end),
                           b.begin() + static_cast<long>(start + 18)));
  }
  EXPECT_EQ(originals.size(), 20u);

  auto all = originals;
  all.insert(all.end(), copies.begin(), copies.end());
  auto tags = ExiftoolByFile("-a -G1 -s -n -validate -warning", all);
  for (std::size_t i = 0; i < originals.size(); ++i) {
    SCOPED_TRACE(originals[i].filename().string());
    const auto& before = tags[originals[i].string()];
    const auto& after = tags[copies[i].string()];
    ASSERT_FALSE(after.empty());
    const std::multiset<std::string> wa = Warnings(before), wb = Warnings(after);
    for (const std::string& w : wb) EXPECT_LE(wb.count(w), wa.count(w)) << "new: " << w;
    const std::multiset<std::string> da = Decoded(before), db = Decoded(after);
    for (const std::string& t : da) EXPECT_EQ(db.count(t), da.count(t)) << "changed or lost: " << t;
    for (const std::string& t : db) EXPECT_EQ(da.count(t), db.count(t)) << "new: " << t;
  }
  auto gps = ExiftoolByFile("-n -s3 -f -GPSLatitude -GPSLongitude -GPSAltitude -GPSDateStamp -GPSTimeStamp", copies);
  for (const fs::path& copy : copies) {
    SCOPED_TRACE(copy.filename().string());
    const std::vector<std::string> expected = {"-33.8568", "151.2153", "12.35", "2008:02:28", "23:59:59"};
    EXPECT_EQ(gps[copy.string()], expected);
    const std::string exiv2 = test::RunCommand("exiv2 -g Exif.GPSInfo -pa " + test::Quote(copy) + " 2>/dev/null");
    EXPECT_NE(exiv2.find("33deg 51' 24\""), std::string::npos) << exiv2;
    EXPECT_NE(exiv2.find("151deg 12' 55\""), std::string::npos) << exiv2;
    EXPECT_NE(exiv2.find("Exif.GPSInfo.GPSVersionID"), std::string::npos) << exiv2;
  }
}

// Nothing is appended to a segment that would outgrow its 16-bit length, nor to one whose maker
// note or EXIF IFD lies outside it.
TEST(GpsCopyOfEveryMake, RefusesWhatItCannotWriteSafely) {
  std::vector<std::uint8_t> copy;
  // Its maker note's scan directory lies past the end of the EXIF data.
  const std::vector<std::uint8_t> d1x = test::ReadBytes(kPhotos / "makes" / "Nikon_D1X.jpg");
  EXPECT_EQ(AppendGpsCopy(d1x.data(), d1x.size(), FindExifSegment(d1x.data(), d1x.size()), Sydney(), copy),
            GpsCopyOutcome::Layout);
  EXPECT_TRUE(copy.empty());

  const std::vector<std::uint8_t> photo = test::ReadBytes(kPhotos / "makes" / "Olympus_C960.jpg");
  const ExifSegment segment = FindExifSegment(photo.data(), photo.size());
  ASSERT_TRUE(segment.found);
  ASSERT_EQ(AppendGpsCopy(photo.data(), photo.size(), segment, Sydney(), copy), GpsCopyOutcome::Written);

  // A segment already at its largest.
  std::vector<std::uint8_t> full(photo.begin(), photo.begin() + static_cast<long>(segment.app1 + 2 + segment.length));
  const std::size_t grow = 0xFFF0 - segment.length;
  full.insert(full.end(), grow, 0);
  full[segment.app1 + 2] = 0xFF;
  full[segment.app1 + 3] = 0xF0;
  full.insert(full.end(), photo.begin() + static_cast<long>(segment.app1 + 2 + segment.length), photo.end());
  const ExifSegment big = FindExifSegment(full.data(), full.size());
  EXPECT_EQ(AppendGpsCopy(full.data(), full.size(), big, Sydney(), copy), GpsCopyOutcome::Layout);
  EXPECT_TRUE(copy.empty());

  // The maker note's offset moved past the end of the segment.
  std::vector<std::uint8_t> outside = photo;
  const ExifBytes tiff(outside.data() + segment.TiffStart(), segment.length - 8u);
  const ByteOrder order = *segment.order;
  std::uint32_t ifd0 = 0, exif = 0;
  tiff.U32(4, order, ifd0);
  std::uint16_t n = 0;
  tiff.U16(ifd0, order, n);
  for (std::uint16_t i = 0; i < n; ++i) {
    std::uint16_t tag = 0;
    tiff.U16(ifd0 + 2 + 12u * i, order, tag);
    if (tag == kTagExifIfd) tiff.U32(ifd0 + 10 + 12u * i, order, exif);
  }
  ASSERT_NE(exif, 0u);
  tiff.U16(exif, order, n);
  bool moved = false;
  for (std::uint16_t i = 0; i < n; ++i) {
    std::uint16_t tag = 0;
    tiff.U16(exif + 2 + 12u * i, order, tag);
    if (tag != kTagMakerNote) continue;
    PutU32(&outside[segment.TiffStart() + exif + 10 + 12u * i], order, 0x7FFFFFF0u);
    moved = true;
  }
  ASSERT_TRUE(moved);
  EXPECT_EQ(AppendGpsCopy(outside.data(), outside.size(), segment, Sydney(), copy), GpsCopyOutcome::Layout);
  test::TempDir dir("note-outside");
  test::WriteBytes(dir.path / "n.jpg", outside);
  const GpsCopyResult r = WriteGpsPhotoCopy(dir.path / "n.jpg", Sydney());
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(fs::exists(r.copyPath));
  EXPECT_FALSE(fs::exists(dir.path / "GPS"));
}

}  // namespace
}  // namespace kavro
