// The tracks' kept picture: a dragged view drawn from it looks as one drawn afresh, and new
// tracks, another zoom or a drag past its margin draw it anew; a turning wheel scales it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "map/MapData.h"
#include "map/TrackLayer.h"

namespace kavro::map {
namespace {

MapTrack Zigzag(std::size_t index, double lat, double lon, int points) {
  MapTrack t;
  t.color = TrackColor(index);
  for (int i = 0; i < points; ++i) {
    MapPoint p;
    p.lat = lat + ((i % 2) != 0 ? 0.004 : 0.0) + i * 0.00002;
    p.lon = lon + i * 0.0004;
    p.world = ToWorld(p.lat, p.lon);
    t.points.push_back(p);
  }
  return t;
}

QImage Frame(TrackLayer& layer, const MapView& view, const MapData& data) {
  QImage image(view.Size().toSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  QPainter p(&image);
  layer.Paint(p, view, data);
  return image;
}

// Pixels whose colour differs clearly between two pictures of one size.
int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      n += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) > 48;
    }
  return n;
}

int Coloured(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      n += std::abs(qRed(p) - colour.red()) + std::abs(qGreen(p) - colour.green()) +
               std::abs(qBlue(p) - colour.blue()) < 30;
    }
  return n;
}

TEST(TrackLayer, DraggedViewLooksAsOneDrawnAfresh) {
  MapData data;
  data.tracks.push_back(Zigzag(0, 45, 90, 400));
  MapView view(QSizeF(320, 240), ToWorld(45.002, 90.08), 12);
  TrackLayer kept;
  Frame(kept, view, data);
  for (const QPointF step : {QPointF(37, -11), QPointF(120, 60), QPointF(-300, 10)}) {
    view.PanBy(step);
    TrackLayer fresh;
    const QImage a = Frame(kept, view, data), b = Frame(fresh, view, data);
    EXPECT_GT(Coloured(b, TrackColor(0)), 200);
    EXPECT_LE(Differing(a, b), a.width() * a.height() / 500) << "after a drag by " << step.x() << "," << step.y();
  }
  // Past the margin, the line that came into view is drawn too.
  view.PanBy(QPointF(TrackLayer::kMargin + 200, 0));
  TrackLayer fresh;
  EXPECT_LE(Differing(Frame(kept, view, data), Frame(fresh, view, data)), 320 * 240 / 500);
}

TEST(TrackLayer, OtherTracksOrZoomAreDrawnAnew) {
  MapData first, second;
  first.tracks.push_back(Zigzag(0, 45, 90, 200));
  second.tracks.push_back(Zigzag(1, 45, 90, 200));
  const MapView view(QSizeF(320, 240), ToWorld(45.002, 90.04), 12);
  TrackLayer layer;
  EXPECT_GT(Coloured(Frame(layer, view, first), TrackColor(0)), 100);
  const QImage other = Frame(layer, view, second);
  EXPECT_GT(Coloured(other, TrackColor(1)), 100);
  EXPECT_EQ(Coloured(other, TrackColor(0)), 0);
  // The same tracks grown by a point (a vector that moved) and another colour of the same data.
  second.tracks[0].points.push_back(second.tracks[0].points.back());
  second.tracks[0].color = TrackColor(2);
  EXPECT_GT(Coloured(Frame(layer, view, second), TrackColor(2)), 100);
  // Another zoom: the line is drawn at that zoom, not the old picture scaled or shifted.
  const MapView wider(QSizeF(320, 240), ToWorld(45.002, 90.04), 11);
  TrackLayer fresh;
  EXPECT_LE(Differing(Frame(layer, wider, second), Frame(fresh, wider, second)), 320 * 240 / 500);
}

TEST(TrackLayer, TurningWheelShowsTheKeptPictureScaledUntilItRests) {
  MapData data;
  data.tracks.push_back(Zigzag(0, 45, 90, 300));
  MapView view(QSizeF(320, 240), ToWorld(45.002, 90.06), 12);
  TrackLayer layer;
  QImage image(320, 240, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter p(&image);
    EXPECT_TRUE(layer.Paint(p, view, data, true));  // nothing kept yet: drawn properly
  }
  view.ZoomAt(QPointF(160, 120), 0.5);
  image.fill(Qt::black);
  {
    QPainter p(&image);
    EXPECT_FALSE(layer.Paint(p, view, data, true));
  }
  TrackLayer fresh;
  const QImage proper = Frame(fresh, view, data);
  // The scaled picture puts the line where it belongs, if less sharp.
  EXPECT_GT(Coloured(image, TrackColor(0)), Coloured(proper, TrackColor(0)) / 2);
  EXPECT_LE(Differing(image, proper), 320 * 240 / 25);  // thicker lines, but in place
  // At rest: drawn at the new zoom.
  EXPECT_LE(Differing(Frame(layer, view, data), proper), 320 * 240 / 500);
}

}  // namespace
}  // namespace kavro::map
