// The drawn picture: a known track point's pixel in its track's colour, the marks, the grid on
// the plain background, the simplified line, and the PNG written whole or not at all.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "common/StringTable.h"
#include "common/Texts.h"
#include "map/MapData.h"
#include "map/MapPicture.h"
#include "map/TrackLine.h"
#include "support/WriterTestSupport.h"

namespace kavro::map {
namespace {

MapPoint At(double lat, double lon, float alt = 400, std::int64_t utc = 1205573412) {
  MapPoint p;
  p.lat = lat;
  p.lon = lon;
  p.world = ToWorld(lat, lon);
  p.alt = alt;
  p.utc = utc;
  return p;
}

MapTrack Line(std::size_t index, double lat, double lon0, double lon1, int points) {
  MapTrack t;
  t.color = TrackColor(index);
  for (int i = 0; i < points; ++i) t.points.push_back(At(lat, lon0 + (lon1 - lon0) * i / (points - 1)));
  return t;
}

bool Near(QRgb a, QColor b, int tolerance = 12) {
  return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
         std::abs(qBlue(a) - b.blue()) <= tolerance;
}

QImage Draw(const MapView& view, const MapData& data, const MapOverlay& overlay = {}) {
  StringTable strings;
  return RenderPicture(strings, view, data, nullptr, overlay, {});
}

TEST(MapDrawing, KnownTrackPointIsDrawnInItsTrackColour) {
  // Centre 45 N 90 E, zoom 10, 400 x 300: 45 N 90.05 E lies at x = 200 + 0.05/360*262144
  // = 236.41, y = 150 (worked out by hand).
  MapData data;
  data.tracks.push_back(Line(0, 45, 89.9, 90.2, 31));
  const MapView view(QSizeF(400, 300), ToWorld(45, 90), 10);
  const QImage image = Draw(view, data);
  ASSERT_EQ(image.size(), QSize(400, 300));
  EXPECT_TRUE(Near(image.pixel(236, 150), QColor::fromRgb(0xd7191c))) << std::hex << image.pixel(236, 150);
  // Well above the line: the plain background (or a grid line), never the track.
  const QRgb above = image.pixel(236, 100);
  EXPECT_FALSE(Near(above, TrackColor(0), 60));
  // The first track is red, the next ones other strong colours.
  EXPECT_EQ(TrackColor(0), QColor::fromRgb(0xd7191c));
  EXPECT_NE(TrackColor(1), TrackColor(0));
  EXPECT_EQ(TrackColor(8), TrackColor(0));
}

TEST(MapDrawing, SecondTrackHasItsOwnColourAndBothHaveStartAndEndMarks) {
  MapData data;
  data.tracks.push_back(Line(0, 45, 89.9, 90.1, 11));
  data.tracks.push_back(Line(1, 44.95, 89.9, 90.1, 11));
  const MapView view(QSizeF(400, 300), ToWorld(44.975, 90), 10);
  const QImage image = Draw(view, data);
  const QPointF second = view.ToScreen(ToWorld(44.95, 90.03));
  EXPECT_TRUE(Near(image.pixel(second.toPoint()), TrackColor(1))) << std::hex << image.pixel(second.toPoint());
  // Start: a green dot on the first point; end: a dark square on the last.
  const QPointF start = view.ToScreen(ToWorld(45, 89.9));
  const QPointF end = view.ToScreen(ToWorld(45, 90.1));
  EXPECT_TRUE(Near(image.pixel(start.toPoint()), QColor::fromRgb(0x1a9641)));
  EXPECT_TRUE(Near(image.pixel(end.toPoint()), QColor::fromRgb(0x202020)));
}

TEST(MapDrawing, OfflinePictureHasGridAndScaleBarOnThePlainBackground) {
  MapData data;
  data.tracks.push_back(Line(0, 45, 89.99, 90.01, 5));
  const MapView view(QSizeF(600, 400), ToWorld(45, 90), 12);
  const QImage image = Draw(view, data);
  // Mostly the plain background; some pixels of grid lines (a full column or row of them).
  int background = 0;
  for (int y = 0; y < image.height(); y += 4)
    for (int x = 0; x < image.width(); x += 4) background += image.pixel(x, y) == MapPainter::kBackground;
  EXPECT_GT(background, image.width() * image.height() / 16 * 7 / 10);
  int gridColumns = 0;
  for (int x = 0; x < image.width(); ++x) {
    bool line = true;
    for (int y = 40; y < 300 && line; y += 13) line = image.pixel(x, y) != MapPainter::kBackground;
    gridColumns += line;
  }
  EXPECT_GE(gridColumns, 1);
  // The grid step leaves lines 100 px or more apart, with labels that name the hemisphere.
  EXPECT_DOUBLE_EQ(GridStepDegrees(0.001), 0.1);
  EXPECT_EQ(GridLabel(47.5, 0.5, true), QStringLiteral("47.5°N"));
  EXPECT_EQ(GridLabel(-8.25, 0.05, false), QStringLiteral("8.25°W"));
  EXPECT_EQ(GridLabel(0, 1, false), QStringLiteral("0°"));
}

TEST(MapDrawing, LineIsSimplifiedForTheZoomButKeepsEveryPointAtTheHighest) {
  // 1000 points 1 m apart: at zoom 12 (about 27 m a pixel) they collapse to a few.
  std::vector<MapPoint> points;
  for (int i = 0; i < 1000; ++i) points.push_back(At(45, 90 + i * 0.0000127));
  std::vector<QPolygonF> lines;
  MapView view(QSizeF(800, 600), ToWorld(45, 90.006), 12);
  VisibleLines(points, view, SimplifyPixels(view.Zoom()), lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_LT(lines[0].size(), 60);
  // The ends stay where they were.
  EXPECT_EQ(lines[0].front(), view.ToScreen(points.front().world));
  EXPECT_EQ(lines[0].back(), view.ToScreen(points.back().world));
  // At the highest zoom every point that shows is kept.
  view = MapView(QSizeF(800, 600), ToWorld(45, 90.0001), kMaxZoom);
  VisibleLines(points, view, SimplifyPixels(view.Zoom()), lines);
  std::size_t kept = 0;
  for (const QPolygonF& l : lines) kept += static_cast<std::size_t>(l.size());
  EXPECT_GE(kept, 9u);  // the first ten points lie within the picture's 800 px (about 0.2 m a pixel)
}

TEST(MapDrawing, StretchesOutsideThePictureBreakTheLine) {
  // Out of the picture to the east and back: two pieces, none for the far part.
  std::vector<MapPoint> points = {At(45, 89.99), At(45, 90.0), At(45, 91), At(45, 92), At(45, 90.0), At(45, 89.99)};
  const MapView view(QSizeF(400, 300), ToWorld(45, 90), 12);
  std::vector<QPolygonF> lines;
  VisibleLines(points, view, 1, lines);
  ASSERT_EQ(lines.size(), 2u);
  for (const QPolygonF& l : lines) EXPECT_EQ(l.size(), 3);
}

TEST(MapDrawing, TrackFilesBecomeTracksAndWaypoints) {
  const auto dir = TempDir("map-load");
  WriteTrl(dir / "a.trl", {TrackRecord::Make(1000, 45.0f, 90.0f, 300), TrackRecord::Make(1005, 45.001f, 90.001f, 310)});
  // A record at 0/0 or off the globe is a damaged one: left out.
  WriteTrl(dir / "b.trl", {TrackRecord::Make(1000, 46.0f, 91.0f, 300), TrackRecord::Make(1001, 0, 0, 0),
                           TrackRecord::Make(1002, 95.0f, 91.0f, 0)});
  WriteTrl(dir / "Logger1_T-580_Waypoints.trl", {TrackRecord::Make(1003, 45.5f, 90.5f, 200)});
  {
    std::FILE* f = std::fopen((dir / "noise.trl").c_str(), "wb");
    for (int i = 0; i < 64; ++i) std::fputc(i * 37 % 256, f);
    std::fclose(f);
  }
  MapData data;
  const auto problems = LoadTrackFiles({dir / "a.trl", dir / "b.trl", dir / "Logger1_T-580_Waypoints.trl",
                                        dir / "noise.trl", dir / "missing.trl"},
                                       data);
  ASSERT_EQ(data.tracks.size(), 2u);
  EXPECT_EQ(data.tracks[0].points.size(), 2u);
  EXPECT_EQ(data.tracks[0].points[1].utc, 1005);
  EXPECT_FLOAT_EQ(data.tracks[0].points[1].alt, 310);
  EXPECT_EQ(data.tracks[1].points.size(), 1u);
  EXPECT_EQ(data.tracks[1].color, TrackColor(1));
  ASSERT_EQ(data.waypoints.size(), 1u);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].textId, txt::MapNotATrackLog);
  EXPECT_EQ(problems[1].textId, txt::TrackOpenFailed);
  EXPECT_FALSE(data.Extent().IsEmpty());
}

TEST(MapDrawing, PngIsWrittenWholeOrNotAtAll) {
  StringTable strings;
  const auto dir = TempDir("map-png");
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::red);
  std::string error;
  ASSERT_TRUE(WritePng(strings, image, dir / "out.png", &error)) << error;
  QImage back(QString::fromStdString((dir / "out.png").string()));
  EXPECT_EQ(back.size(), QSize(64, 48));
  EXPECT_EQ(back.pixel(3, 3), QColor(Qt::red).rgb());
  // Into a folder that is not there: refused, with the reason, and nothing left anywhere.
  EXPECT_FALSE(WritePng(strings, image, dir / "none" / "out.png", &error));
  EXPECT_FALSE(error.empty());
  // A null picture replaces nothing.
  EXPECT_FALSE(WritePng(strings, QImage(), dir / "out.png", &error));
  EXPECT_EQ(QImage(QString::fromStdString((dir / "out.png").string())).size(), QSize(64, 48));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace kavro::map
