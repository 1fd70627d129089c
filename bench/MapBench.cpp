// Frames of the map: the full-memory track drawn at 1200 x 800 with its tiles at hand (fetched
// once from a tile server on 127.0.0.1 into a cache folder), still and while panning.
//   bench_map TRACK.trl --cache DIR [--frames N]
// Prints the tile address it used, so a later `kavro map --tiles` run finds the same cache.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "map/MapPainter.h"
#include "map/TileSource.h"
#include "support/TileServer.h"

using Clock = std::chrono::steady_clock;
using namespace kavro;

namespace {

struct Figures {
  double median = 0, worst = 0;
};

Figures Summarise(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back()};
}

double Frame(map::MapPainter& painter, QImage& image, const map::MapView& view, const map::MapData& data,
             const map::TileImages& tiles) {
  const auto start = Clock::now();
  QPainter p(&image);
  painter.Paint(p, view, data, &tiles, {});
  p.end();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::string trl, cache;
  int frames = 60;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--cache") == 0 && i + 1 < argc) cache = argv[++i];
    else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) frames = std::atoi(argv[++i]);
    else trl = argv[i];
  }
  if (trl.empty() || cache.empty() || frames < 2) {
    std::fprintf(stderr, "usage: bench_map TRACK.trl --cache DIR [--frames N]\n");
    return 2;
  }
  StringTable strings;
  map::MapData data;
  auto start = Clock::now();
  if (!map::LoadTrackFiles({trl}, data).empty() || data.PointCount() == 0) {
    std::fprintf(stderr, "cannot read %s\n", trl.c_str());
    return 1;
  }
  const double loadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

  test::TileServer server;
  map::TileSettings settings;
  settings.urlTemplate = QString::fromStdString(server.Url("png"));
  settings.cacheDir = QString::fromStdString(cache);
  map::TileSource tiles(strings, settings);
  map::MapView view(QSizeF(1200, 800), {0.5, 0.5}, 2);
  view.Fit(data.Extent(), 40);
  // Every view of the pan below, fetched first: the frames then draw from what is at hand.
  const QPointF step(7, 3);
  map::MapView walk = view;
  for (int i = 0; i <= frames; ++i, walk.PanBy(step)) map::WaitForTiles(tiles, map::VisibleTiles(walk), 10000);

  QImage image(1200, 800, QImage::Format_RGB32);
  map::MapPainter painter(strings);
  std::vector<double> still, panning;
  for (int i = 0; i < frames; ++i) still.push_back(Frame(painter, image, view, data, tiles));
  walk = view;
  for (int i = 0; i < frames; ++i) {
    walk.PanBy(step);
    tiles.Request(map::VisibleTiles(walk));  // as the window asks on every move
    panning.push_back(Frame(painter, image, walk, data, tiles));
  }
  // Each step of a wheel draws the tracks anew at the new zoom.
  std::vector<double> zooming;
  walk = view;
  for (int i = 0; i < 10; ++i) {
    walk.ZoomAt(QPointF(600, 400), i % 2 == 0 ? 0.25 : -0.25);
    zooming.push_back(Frame(painter, image, walk, data, tiles));
  }
  // While the wheel turns the window shows the last picture of the tracks scaled.
  std::vector<double> turning;
  painter.SetQuickZoom(true);
  for (int i = 0; i < 10; ++i) {
    walk.ZoomAt(QPointF(600, 400), i % 2 == 0 ? 0.25 : -0.25);
    turning.push_back(Frame(painter, image, walk, data, tiles));
  }
  painter.SetQuickZoom(false);
  const double first = still.front();
  still.erase(still.begin());
  const Figures s = Summarise(still), m = Summarise(panning), z = Summarise(zooming), t = Summarise(turning);
  std::printf("tiles %s\n", settings.urlTemplate.toStdString().c_str());
  std::printf("points %zu, loaded in %.1f ms, zoom %.2f, %zu tiles a view, %zu tile requests\n", data.PointCount(),
              loadMs, view.Zoom(), map::VisibleTiles(view).size(), server.Count());
  std::printf("first:   %.2f ms (the tracks drawn for the view)\n", first);
  std::printf("still:   median %.2f ms, worst %.2f ms a frame (%d frames after the first)\n", s.median, s.worst,
              frames - 1);
  std::printf("panning: median %.2f ms, worst %.2f ms a frame (%d frames)\n", m.median, m.worst, frames);
  std::printf("zooming: median %.2f ms, worst %.2f ms a frame (10 wheel steps of a quarter, each at rest)\n", z.median,
              z.worst);
  std::printf("turning: median %.2f ms, worst %.2f ms a frame (10 steps while the wheel turns)\n", t.median, t.worst);
  return 0;
}
