// The projection and the view, against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "map/MapView.h"
#include "map/TileKey.h"
#include "map/WebMercator.h"

namespace kavro::map {
namespace {

TEST(WebMercator, KnownPlacesLandWhereTheFormulaPutsThem) {
  // The equator at the prime meridian is the middle of the square.
  WorldPoint p = ToWorld(0, 0);
  EXPECT_DOUBLE_EQ(p.x, 0.5);
  EXPECT_NEAR(p.y, 0.5, 1e-15);
  // 90 E is three quarters across; 45 N: y = (1 - ln(tan 45 + sec 45) / pi) / 2
  // = (1 - ln(2.41421356) / 3.14159265) / 2 = (1 - 0.88137359 / 3.14159265) / 2 = 0.35972503.
  p = ToWorld(45, 90);
  EXPECT_DOUBLE_EQ(p.x, 0.75);
  EXPECT_NEAR(p.y, 0.35972503, 1e-8);
  // 180 W is the left edge; the square's corner latitude is its top edge.
  EXPECT_DOUBLE_EQ(ToWorld(0, -180).x, 0.0);
  EXPECT_NEAR(ToWorld(kMaxLatitude, 0).y, 0.0, 1e-9);
  // Beyond the edge: clamped, never infinite.
  EXPECT_NEAR(ToWorld(90, 0).y, 0.0, 1e-9);
  EXPECT_NEAR(ToWorld(-90, 0).y, 1.0, 1e-9);
}

TEST(WebMercator, InverseGivesTheDegreesBack) {
  for (double lat : {-60.0, -12.5, 0.0, 22.3, 47.3769, 70.0}) {
    const WorldPoint p = ToWorld(lat, 8.5417);
    EXPECT_NEAR(LatitudeOf(p.y), lat, 1e-9);
    EXPECT_NEAR(LongitudeOf(p.x), 8.5417, 1e-9);
  }
}

TEST(WebMercator, GroundScaleAndDistance) {
  // Zoom 0 on the equator: 40075016.686 m / 256 px; at 60 degrees half of that.
  EXPECT_NEAR(MetresPerPixel(0, 0), 156543.034, 1e-3);
  EXPECT_NEAR(MetresPerPixel(60, 1), 156543.034 / 4, 1e-3);
  // One degree of latitude is about 111.2 km on the mean sphere.
  EXPECT_NEAR(DistanceMetres(45, 90, 46, 90), 111195, 5);
  EXPECT_DOUBLE_EQ(DistanceMetres(10, 10, 10, 10), 0.0);
}

TEST(MapView, PixelsOfAKnownPointAtZoomTen) {
  // Centre 45 N 90 E at zoom 10 in 400 x 300: that point is the picture's middle, and 0.1 degree
  // east is 0.1 / 360 * 256 * 1024 = 72.818 px to the right.
  MapView view(QSizeF(400, 300), ToWorld(45, 90), 10);
  QPointF s = view.ToScreen(ToWorld(45, 90));
  EXPECT_NEAR(s.x(), 200, 1e-6);
  EXPECT_NEAR(s.y(), 150, 1e-6);
  s = view.ToScreen(ToWorld(45, 90.1));
  EXPECT_NEAR(s.x(), 272.818, 1e-3);
  EXPECT_NEAR(s.y(), 150, 1e-6);
  // Just east of it, at 90.01 E, the tile at zoom 10 is x = floor(1024 * 270.01 / 360) =
  // floor(768.03) = 768, y = floor(0.35972503 * 1024) = floor(368.36) = 368: the first one asked.
  view = MapView(QSizeF(400, 300), ToWorld(45, 90.01), 10);
  const std::vector<TileKey> tiles = VisibleTiles(view);
  ASSERT_FALSE(tiles.empty());
  EXPECT_EQ(tiles.front(), (TileKey{10, 768, 368}));
  EXPECT_EQ(TileZoom(view), 10);
}

TEST(MapView, ZoomAtTheCursorKeepsThePlaceUnderIt) {
  MapView view(QSizeF(800, 600), ToWorld(47, 8), 12);
  const QPointF cursor(100, 500);
  const WorldPoint before = view.ToWorld(cursor);
  view.ZoomAt(cursor, 1);
  EXPECT_DOUBLE_EQ(view.Zoom(), 13);
  const QPointF after = view.ToScreen(before);
  EXPECT_NEAR(after.x(), 100, 1e-6);
  EXPECT_NEAR(after.y(), 500, 1e-6);
  // Never past the highest zoom or below the lowest.
  view.ZoomAt(cursor, 40);
  EXPECT_DOUBLE_EQ(view.Zoom(), kMaxZoom);
  view.ZoomAt(cursor, -40);
  EXPECT_DOUBLE_EQ(view.Zoom(), kMinZoom);
}

TEST(MapView, PanFollowsTheMouseAndFitShowsTheWholeBox) {
  MapView view(QSizeF(800, 600), ToWorld(47, 8), 12);
  const QPointF before = view.ToScreen(ToWorld(47.01, 8.01));
  view.PanBy(QPointF(30, -20));
  const QPointF after = view.ToScreen(ToWorld(47.01, 8.01));
  EXPECT_NEAR(after.x() - before.x(), 30, 1e-6);
  EXPECT_NEAR(after.y() - before.y(), -20, 1e-6);

  WorldBox box;
  box.Add(ToWorld(47.0, 8.0));
  box.Add(ToWorld(47.2, 8.5));
  view.Fit(box, 40);
  for (const WorldPoint& corner : {ToWorld(47.0, 8.0), ToWorld(47.2, 8.5)}) {
    const QPointF s = view.ToScreen(corner);
    EXPECT_GE(s.x(), 40 - 1e-6);
    EXPECT_LE(s.x(), 760 + 1e-6);
    EXPECT_GE(s.y(), 40 - 1e-6);
    EXPECT_LE(s.y(), 560 + 1e-6);
  }
  // The largest quarter step that fits: one more quarter would not.
  MapView closer = view;
  closer.ZoomAt(QPointF(400, 300), 0.25);
  const QPointF a = closer.ToScreen(ToWorld(47.0, 8.0)), b = closer.ToScreen(ToWorld(47.2, 8.5));
  EXPECT_TRUE(b.x() - a.x() > 720 || a.y() - b.y() > 520);
  // Nothing to show: the whole world.
  view.Fit(WorldBox{}, 40);
  EXPECT_DOUBLE_EQ(view.Zoom(), kMinZoom);
}

}  // namespace
}  // namespace kavro::map
