#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <sstream>

#include "common/StringTable.h"
#include "common/TextFile.h"
#include "support/PhotoTestSupport.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoKml.h"

namespace kavro {
namespace {

using test::TinyJpeg;
using test::Utc;

const std::int32_t T10 = Utc(2008, 2, 28, 10, 0, 0);

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

// The lines of the folder part: from "<Folder>" to "</kml>".
std::vector<std::string> FolderLines(const std::string& text) {
  const std::vector<std::string> all = Lines(text);
  std::vector<std::string> out;
  bool in = false;
  for (const std::string& l : all) {
    if (l == "<Folder>") in = true;
    if (in) out.push_back(l);
  }
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

struct KmlCase {
  std::vector<TrackPoint> points;
  std::vector<PhotoEntry> photos;
  std::vector<PhotoOrderEntry> order;
  std::int32_t calibration = 0;

  void Point(std::int32_t t, float lon = 121.5f, float lat = 25.25f, float alt = 10) {
    TrackPoint p;
    p.time = t;
    p.lon = lon;
    p.lat = lat;
    p.alt = alt;
    std::tm tm{};
    ZoneClock::Fixed(0).ToLocal(t, tm);
    AsctimeText(tm, p.nameText.data());
    points.push_back(p);
  }
  void Photo(const std::string& path, std::int32_t t) { photos.push_back(PhotoEntry{path, t, t}); }
  std::string Write() {
    CalibratePhotos(photos, calibration);
    std::vector<TrackOrderEntry> track;
    SortTrack(points, track);
    SortPhotos(photos, order);
    MatchPhotosToTrack(track, order);
    PhotoKmlInput in;
    in.trlPath = "/nonexistent/route.trl";
    in.points = &points;
    in.photoOrder = &order;
    in.photos = &photos;
    in.calibrationSeconds = calibration;
    in.photoZone = ZoneClock::Fixed(0);
    in.encoding = "UTF-8";
    StringSink sink;
    EXPECT_TRUE(WritePhotoKml(sink, in));
    return sink.data;
  }
};

TEST(PhotoKml, OnePointTrackHasOnlyTheStartPlacemark) {
  KmlCase c;
  c.Point(T10, 121.5f, 25.25f, 10.5f);
  const std::vector<std::string> expected = {"<Folder>", "<name>waypoints</name>", "<Placemark>", "<name>",
                                             "Thu Feb 28 10:00:00 2008", "</name>", "<styleUrl>",
                                             "#styleMap_TLP_Start", "</styleUrl>", "<Point>", "<coordinates>",
                                             "121.5000000,25.2500000,10.50", "</coordinates>", "</Point>",
                                             "</Placemark>", "</Folder>", "</Document>", "</kml>"};
  const std::string kml = c.Write();
  EXPECT_EQ(FolderLines(kml), expected);
  // The route comes from the file, which cannot be read here: an empty coordinates line.
  EXPECT_NE(kml.find("<coordinates>\r\n</coordinates>"), std::string::npos);
}

TEST(PhotoKml, StylesAndBalloonsFollowThePhotos) {
  KmlCase c;
  c.Point(T10);
  c.Point(T10 + 10);
  c.Point(T10 + 20);
  c.Point(T10 + 30);
  c.Photo("/pics/first.jpg", T10 + 1);
  c.Photo("/pics/b.jpg", T10 + 21);
  c.Photo("/pics/a.jpg", T10 + 19);
  const std::string kml = c.Write();
  const std::vector<std::string> lines = FolderLines(kml);
  std::vector<std::string> styles;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == "<styleUrl>") styles.push_back(lines[i + 1]);
  }
  EXPECT_EQ(styles, (std::vector<std::string>{"#styleMap_TLP_Start", "#styleMap_TLP_Normal", "#styleMap_TLP_Photo",
                                              "#styleMap_TLP_Finish"}));
  EXPECT_EQ(Count(kml, "Photo Matched:"), 2u);
  // Two photos on the third point: one balloon, in time order (a.jpg at :19 before b.jpg at :21).
  const std::string third = "<name>\r\nThu Feb 28 10:00:20 2008\r\n</name>\r\n<description>\r\n<![CDATA[\r\nPhoto Matched:\r\n"
                            "<p>Thu Feb 28 10:00:19 2008</p>\r\n"
                            "<p><img width=\"400\" height=\"300\" src=\"/pics/a.jpg\"></p>\r\n"
                            "<p>Thu Feb 28 10:00:21 2008</p>\r\n"
                            "<p><img width=\"400\" height=\"300\" src=\"/pics/b.jpg\"></p>\r\n"
                            "]]>\r\n</description>\r\n<styleUrl>\r\n#styleMap_TLP_Photo\r\n";
  EXPECT_NE(kml.find(third), std::string::npos);
  // The first point keeps its Start style with a balloon.
  EXPECT_NE(kml.find("src=\"/pics/first.jpg\"></p>\r\n]]>\r\n</description>\r\n<styleUrl>\r\n#styleMap_TLP_Start"),
            std::string::npos);
  EXPECT_EQ(kml.find("Original Time: "), std::string::npos);
  EXPECT_EQ(kml.find("Adjustment Time: "), std::string::npos);
}

TEST(PhotoKml, CalibrationShowsOriginalAndAdjustedTimesAndNoMatchKeepsPlainStyles) {
  KmlCase c;
  c.Point(T10);
  c.Point(T10 + 10);
  c.Point(T10 + 20);
  c.calibration = -3600;
  c.Photo("/pics/x.jpg", T10 + 3600 + 11);
  const std::string kml = c.Write();
  EXPECT_NE(kml.find("<p>Original Time: Thu Feb 28 11:00:11 2008</p>\r\n<p>Adjustment Time: Thu Feb 28 10:00:11 2008</p>"),
            std::string::npos);

  KmlCase none;
  none.Point(T10);
  none.Point(T10 + 10);
  none.Point(T10 + 20);
  none.Photo("/pics/late.jpg", T10 + 500);
  const std::string plain = none.Write();
  EXPECT_EQ(plain.find("<description>\r\n<![CDATA["), std::string::npos);
  EXPECT_EQ(Count(plain, "#styleMap_TLP_Normal\r\n</styleUrl>"), 1u);
  EXPECT_EQ(Count(plain, "#styleMap_TLP_Finish\r\n</styleUrl>"), 1u);
}

TEST(PhotoKml, PathsThatWouldBreakTheBalloonAreEscaped) {
  EXPECT_EQ(BalloonPathText("/a/b.jpg"), "/a/b.jpg");
  EXPECT_EQ(BalloonPathText("/a\"x]]>&.jpg"), "/a&quot;x]]&gt;&amp;.jpg");
}

class Collect : public PhotoConversionListener {
 public:
  void OnLine(const std::string& line) override { lines.push_back(line); }
  void OnSummary(const std::string& s) override { summary = s; }
  void OnProblem(const std::string& m) override { problems.push_back(m); }
  std::vector<std::string> lines;
  std::string summary;
  std::vector<std::string> problems;
};

// A photo folder with three good photos and one bad one; two of the good ones lie on the track.
struct Folder {
  test::TempDir dir{"conversion"};
  std::filesystem::path trl = dir.path / "t.trl";
  std::filesystem::path photos = dir.path / "photos";
  Folder() {
    std::filesystem::create_directory(photos);
    test::WriteTrl(trl, {TrackRecord::Make(T10, 25.25f, 121.5f, 10), TrackRecord::Make(T10 + 60, 25.5f, 121.75f, 20),
                         TrackRecord::Make(T10 + 120, 25.75f, 122.0f, 30)});
    TinyJpeg a;
    a.dateTimeOriginal = "2008:02:28 18:00:20";  // +08:00 camera clock: 10:00:20 UTC
    test::WriteBytes(photos / "a.jpg", a.Build());
    TinyJpeg b;
    b.dateTimeOriginal = "2008:02:28 18:01:50";
    b.make = "FUJIFILM";
    test::WriteBytes(photos / "b.JPG", b.Build());
    TinyJpeg c;
    c.dateTimeOriginal = "2008:02:28 19:00:00";
    test::WriteBytes(photos / "c.jpg", c.Build());
    test::WriteBytes(photos / "d.jpg", {0xFF, 0xD8, 0xFF, 0xDB});
  }
  PhotoConversionSettings Settings() const {
    PhotoConversionSettings s;
    s.trlPath = trl;
    s.photoDir = photos;
    s.photoZone = ZoneClock::Fixed(480);
    return s;
  }
};

TEST(PhotoConversion, ThreePassOneErrorGivesTheLinesAndSummaryInOrder) {
  Folder f;
  StringTable words;
  PhotoConversion conversion(words);
  Collect out;
  PhotoConversionSettings s = f.Settings();
  s.writeGps = true;
  StringSink kml;
  const PhotoConversionResult r = conversion.Run(s, kml, &out);
  const std::string p = f.photos.string() + "/";
  const std::vector<std::string> expected = {
      "Photo Parsed Pass:" + p + "a.jpg",
      "Photo Parsed Pass:" + p + "b.JPG",
      "Photo Parsed Pass:" + p + "c.jpg",
      "Photo Parsed Error:" + p + "d.jpg;Not EXIF format.",
      "Photo Combined Failed:" + p + "d.jpg;No mapping any track log point.",
      "Photo CombinedPass:" + p + "a.jpg",
      "Photo CombinedPass:" + p + "b.JPG",
      "Photo Combined Failed:" + p + "c.jpg;No mapping any track log point."};
  // b.JPG is of another make: it gets its copy too, so no unsupported-camera line.
  EXPECT_EQ(out.lines, expected);
  EXPECT_EQ(out.summary,
            "Photo Parsed: Pass:3 Error:1 \nPhoto Combined: Pass:2 Error:2\nGeotagged copies written: 2 of 2");
  EXPECT_TRUE(out.problems.empty());
  EXPECT_EQ(r.parsedPass, 3);
  EXPECT_EQ(r.parsedError, 1);
  EXPECT_EQ(r.copiesWritten, 2);
  EXPECT_EQ(r.copiesUnsupported, 0);
  EXPECT_TRUE(std::filesystem::exists(f.photos / "GPS" / "a_GPS.jpg"));
  EXPECT_TRUE(std::filesystem::exists(f.photos / "GPS" / "b_GPS.jpg"));
  // The route holds the three records; the KML is complete.
  EXPECT_NE(kml.data.find("<coordinates>\r\n121.5000000,25.2500000,10.00 121.7500000,25.5000000,20.00 "
                          "122.0000000,25.7500000,30.00 </coordinates>"),
            std::string::npos);
  EXPECT_EQ(kml.data.substr(kml.data.size() - 8), "</kml>\r\n");
  EXPECT_EQ(Count(kml.data, "<Placemark>"), 4u);  // route + three points
}

TEST(PhotoConversion, QuietModeWritesNoLinesAndAMissingTrackIsReported) {
  Folder f;
  StringTable words;
  Collect quiet;
  StringSink kml;
  TimeZoneState zone;
  const PhotoConversionResult r =
      CombinePhotosForTrack(words, f.trl, kml, f.photos, *ZoneRowByLabel("+08:00"), 0, false, &quiet, &zone);
  EXPECT_EQ(zone.AppliedRow(), 6);
  EXPECT_TRUE(quiet.lines.empty());
  EXPECT_TRUE(quiet.summary.empty());
  EXPECT_EQ(r.match.combined, 2);
  EXPECT_EQ(Count(kml.data, "Photo Matched:"), 2u);

  PhotoConversion conversion(words);
  Collect out;
  PhotoConversionSettings s = f.Settings();
  s.trlPath = f.dir.path / "missing.trl";
  StringSink empty;
  const PhotoConversionResult missing = conversion.Run(s, empty, &out);
  EXPECT_FALSE(missing.trackRead);
  ASSERT_EQ(out.problems.size(), 1u);
  EXPECT_NE(out.problems[0].find("missing.trl"), std::string::npos);
  EXPECT_EQ(missing.match.combined, 0);
  EXPECT_EQ(missing.match.failed, 4);
  EXPECT_NE(empty.data.find("<coordinates>\r\n</coordinates>"), std::string::npos);
  EXPECT_EQ(Count(empty.data, "<Placemark>"), 1u);

  const test::TempDir none("no-photos");
  s = f.Settings();
  s.photoDir = none.path;
  Collect zero;
  StringSink k2;
  const PhotoConversionResult r0 = conversion.Run(s, k2, &zero);
  EXPECT_EQ(r0.parsedPass + r0.parsedError, 0);
  EXPECT_EQ(zero.summary, "Photo Parsed: Pass:0 Error:0 \nPhoto Combined: Pass:0 Error:0");
}

// Matched photos whose copies cannot be written: a name twice (a.jpg, a.JPG), points a corrupt
// record gave (not a number, out of range), a copy that cannot take its place.
struct CopyTrouble {
  test::TempDir dir{"copy-trouble"};
  std::filesystem::path trl = dir.path / "t.trl";
  std::filesystem::path photos = dir.path / "photos";
  CopyTrouble() {
    std::filesystem::create_directories(photos / "GPS" / "w_GPS.jpg");  // a folder where the copy goes
    test::WriteTrl(trl, {TrackRecord::Make(T10, 25.25f, 121.5f, 10),
                         TrackRecord::Make(T10 + 60, std::numeric_limits<float>::quiet_NaN(), 121.75f, 20),
                         TrackRecord::Make(T10 + 120, 25.75f, 122.0f, 1e30f),
                         TrackRecord::Make(T10 + 180, 95.0f, 122.0f, 30),
                         TrackRecord::Make(T10 + 240, 26.0f, 122.25f, 40), TrackRecord::Make(T10 + 300, 26.5f, 122.5f, 50)});
    const char* names[] = {"a.jpg", "a.JPG", "n.jpg", "h.jpg", "r.jpg", "w.jpg"};
    const char* times[] = {"2008:02:28 18:00:00", "2008:02:28 18:00:05", "2008:02:28 18:01:00",
                           "2008:02:28 18:02:00", "2008:02:28 18:03:00", "2008:02:28 18:04:00"};
    for (int i = 0; i < 6; ++i) {
      TinyJpeg j;
      j.dateTimeOriginal = times[i];
      test::WriteBytes(photos / names[i], j.Build());
    }
  }
  PhotoConversionSettings Settings() const {
    PhotoConversionSettings s;
    s.trlPath = trl;
    s.photoDir = photos;
    s.photoZone = ZoneClock::Fixed(480);
    s.writeGps = true;
    return s;
  }
};

TEST(PhotoConversion, EveryCopyNotWrittenGetsALineWithItsReasonAndTheSummaryCountsCopies) {
  CopyTrouble f;
  StringTable words;
  PhotoConversion conversion(words);
  Collect out;
  StringSink kml;
  const PhotoConversionResult r = conversion.Run(f.Settings(), kml, &out);
  EXPECT_EQ(r.match.combined, 6);
  EXPECT_EQ(r.copiesWritten, 2);
  EXPECT_EQ(r.copiesFailed, 4);
  const std::string p = f.photos.string() + "/";
  const std::string badPoint = "the matched track point has no valid latitude, longitude or altitude (a damaged record)";
  const std::vector<std::string> expected = {
      "No geotagged copy of " + p + "n.jpg: " + badPoint,
      "No geotagged copy of " + p + "h.jpg: " + badPoint,
      "No geotagged copy of " + p + "r.jpg: " + badPoint,
      "No geotagged copy of " + p + "w.jpg: The copy " + p + "GPS/w_GPS.jpg cannot be written: " +
          std::strerror(EISDIR)};
  const std::vector<std::string> tail(out.lines.end() - 4, out.lines.end());
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(out.summary.substr(out.summary.rfind('\n') + 1), "Geotagged copies written: 2 of 6");

  // Each of the two photos named alike has its own copy, made from it.
  const auto copyTime = [](const std::filesystem::path& copy) {
    return ReadPhotoTakenTime(copy, ZoneClock::Fixed(480)).captureTime;
  };
  EXPECT_EQ(copyTime(f.photos / "GPS" / "a_GPS.jpg"), T10);
  EXPECT_EQ(copyTime(f.photos / "GPS" / "a_GPS_2.jpg"), T10 + 5);
  for (const char* none : {"n_GPS.jpg", "h_GPS.jpg", "r_GPS.jpg"}) {
    EXPECT_FALSE(std::filesystem::exists(f.photos / "GPS" / none)) << none;
  }
  EXPECT_TRUE(std::filesystem::is_directory(f.photos / "GPS" / "w_GPS.jpg"));

  // The download's quiet run still tells of every missing copy, and of nothing else.
  Collect quiet;
  StringSink k2;
  CombinePhotosForTrack(words, f.trl, k2, f.photos, *ZoneRowByLabel("+08:00"), 0, true, &quiet);
  EXPECT_EQ(quiet.lines, expected);
  EXPECT_TRUE(quiet.summary.empty());
}

TEST(PhotoConversion, UnreadableTrackOrFolderFailsWithoutKml) {
  Folder f;
  StringTable words;
  PhotoConversion conversion(words);
  const std::filesystem::path kml = f.dir.path / "out.kml";
  std::string error;
  Collect out;
  PhotoConversionSettings s = f.Settings();
  s.trlPath = f.dir.path / "missing.trl";
  PhotoConversionResult r = conversion.RunToFile(s, kml, &out, error);
  EXPECT_FALSE(r.outputOk);
  EXPECT_FALSE(r.trackRead);
  EXPECT_NE(error.find("missing.trl"), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
  EXPECT_TRUE(out.lines.empty());  // stopped before reading the photos

  s = f.Settings();
  s.photoDir = f.trl;  // a file, not a folder
  r = conversion.RunToFile(s, kml, &out, error);
  EXPECT_FALSE(r.outputOk);
  EXPECT_FALSE(r.photosRead);
  EXPECT_NE(error.find(f.trl.string()), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(ENOTDIR)), std::string::npos) << error;

  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(f.dir.path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);  // the track only: no KML, no temporary
}

// A stop asked for while the photos are read (the page closing) ends the run quietly: no KML,
// no temporary file, no error text.
TEST(PhotoConversion, StopAfterTheFirstPhotoLeavesNoFileAndNoError) {
  Folder f;
  StringTable words;
  PhotoConversion conversion(words);
  const std::filesystem::path kml = f.dir.path / "out.kml";
  std::stop_source stop;
  struct StopOnFirstLine : Collect {
    std::stop_source* stop = nullptr;
    void OnLine(const std::string& line) override {
      Collect::OnLine(line);
      stop->request_stop();
    }
  } out;
  out.stop = &stop;
  std::string error;
  const PhotoConversionResult r = conversion.RunToFile(f.Settings(), kml, &out, error, stop.get_token());
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.outputOk);
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_EQ(out.lines.size(), 1u);
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(f.dir.path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);  // the track only
}

TEST(PhotoConversion, Utf16FileParsesWithExpatAndXmllint) {
  Folder f;
  StringTable words;
  PhotoConversion conversion(words);
  const std::filesystem::path kml = f.dir.path / "out.kml";
  std::string error;
  const PhotoConversionResult r = conversion.RunToFile(f.Settings(), kml, nullptr, error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_TRUE(r.outputOk);
  const std::vector<std::uint8_t> bytes = test::ReadBytes(kml);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
  for (std::size_t i = 0; i < decl.size(); ++i) {
    EXPECT_EQ(bytes[2 + 2 * i], static_cast<std::uint8_t>(decl[i]));
    EXPECT_EQ(bytes[3 + 2 * i], 0);
  }
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(f.dir.path)) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);  // the track and the KML, no temporary

  if (test::HaveTool("python3")) {
    int status = 0;
    const std::string out = test::RunCommand(
        "python3 -c \"import sys,xml.dom.minidom as m; d=m.parse(sys.argv[1]); "
        "print(len(d.getElementsByTagName('Placemark')), d.getElementsByTagName('description').length)\" " +
            test::Quote(kml) + " 2>&1",
        &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "4 3\n");  // the document's own description and two balloons
  }
  if (test::HaveTool("xmllint")) {
    int status = 0;
    const std::string out = test::RunCommand("xmllint --noout " + test::Quote(kml) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
  }

  const PhotoConversionResult bad = conversion.RunToFile(f.Settings(), f.dir.path / "no" / "dir" / "x.kml", nullptr, error);
  EXPECT_FALSE(bad.outputOk);
  EXPECT_NE(error.find("x.kml"), std::string::npos);
  // A folder where the KML should go: the reason is the rename's, not the clean-up's.
  std::filesystem::create_directory(f.dir.path / "folder.kml");
  const PhotoConversionResult onFolder = conversion.RunToFile(f.Settings(), f.dir.path / "folder.kml", nullptr, error);
  EXPECT_FALSE(onFolder.outputOk);
  EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
}

}  // namespace
}  // namespace kavro
