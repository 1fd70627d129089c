// Tiles from a server on 127.0.0.1 started here: the User-Agent, two connections at most, the
// cache that makes a second draw ask nothing, and servers that fail in every way leaving a
// finished picture on the grid background.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "common/StringTable.h"
#include "map/MapPicture.h"
#include "map/TileSource.h"
#include "support/TileServer.h"
#include "support/WriterTestSupport.h"

namespace kavro::map {
namespace {

using test::TileServer;

struct TileScene {
  StringTable strings;
  TileServer server;
  QString cache = QString::fromStdString(TempDir("map-tiles").string());
  // 45 N 90 E at zoom 10 in 600 x 400: 3 x 3 tiles or so.
  MapView view{QSizeF(600, 400), ToWorld(45, 90), 10};
  MapData data;
  TileScene() {
    MapTrack t;
    t.color = TrackColor(0);
    for (int i = 0; i < 5; ++i) {
      MapPoint p;
      p.lat = 45;
      p.lon = 89.95 + i * 0.025;
      p.world = ToWorld(p.lat, p.lon);
      t.points.push_back(p);
    }
    data.tracks.push_back(t);
  }
  TileSettings Settings(const std::string& mode) const {
    TileSettings s;
    s.urlTemplate = QString::fromStdString(server.Url(mode));
    s.cacheDir = cache;
    s.transferTimeoutMs = 1500;
    return s;
  }
  QImage Draw(const TileSource& tiles, const QString& note = {}) const {
    MapOverlay overlay;
    overlay.tileNote = note;
    return RenderPicture(strings, view, data, &tiles, overlay, {});
  }
};

// A pixel left of the track, under no mark, label or grid line (those run at 89.6 and 89.8 E).
constexpr int kProbeX = 60, kProbeY = 260;

TEST(TileSource, FetchesWhatTheViewShowsWithTheUserAgentAndAtMostTwoAtATime) {
  TileScene s;
  TileSource tiles(s.strings, s.Settings("png"));
  const std::vector<TileKey> keys = VisibleTiles(s.view);
  ASSERT_GE(keys.size(), 4u);
  EXPECT_TRUE(WaitForTiles(tiles, keys, 8000));
  EXPECT_EQ(s.server.Count(), keys.size());
  for (const TileServer::Hit& hit : s.server.Hits()) {
    EXPECT_EQ(hit.userAgent, TileSource::UserAgent().toStdString());
    EXPECT_EQ(hit.path.rfind("/png/10/", 0), 0u) << hit.path;
  }
  EXPECT_NE(TileSource::UserAgent().indexOf("KavroLoggerUtility/"), -1);
  EXPECT_LE(s.server.MaxOpen(), 2);
  EXPECT_TRUE(tiles.Problem().isEmpty());
  // The tile under the probe is drawn where the grid background was.
  const WorldPoint w = s.view.ToWorld(QPointF(kProbeX, kProbeY));
  const QImage image = s.Draw(tiles);
  EXPECT_EQ(image.pixel(kProbeX, kProbeY) | 0xff000000,
            TileServer::TileColor(10, static_cast<int>(w.x * 1024), static_cast<int>(w.y * 1024)));
  // The track stays on top: 45 N 90 E, the middle of the picture.
  const QRgb mid = image.pixel(300, 200);
  EXPECT_GT(qRed(mid), 180);
  EXPECT_LT(qGreen(mid), 60);
}

TEST(TileSource, SecondDrawOfTheSameViewAsksNothing) {
  TileScene s;
  const std::vector<TileKey> keys = VisibleTiles(s.view);
  {
    TileSource tiles(s.strings, s.Settings("png"));
    ASSERT_TRUE(WaitForTiles(tiles, keys, 8000));
    const std::size_t first = s.server.Count();
    // Again from memory.
    EXPECT_TRUE(WaitForTiles(tiles, keys, 8000));
    EXPECT_EQ(s.server.Count(), first);
  }
  // A new run: from the disk cache, at once.
  const std::size_t before = s.server.Count();
  TileSource again(s.strings, s.Settings("png"));
  again.Request(keys);
  EXPECT_TRUE(again.Idle());
  for (const TileKey& k : keys) EXPECT_FALSE(again.Image(k).isNull());
  EXPECT_EQ(s.server.Count(), before);
  EXPECT_EQ(again.RequestsSent(), 0);
}

TEST(TileSource, AnExpiredTileIsShownUntilTheNewOneComes) {
  TileScene s;
  const std::vector<TileKey> keys = VisibleTiles(s.view);
  {
    TileSource tiles(s.strings, s.Settings("png"));
    ASSERT_TRUE(WaitForTiles(tiles, keys, 8000));
  }
  // Make one cached tile a month old.
  const TileKey old = keys.front();
  QString path;
  for (const QFileInfo& dir : QDir(s.cache).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
    path = dir.filePath() + QStringLiteral("/%1/%2/%3.tile").arg(old.z).arg(old.x).arg(old.y);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime));
  file.close();
  const std::size_t before = s.server.Count();
  TileSource tiles(s.strings, s.Settings("png"));
  tiles.Request(keys);
  // Shown at once from the old copy, and asked for again: only that one.
  EXPECT_FALSE(tiles.Image(old).isNull());
  EXPECT_FALSE(tiles.Idle());
  EXPECT_TRUE(WaitForTiles(tiles, keys, 8000));
  EXPECT_EQ(s.server.Count(), before + 1);
  EXPECT_GT(QFileInfo(path).lastModified(), QDateTime::currentDateTime().addDays(-1));
}

void ExpectGridBackground(const TileScene& s, const TileSource& tiles) {
  const QImage image = s.Draw(tiles, tiles.Problem());
  ASSERT_EQ(image.size(), QSize(600, 400));
  EXPECT_EQ(image.pixel(kProbeX, kProbeY), MapPainter::kBackground);
}

TEST(TileSource, NotAPictureOr404LeaveTheGridBackgroundAndSayWhy) {
  for (const char* mode : {"junk", "404"}) {
    SCOPED_TRACE(mode);
    TileScene s;
    TileSource tiles(s.strings, s.Settings(mode));
    EXPECT_FALSE(WaitForTiles(tiles, VisibleTiles(s.view), 8000));
    EXPECT_TRUE(tiles.Idle());
    EXPECT_TRUE(tiles.Problem().startsWith(QStringLiteral("Map tiles unavailable: "))) << tiles.Problem().toStdString();
    EXPECT_TRUE(tiles.Problem().contains(std::string(mode) == "404" ? QStringLiteral("404") : QStringLiteral("not a picture")))
        << tiles.Problem().toStdString();
    ExpectGridBackground(s, tiles);
    // Nothing broken was kept in the cache.
    int files = 0;
    for (QDirIterator it(s.cache, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next()) ++files;
    EXPECT_EQ(files, 0);
  }
}

TEST(TileSource, ServerThatNeverAnswersTimesOutAndIsLeftAloneForAWhile) {
  TileScene s;
  TileSource tiles(s.strings, s.Settings("silent"));
  const std::vector<TileKey> keys = VisibleTiles(s.view);
  EXPECT_FALSE(WaitForTiles(tiles, keys, 8000));
  EXPECT_TRUE(tiles.Idle());
  EXPECT_TRUE(tiles.Problem().contains(QStringLiteral("did not answer in time"))) << tiles.Problem().toStdString();
  // Two were asked, then it was given up for now: no more requests for this view or the next.
  EXPECT_EQ(s.server.Count(), 2u);
  MapView moved = s.view;
  moved.PanBy(QPointF(600, 0));
  tiles.Request(VisibleTiles(moved));
  EXPECT_TRUE(tiles.Idle());
  EXPECT_EQ(s.server.Count(), 2u);
  ExpectGridBackground(s, tiles);
}

TEST(TileSource, CacheIsKeptUnderItsLimitOldestFirst) {
  const QString root = QString::fromStdString(TempDir("map-prune").string());
  QDir().mkpath(root + QStringLiteral("/a/1/2"));
  const QDateTime now = QDateTime::currentDateTime();
  for (int i = 0; i < 10; ++i) {
    QFile f(root + QStringLiteral("/a/1/2/%1.tile").arg(i));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, 'x'));
    f.flush();  // else the write on close sets the time again
    f.setFileTime(now.addSecs(-1000 + i), QFileDevice::FileModificationTime);
  }
  PruneTileCache(root, 10000);  // at the limit: nothing goes
  EXPECT_EQ(QDir(root + QStringLiteral("/a/1/2")).entryList(QDir::Files).size(), 10);
  PruneTileCache(root, 6000);  // down to 5400 bytes: the five oldest go
  const QStringList left = QDir(root + QStringLiteral("/a/1/2")).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(left, (QStringList{"5.tile", "6.tile", "7.tile", "8.tile", "9.tile"}));
}

TEST(TileSource, AddressRulesAndTheDefaultTheTestsMakeUnreachable) {
  EXPECT_TRUE(TileSource::ValidTemplate(QStringLiteral("https://tile.example.org/{z}/{x}/{y}.png")));
  EXPECT_FALSE(TileSource::ValidTemplate(QStringLiteral("https://tile.example.org/{z}/{x}.png")));
  EXPECT_FALSE(TileSource::ValidTemplate(QStringLiteral("file:///tmp/{z}/{x}/{y}.png")));
  const QByteArray saved = qgetenv("KAVRO_DEFAULT_TILES");
  qunsetenv("KAVRO_DEFAULT_TILES");
  EXPECT_EQ(TileSource::DefaultTemplate(), QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"));
  StringTable strings;
  TileSettings osm;
  osm.urlTemplate = TileSource::DefaultTemplate();
  osm.cacheDir = QString::fromStdString(TempDir("map-osm").string());
  EXPECT_EQ(TileSource(strings, osm).Attribution(), QStringLiteral("© OpenStreetMap contributors"));
  qputenv("KAVRO_DEFAULT_TILES", "http://127.0.0.1:9/{z}/{x}/{y}.png");
  EXPECT_EQ(TileSource::DefaultTemplate(), QStringLiteral("http://127.0.0.1:9/{z}/{x}/{y}.png"));
  if (saved.isEmpty())
    qunsetenv("KAVRO_DEFAULT_TILES");
  else
    qputenv("KAVRO_DEFAULT_TILES", saved);
}

}  // namespace
}  // namespace kavro::map
