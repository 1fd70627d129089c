#include "map/TileSource.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

#include "Version.h"
#include "common/Texts.h"

namespace kavro::map {
namespace {

constexpr int kMaxConnections = 2;
constexpr int kWritesBetweenPrunes = 100;
constexpr qint64 kMemoryCacheKiB = 48 * 1024;
const char* const kOsmTemplate = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

QImage Drawable(QImage image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

}  // namespace

void PruneTileCache(const QString& root, qint64 limitBytes) {
  struct Entry {
    QDateTime modified;
    qint64 size;
    QString path;
  };
  std::vector<Entry> entries;
  qint64 total = 0;
  QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo fi(it.next());
    entries.push_back({fi.lastModified(), fi.size(), fi.filePath()});
    total += fi.size();
  }
  if (total <= limitBytes) return;
  // The oldest go first, down to nine tenths of the limit, so pruning is not needed at once again.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.modified < b.modified; });
  for (const Entry& e : entries) {
    if (total <= limitBytes / 10 * 9) break;
    if (QFile::remove(e.path)) total -= e.size;
  }
}

TileSource::TileSource(const StringTable& strings, TileSettings settings, QObject* parent)
    : QObject(parent), strings_(strings), settings_(std::move(settings)) {
  if (settings_.cacheDir.isEmpty()) settings_.cacheDir = DefaultCacheDir();
  // One folder per tile server: two servers' tiles of one place differ.
  const QByteArray id = QCryptographicHash::hash(settings_.urlTemplate.toUtf8(), QCryptographicHash::Sha1).toHex();
  folder_ = settings_.cacheDir + QLatin1Char('/') + QString::fromLatin1(id.left(16));
  memory_.setMaxCost(kMemoryCacheKiB);
  network_ = new QNetworkAccessManager(this);
  // Our own folder cache decides what to fetch; Qt's would only add a second copy.
  network_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  PruneCache();
}

TileSource::~TileSource() {
  // Replies still on the way are dropped with the manager; the pruner finishes its folder walk.
  for (QNetworkReply* reply : network_->findChildren<QNetworkReply*>()) reply->abort();
}

QByteArray TileSource::UserAgent() {
  return QByteArrayLiteral("KavroLoggerUtility/") + kVersionText + " (T-580 GPS logger companion; Qt Network)";
}

QString TileSource::DefaultTemplate() {
  const QString forced = qEnvironmentVariable("KAVRO_DEFAULT_TILES");
  return forced.isEmpty() ? QString::fromLatin1(kOsmTemplate) : forced;
}

bool TileSource::ValidTemplate(const QString& t) {
  return (t.startsWith(QLatin1String("http://")) || t.startsWith(QLatin1String("https://"))) &&
         t.contains(QLatin1String("{z}")) && t.contains(QLatin1String("{x}")) && t.contains(QLatin1String("{y}"));
}

QString TileSource::DefaultCacheDir() {
  // The window's cache folder, shared with the command line.
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/kavro-utility/tiles");
}

QString TileSource::Attribution() const {
  return settings_.urlTemplate.contains(QLatin1String("openstreetmap.org")) ? strings_.Text(txt::MapAttributionOsm)
                                                                           : QString();
}

QString TileSource::TilePath(const TileKey& key) const {
  return folder_ + QStringLiteral("/%1/%2/%3.tile").arg(key.z).arg(key.x).arg(key.y);
}

QString TileSource::TileUrl(const TileKey& key) const {
  QString url = settings_.urlTemplate;
  url.replace(QLatin1String("{z}"), QString::number(key.z));
  url.replace(QLatin1String("{x}"), QString::number(key.x));
  url.replace(QLatin1String("{y}"), QString::number(key.y));
  return url;
}

QImage TileSource::Image(const TileKey& key) const {
  const QImage* image = memory_.object(key.Packed());
  return image != nullptr ? *image : QImage();
}

bool TileSource::LoadFromDisk(const TileKey& key, bool* expired) {
  const QString path = TilePath(key);
  const QFileInfo fi(path);
  if (!fi.exists()) return false;
  QImage image;
  if (!image.load(path)) {
    QFile::remove(path);  // a broken copy is fetched again
    return false;
  }
  *expired = fi.lastModified().secsTo(QDateTime::currentDateTime()) > settings_.maxAgeSeconds;
  image = Drawable(std::move(image));
  const int cost = static_cast<int>(std::max<qsizetype>(1, image.sizeInBytes() / 1024));
  memory_.insert(key.Packed(), new QImage(std::move(image)), cost);
  return true;
}

void TileSource::Request(const std::vector<TileKey>& visible) {
  const QDateTime now = QDateTime::currentDateTime();
  std::deque<TileKey> wanted;
  for (const TileKey& key : visible) {
    const quint64 id = key.Packed();
    bool expired = false;
    bool have = false;
    if (memory_.contains(id)) {
      have = true;
      expired = stale_.contains(id);
    } else {
      have = LoadFromDisk(key, &expired);
    }
    if (have && !expired) continue;
    if (expired) stale_.insert(id);
    if (inFlight_.contains(id)) continue;
    const auto failed = failedAt_.constFind(id);
    if (failed != failedAt_.constEnd() && failed->msecsTo(now) < settings_.pauseAfterFailureMs) continue;
    wanted.push_back(key);
  }
  // Only what the view shows now: tiles of a view already left are not fetched.
  queue_ = std::move(wanted);
  StartFetches();
  if (Idle()) emit idle();
}

bool TileSource::Idle() const { return queue_.empty() && inFlight_.isEmpty(); }

void TileSource::StartFetches() {
  if (pausedUntil_.isValid() && QDateTime::currentDateTime() < pausedUntil_) queue_.clear();
  while (inFlight_.size() < kMaxConnections && !queue_.empty()) {
    const TileKey key = queue_.front();
    queue_.pop_front();
    QNetworkRequest request{QUrl(TileUrl(key))};
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setTransferTimeout(settings_.transferTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = network_->get(request);
    inFlight_.insert(key.Packed());
    ++requestsSent_;
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] { OnReply(reply, key); });
  }
}

void TileSource::OnReply(QNetworkReply* reply, TileKey key) {
  reply->deleteLater();
  inFlight_.remove(key.Packed());
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QDateTime now = QDateTime::currentDateTime();
  QString reason;
  if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
    const QByteArray bytes = reply->readAll();
    QImage image;
    if (image.loadFromData(bytes)) {
      Store(key, bytes, std::move(image));
      failedAt_.remove(key.Packed());
      SetProblem(QString());
      emit tileArrived();
    } else {
      reason = strings_.Text(txt::MapTileNotImage);
    }
  } else if (status > 0) {
    reason = strings_.Format(txt::MapTileHttpStatus,
                             {QString::number(status), reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()})
                 .trimmed();
  } else {
    const bool timedOut = reply->error() == QNetworkReply::OperationCanceledError ||
                          reply->error() == QNetworkReply::TimeoutError;
    reason = timedOut ? strings_.Text(txt::MapTileTimeout) : reply->errorString();
    // The server cannot be reached: ask it nothing more for a while.
    pausedUntil_ = now.addMSecs(settings_.pauseAfterFailureMs);
    queue_.clear();
  }
  if (!reason.isEmpty()) {
    failedAt_.insert(key.Packed(), now);
    SetProblem(strings_.Format(txt::MapTilesUnavailable, {reason}));
  }
  StartFetches();
  if (Idle()) emit idle();
}

void TileSource::Store(const TileKey& key, const QByteArray& bytes, QImage image) {
  image = Drawable(std::move(image));
  const int cost = static_cast<int>(std::max<qsizetype>(1, image.sizeInBytes() / 1024));
  memory_.insert(key.Packed(), new QImage(std::move(image)), cost);
  stale_.remove(key.Packed());
  const QString path = TilePath(key);
  // A disk that cannot take it costs only the cache: the tile is shown all the same.
  if (!QDir().mkpath(QFileInfo(path).path())) return;
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) file.commit();
  if (++writesSincePrune_ >= kWritesBetweenPrunes) PruneCache();
}

void TileSource::SetProblem(const QString& problem) {
  if (problem == problem_) return;
  problem_ = problem;
  emit problemChanged();
}

void TileSource::PruneCache() {
  writesSincePrune_ = 0;
  // A walk over a large cache takes a while: never on the window's thread, and one at a time.
  if (pruning_->load()) return;
  if (pruner_.joinable()) pruner_.join();
  pruning_->store(true);
  pruner_ = std::jthread([root = settings_.cacheDir, limit = settings_.cacheLimitBytes, busy = pruning_] {
    PruneTileCache(root, limit);
    busy->store(false);
  });
}

bool WaitForTiles(TileSource& tiles, const std::vector<TileKey>& keys, int timeoutMs) {
  tiles.Request(keys);
  if (!tiles.Idle()) {
    QEventLoop loop;
    QObject::connect(&tiles, &TileSource::idle, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return std::all_of(keys.begin(), keys.end(), [&](const TileKey& k) { return !tiles.Image(k).isNull(); });
}

}  // namespace kavro::map
