// kavro download: the Upload button from the command line. Reads the logger's log memory and
// writes the same files as the window: track files, total, waypoints, and a KML beside each
// (or the photo KML with --photos).
#include <csignal>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Cli.h"
#include "Connection.h"
#include "common/Texts.h"
#include "download/LogDownload.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {
namespace {

// Ctrl+C (and a polite kill) cancel the download instead of ending the program, so the logger
// is set back to its normal speed and let go. A thread of ours takes the signals: no globals.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::atomic<bool>& cancel) : cancel_(cancel) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
    thread_ = std::thread([this, set] {
      while (!done_.load()) {
        timespec slice{0, 100 * 1000 * 1000};
        if (sigtimedwait(&set, nullptr, &slice) > 0) cancel_ = true;
      }
    });
  }
  ~InterruptWatch() {
    done_ = true;
    thread_.join();
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  std::atomic<bool>& cancel_;
  std::atomic<bool> done_{false};
  sigset_t old_{};
  std::thread thread_;
};

QString Duration(double seconds) {
  const long s = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
  return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

class PrintingListener : public DownloadListener {
 public:
  explicit PrintingListener(CliEnv& env) : env_(env), start_(std::chrono::steady_clock::now()) {}

  void OnProgress(int percent, std::uint64_t done, std::uint64_t total) override {
    const StringTable& s = env_.ctx.strings;
    if (!env_.interactive) {
      // Plain lines for a log or a pipe: one per percent step.
      if (percent == lastPercent_) return;
      lastPercent_ = percent;
      env_.out << s.Format(txt::DownloadProgressPlain, {QString::number(percent)}) << '\n';
      env_.out.flush();
      return;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0;
    const double left = rate > 0 ? static_cast<double>(total - done) / rate : 0;
    QString line = s.Format(txt::DownloadProgressLine, {QString::number(percent), QString::number(rate / 1024.0, 'f', 1),
                                                        Duration(left)});
    const int width = static_cast<int>(line.size());
    if (width < lineWidth_) line += QString(lineWidth_ - width, QLatin1Char(' '));
    lineWidth_ = width;
    env_.out << '\r' << line;
    env_.out.flush();
    lineOpen_ = true;
  }
  void OnFile(const TrackFileReport& r) override {
    EndLine();
    const QString p = QString::fromStdString(r.path.string());
    if (r.textId == txt::CreateFileOk) {
      env_.out << env_.ctx.strings.Text(txt::CreateFileOk) << ' ' << p << '\n';
      env_.out.flush();
    } else {
      env_.err << env_.ctx.strings.Format(r.textId, {p, QString::fromStdString(r.reason)}) << '\n';
      env_.err.flush();
    }
  }
  void OnPhotoLine(const std::string& line) override {
    EndLine();
    env_.err << QString::fromStdString(line) << '\n';
    env_.err.flush();
  }
  void EndLine() {
    if (!lineOpen_) return;
    env_.out << '\n';
    env_.out.flush();
    lineOpen_ = false;
  }

 private:
  CliEnv& env_;
  std::chrono::steady_clock::time_point start_;
  int lastPercent_ = -1;
  int lineWidth_ = 0;
  bool lineOpen_ = false;
};

}  // namespace

std::optional<int> ZoneRowForCli(const QString& zoneText);

int RunDownload(CliEnv& env, const QStringList& args) {
  const QString usage = QStringLiteral(
      "usage: kavro download (--port PATH [--fast] | --simulate[=SCENARIO]) --dir DIR [--total] [--zone LABEL] "
      "[--photos DIR [--write-gps]]\n"
      "  --fast  the port is a USB bridge (CP210x, Prolific): read at 921600 baud; --simulate always is");
  const StringTable& s = env.ctx.strings;
  PortOptions port;
  QString dir, zoneText, photos;
  bool total = false, writeGps = false, fast = false;
  for (int i = 0; i < args.size(); ++i) {
    QString error;
    if (TakePortOption(env, args, i, port, error)) {
      if (!error.isEmpty()) return env.Usage(error + '\n' + usage);
      continue;
    }
    const QString& a = args[i];
    auto value = [&](const QString& name, QString& into) {
      if (a.startsWith(name + '=')) {
        into = a.mid(name.size() + 1);
        return true;
      }
      if (a != name || i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == QLatin1String("--total")) total = true;
    else if (a == QLatin1String("--write-gps")) writeGps = true;
    else if (a == QLatin1String("--fast")) fast = true;
    else if (a == QLatin1String("--dir") || a.startsWith(QLatin1String("--dir="))) {
      if (!value(QStringLiteral("--dir"), dir) || dir.isEmpty())
        return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--dir")}) + '\n' + usage);
    } else if (a == QLatin1String("--zone") || a.startsWith(QLatin1String("--zone="))) {
      if (!value(QStringLiteral("--zone"), zoneText))
        return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--zone")}) + '\n' + usage);
    } else if (a == QLatin1String("--photos") || a.startsWith(QLatin1String("--photos="))) {
      if (!value(QStringLiteral("--photos"), photos) || photos.isEmpty())
        return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--photos")}) + '\n' + usage);
    } else {
      return env.Usage(s.Format(txt::UnknownOption, {a}) + '\n' + usage);
    }
  }
  if (dir.isEmpty()) return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--dir")}) + '\n' + usage);
  if (writeGps && photos.isEmpty())
    return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--photos")}) + '\n' + usage);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir.toStdString(), ec)) return env.Fail(s.Format(txt::DirectoryMissing, {dir}));
  if (!photos.isEmpty() && !std::filesystem::is_directory(photos.toStdString(), ec))
    return env.Fail(s.Format(txt::DirectoryMissing, {photos}));
  int photoRow = kUtcZoneRow;
  if (!zoneText.isNull()) {
    const std::optional<int> row = ZoneRowForCli(zoneText);
    if (!row) return env.Usage(s.Format(txt::ZoneNotInTable, {zoneText}));
    env.ctx.zone.ApplyZone(*row);
    photoRow = *row;
  }

  std::atomic<bool> cancel{false};
  InterruptWatch watch(cancel);
  LoggerConnection logger(env);
  if (const int status = logger.Open(port); status != 0) return status;

  DownloadSetup setup;
  // The simulated logger stands for one behind a CP210x bridge, so it takes the fast path.
  setup.bridge = port.simulate || fast;
  setup.photoZoneRow = photoRow;
  setup.writeGps = writeGps;
  setup.choose = [&] {
    TransferChoice c;
    c.directory = dir.toStdString();
    c.directoryChosen = true;
    c.writeTotal = total;
    c.photoDirectory = photos.toStdString();
    c.combinePhotos = !photos.isEmpty();
    return std::optional<TransferChoice>(c);
  };
  PrintingListener listener(env);
  const DownloadResult r =
      LogDownload(env.ctx.link, env.ctx.device, nullptr, env.ctx.zone, s, setup, listener, cancel);
  listener.EndLine();
  if (r.outcome != DownloadOutcome::Complete) {
    logger.Close();
    return env.Fail(s.Text(r.outcome == DownloadOutcome::NotConnected ? txt::UploadFailedNoDevice
                                                                        : txt::TransmissionInterrupt));
  }
  if (r.validRecords == 0) env.err << s.Text(txt::NoTrackRecords) << '\n';
  env.out << s.Text(txt::UploadSucceed) << '\n';
  env.out.flush();
  env.err.flush();
  logger.Close();
  return r.failedFiles == 0 ? 0 : 1;
}

}  // namespace kavro::cli
