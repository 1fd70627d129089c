#pragma once
#include <QCache>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <atomic>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "common/StringTable.h"
#include "map/MapPainter.h"
#include "map/TileKey.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace kavro::map {

// Keeps a tile cache folder under its size limit: the files least recently written go first.
void PruneTileCache(const QString& root, qint64 limitBytes);

// How tiles are fetched and kept.
struct TileSettings {
  QString urlTemplate;  // http(s) address with {z}, {x} and {y}
  // The disk cache's folder; empty: "tiles" in the user's cache folder.
  QString cacheDir;
  qint64 cacheLimitBytes = 300LL * 1024 * 1024;
  // A tile older than this is fetched again (and shown until the new one comes).
  qint64 maxAgeSeconds = 14LL * 24 * 3600;
  int transferTimeoutMs = 10000;
  // After the server could not be reached, this long before it is asked again.
  int pauseAfterFailureMs = 60000;
};

// Tiles of one tile server for the map: from memory, from the disk cache, else fetched in the
// background (at most two at a time, only what the view shows, with a User-Agent that names the
// program). Nothing here ever waits: a tile that is not there yet is simply not drawn, and
// tileArrived() tells when one came.
class TileSource : public QObject, public TileImages {
  Q_OBJECT
 public:
  TileSource(const StringTable& strings, TileSettings settings, QObject* parent = nullptr);
  ~TileSource() override;

  QImage Image(const TileKey& key) const override;
  // The tiles a view shows: ready ones from the disk come into memory, missing or expired ones
  // are queued; queued tiles the view no longer shows are dropped.
  void Request(const std::vector<TileKey>& visible);
  // Nothing queued and nothing on the way.
  bool Idle() const;
  // Why tiles are missing, in words ("Map tiles unavailable: ..."); empty while all is well.
  QString Problem() const { return problem_; }
  // The credit the tile server asks for, or empty.
  QString Attribution() const;
  int RequestsSent() const { return requestsSent_; }
  const TileSettings& Settings() const { return settings_; }

  // The program's User-Agent: name and version.
  static QByteArray UserAgent();
  // OpenStreetMap's standard tiles, unless KAVRO_DEFAULT_TILES names another address (the tests
  // point it at a port where nothing listens, so they never reach out).
  static QString DefaultTemplate();
  static bool ValidTemplate(const QString& urlTemplate);
  static QString DefaultCacheDir();

 signals:
  void tileArrived();
  void problemChanged();
  void idle();

 private:
  QString TilePath(const TileKey& key) const;
  QString TileUrl(const TileKey& key) const;
  bool LoadFromDisk(const TileKey& key, bool* expired);
  void StartFetches();
  void OnReply(QNetworkReply* reply, TileKey key);
  void Store(const TileKey& key, const QByteArray& bytes, QImage image);
  void SetProblem(const QString& problem);
  void PruneCache();

  const StringTable& strings_;
  TileSettings settings_;
  QString folder_;
  QNetworkAccessManager* network_ = nullptr;
  mutable QCache<quint64, QImage> memory_;
  std::deque<TileKey> queue_;
  QSet<quint64> inFlight_;
  QSet<quint64> stale_;  // in memory but older than the age limit: shown, and fetched again
  QHash<quint64, QDateTime> failedAt_;
  QDateTime pausedUntil_;
  QString problem_;
  int requestsSent_ = 0;
  int writesSincePrune_ = 0;
  std::shared_ptr<std::atomic<bool>> pruning_ = std::make_shared<std::atomic<bool>>(false);
  std::jthread pruner_;
};

// For a picture made without a window (the command line): asks for the tiles and runs the
// event loop until they came or timeoutMs passed. True when nothing is missing.
bool WaitForTiles(TileSource& tiles, const std::vector<TileKey>& keys, int timeoutMs);

}  // namespace kavro::map
