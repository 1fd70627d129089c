#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "common/Texts.h"
#include "photo/PhotoMetadata.h"
#include "photo/XmpSidecar.h"
#include "support/PhotoTestSupport.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Utc;
const fs::path kRaw = fs::path(KAVRO_TEST_DATA) / "photos" / "raw";

TrackPoint Point(float lat, float lon, float alt, std::int32_t time) {
  TrackPoint p;
  p.lat = lat;
  p.lon = lon;
  p.alt = alt;
  p.time = time;
  return p;
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

struct Stamp {
  std::vector<std::uint8_t> bytes;
  struct timespec mtime {};
};

Stamp StampOf(const fs::path& p) {
  Stamp s;
  s.bytes = test::ReadBytes(p);
  struct stat st {};
  stat(p.c_str(), &st);
  s.mtime = st.st_mtim;
  return s;
}

void ExpectUntouched(const fs::path& p, const Stamp& before) {
  const Stamp now = StampOf(p);
  EXPECT_EQ(now.bytes, before.bytes) << p;
  EXPECT_EQ(now.mtime.tv_sec, before.mtime.tv_sec) << p;
  EXPECT_EQ(now.mtime.tv_nsec, before.mtime.tv_nsec) << p;
}

TEST(XmpSidecar, NamesAndWhichExistingOneIsUsed) {
  EXPECT_EQ(SidecarPath("/p/IMG_1.CR2", SidecarName::NameXmp), fs::path("/p/IMG_1.xmp"));
  EXPECT_EQ(SidecarPath("/p/IMG_1.CR2", SidecarName::NameExtXmp), fs::path("/p/IMG_1.CR2.xmp"));
  test::TempDir dir("sidecar-names");
  const fs::path photo = dir.path / "a.nef";
  EXPECT_EQ(ExistingOrNewSidecar(photo, SidecarName::NameXmp), dir.path / "a.xmp");
  test::WriteBytes(dir.path / "a.nef.xmp", {});
  EXPECT_EQ(ExistingOrNewSidecar(photo, SidecarName::NameXmp), dir.path / "a.nef.xmp");
  test::WriteBytes(dir.path / "a.xmp", {});
  EXPECT_EQ(ExistingOrNewSidecar(photo, SidecarName::NameXmp), dir.path / "a.xmp");
  EXPECT_EQ(ExistingOrNewSidecar(photo, SidecarName::NameExtXmp), dir.path / "a.nef.xmp");
}

// Every RAW and HEIC file of the test set gets a sidecar that exiftool and exiv2 read back, and
// the photo itself keeps its bytes and its modification time.
TEST(XmpSidecar, EveryRawAndHeicGetsASidecarThatBothReadersReadBack) {
  if (!test::HaveTool("exiftool") || !test::HaveTool("exiv2")) GTEST_SKIP() << "exiftool or exiv2 is not installed";
  test::TempDir dir("sidecar-raw");
  const TrackPoint south = Point(-33.8568f, 151.2153f, -12.5f, Utc(2008, 2, 28, 23, 59, 59));
  int written = 0;
  for (const auto& entry : fs::directory_iterator(kRaw)) {
    const fs::path photo = dir.path / entry.path().filename();
    fs::copy_file(entry.path(), photo);
    const Stamp before = StampOf(photo);
    SCOPED_TRACE(photo.string());
    const SidecarResult r = WriteXmpSidecar(photo, south, SidecarName::NameXmp, false);
    ASSERT_TRUE(r.Written()) << r.detail;
    EXPECT_FALSE(r.updated);
    EXPECT_EQ(r.path, SidecarPath(photo, SidecarName::NameXmp));
    ExpectUntouched(photo, before);
    ++written;
    std::istringstream values(test::RunCommand("exiftool -n -s3 -XMP:GPSLatitude -XMP:GPSLongitude -XMP:GPSAltitude "
                                               "-XMP:GPSAltitudeRef -XMP:GPSDateTime -XMP:GPSVersionID " +
                                               test::Quote(r.path)));
    double lat = 0, lon = 0;
    values >> lat >> lon;
    EXPECT_NEAR(lat, double{-33.8568f}, 1e-7);  // the float the track holds, to a centimetre
    EXPECT_NEAR(lon, double{151.2153f}, 1e-7);
    std::string rest((std::istreambuf_iterator<char>(values)), {});
    EXPECT_EQ(Trim(rest), "\n12.5\n1\n2008:02:28 23:59:59Z\n2.2.0.0");
    const std::string exiv2 = test::RunCommand("exiv2 -px " + test::Quote(r.path) + " 2>&1");
    EXPECT_NE(exiv2.find("Xmp.exif.GPSLatitude"), std::string::npos) << exiv2;
    EXPECT_NE(exiv2.find("33,51.408"), std::string::npos) << exiv2;
    EXPECT_NE(exiv2.find("Xmp.exif.GPSTimeStamp"), std::string::npos) << exiv2;
    EXPECT_EQ(test::RunCommand("xmllint --noout " + test::Quote(r.path) + " 2>&1"), "");
  }
  EXPECT_EQ(written, 6);
}

// An existing sidecar keeps what it held; a position in it stays unless asked to replace it;
// one that is not XMP stays as it is.
TEST(XmpSidecar, ExistingSidecarsAreUpdatedInPlaceOrLeftAlone) {
  if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  test::TempDir dir("sidecar-existing");
  const fs::path photo = dir.path / "IMG_7.CR3";
  test::WriteBytes(photo, {1, 2, 3});
  const std::string held =
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
      "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmp:Rating=\"4\"><dc:subject><rdf:Bag><rdf:li>harbour</rdf:li>"
      "</rdf:Bag></dc:subject></rdf:Description></rdf:RDF></x:xmpmeta>";
  const fs::path sidecar = dir.path / "IMG_7.CR3.xmp";  // darktable's name, found although NAME.xmp was chosen
  test::WriteBytes(sidecar, std::vector<std::uint8_t>(held.begin(), held.end()));
  const Stamp photoBefore = StampOf(photo);

  const SidecarResult r = WriteXmpSidecar(photo, Point(47.5f, -122.25f, 20, 1000), SidecarName::NameXmp, false);
  ASSERT_TRUE(r.Written()) << r.detail;
  EXPECT_TRUE(r.updated);
  EXPECT_EQ(r.path, sidecar);
  EXPECT_FALSE(fs::exists(dir.path / "IMG_7.xmp"));
  EXPECT_EQ(Trim(test::RunCommand("exiftool -s3 -n -Rating -Subject -GPSLatitude " + test::Quote(sidecar))),
            "4\nharbour\n47.5");

  const std::vector<std::uint8_t> first = test::ReadBytes(sidecar);
  const SidecarResult again = WriteXmpSidecar(photo, Point(1, 2, 3, 2000), SidecarName::NameXmp, false);
  EXPECT_EQ(again.outcome, SidecarOutcome::HasPosition);
  EXPECT_EQ(again.messageId, txt::SidecarHasPosition);
  EXPECT_EQ(test::ReadBytes(sidecar), first);
  const SidecarResult replaced = WriteXmpSidecar(photo, Point(1, 2, 3, 2000), SidecarName::NameXmp, true);
  ASSERT_TRUE(replaced.Written());
  EXPECT_EQ(Trim(test::RunCommand("exiftool -s3 -n -Rating -GPSLatitude " + test::Quote(sidecar))), "4\n1");
  ExpectUntouched(photo, photoBefore);

  for (const std::string& junk : {std::string("not xml at all {"), std::string("<a><b></a>"),
                                  std::string("\xEF\xBB\xBF<?xml version=\"1.0\"?><html><body/></html>")}) {
    SCOPED_TRACE(junk);
    const fs::path other = dir.path / "junk.nef";
    test::WriteBytes(other, {0});
    test::WriteBytes(dir.path / "junk.xmp", std::vector<std::uint8_t>(junk.begin(), junk.end()));
    const SidecarResult bad = WriteXmpSidecar(other, Point(1, 2, 3, 4), SidecarName::NameXmp, true);
    EXPECT_EQ(bad.outcome, SidecarOutcome::NotXmp);
    EXPECT_EQ(bad.messageId, txt::SidecarNotXmp);
    const std::vector<std::uint8_t> now = test::ReadBytes(dir.path / "junk.xmp");
    EXPECT_EQ(std::string(now.begin(), now.end()), junk);
  }
}

TEST(XmpSidecar, DryRunBadPointAndReadOnlyFolderWriteNothing) {
  test::TempDir dir("sidecar-refused");
  const fs::path photo = dir.path / "a.dng";
  test::WriteBytes(photo, {0});
  const SidecarResult dry = WriteXmpSidecar(photo, Point(1, 2, 3, 4), SidecarName::NameExtXmp, false, true);
  EXPECT_TRUE(dry.Written());
  EXPECT_EQ(dry.path, dir.path / "a.dng.xmp");
  EXPECT_FALSE(fs::exists(dry.path));
  const SidecarResult bad = WriteXmpSidecar(photo, Point(95, 2, 3, 4), SidecarName::NameXmp, false);
  EXPECT_EQ(bad.outcome, SidecarOutcome::BadPoint);
  EXPECT_FALSE(fs::exists(dir.path / "a.xmp"));

  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
  const SidecarResult ro = WriteXmpSidecar(photo, Point(1, 2, 3, 4), SidecarName::NameXmp, false);
  fs::permissions(dir.path, fs::perms::owner_all);
  EXPECT_EQ(ro.outcome, SidecarOutcome::IoError);
  EXPECT_EQ(ro.messageId, txt::SidecarWriteFailed);
  EXPECT_FALSE(ro.detail.empty());
  EXPECT_EQ(fs::directory_iterator(dir.path)->path(), photo);  // nothing half-written beside it
}

TEST(XmpSidecar, CoordinatesRoundAtTheMinuteAndTimesAreUtc) {
  std::string out, detail;
  ASSERT_EQ(UpdateXmpText("", Point(10.9999999f, -0.0000001f, 0, 0), false, out, detail), SidecarOutcome::Written);
  EXPECT_NE(out.find("11,0.000000N"), std::string::npos) << out;
  EXPECT_NE(out.find("0,0.000006W"), std::string::npos) << out;
  EXPECT_NE(out.find("1970-01-01T00:00:00Z"), std::string::npos) << out;
}

}  // namespace
}  // namespace kavro
