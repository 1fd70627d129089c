// kavro download: the Upload button from the command line. Reads the logger's log memory and
// writes the same files as the window: track files, total, waypoints, and a KML beside each
// (or the photo KML with --photos).
#include <csignal>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <stop_token>
#include <chrono>
#include <thread>

#include <CLI/App.hpp>

#include "Commands.h"
#include "Connection.h"
#include "ZoneOption.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "download/LogDownload.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {
namespace {

// Ctrl+C (and a polite kill) cancel the download instead of ending the program, so the logger
// is set back to its normal speed and let go. A thread of ours takes the signals: no globals.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::stop_source& cancel) : cancel_(cancel) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
    thread_ = std::thread([this, set] {
      while (!done_.load()) {
        timespec slice{0, 100 * 1000 * 1000};
        if (sigtimedwait(&set, nullptr, &slice) > 0) cancel_.request_stop();
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
  std::stop_source& cancel_;
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
    if (received_) return;
    total_ = total;
    const StringTable& s = env_.ctx.strings;
    if (!env_.interactive) {
      // Plain lines for a log or a pipe: one per tenth, and the end.
      if (percent == lastPercent_ || (percent / 10 == lastTenth_ && percent != 100)) return;
      lastPercent_ = percent;
      lastTenth_ = percent / 10;
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
    ReceptionDone();
    QTextStream& stream = r.Written() ? env_.out : env_.err;
    stream << FileReportLine(env_.ctx.strings, r) << '\n';
    stream.flush();
  }
  // The core's last status is the download's last line.
  void OnStatus(int textId, const std::vector<std::string>& args) override {
    std::vector<QString> words;
    for (const std::string& a : args) words.push_back(QString::fromStdString(a));
    lastStatusId_ = textId;
    lastStatus_ = env_.ctx.strings.Format(textId, words);
  }
  bool Succeeded() const { return lastStatusId_ == txt::UploadSucceed || lastStatusId_ == txt::UploadSucceedWeekFixed; }
  const QString& LastStatus() const { return lastStatus_; }
  void OnLine(int textId, const std::vector<std::string>& args) override {
    ReceptionDone();
    std::vector<QString> words;
    for (const std::string& a : args) words.push_back(QString::fromStdString(a));
    env_.out << env_.ctx.strings.Format(textId, words) << '\n';
    env_.out.flush();
  }
  void OnPhotoLine(const std::string& line) override {
    ReceptionDone();
    env_.err << QString::fromStdString(line) << '\n';
    env_.err.flush();
  }
  // The files come only once every sector has: the progress ends at 100% before their lines.
  void ReceptionDone() {
    if (!received_) OnProgress(100, total_, total_);
    received_ = true;
    EndLine();
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
  int lastTenth_ = -1;
  std::uint64_t total_ = 0;
  bool received_ = false;
  int lastStatusId_ = 0;
  QString lastStatus_;
  int lineWidth_ = 0;
  bool lineOpen_ = false;
};

class DownloadCommand : public Command {
 public:
  explicit DownloadCommand(CLI::App& program)
      : Command(program, "download", "Read the logger's log memory and write its track log files, as Upload does") {
    port_.AddTo(Sub());
    // Without either, the port list decides, as in the window: a CP210x or Prolific bridge, or
    // the simulated logger, reads at 921600 baud.
    CLI::Option* fast = Sub().add_flag("--fast", fast_, "Read at 921600 baud, as through a USB bridge (CP210x, Prolific)");
    Sub().add_flag("--slow", slow_, "Read at the port's normal speed, also through a USB bridge")->excludes(fast);
    Sub().add_option("--dir", dir_, "Directory the track log files are written to")->option_text("DIR")->required();
    Sub().add_flag("--total", total_, "Also write all tracks into one file");
    zone_.AddTo(Sub(), "Time zone of the file names and times, e.g. +08:00 or Europe/Berlin; kavro zones lists them (default: the system's)");
    Sub().add_option("--photos", photos_, "Combine with the photos of this directory instead of a plain KML")
        ->option_text("DIR");
    Sub().add_flag("--write-gps", writeGps_, "With --photos: also write copies of the photos with GPS data");
    AddWeekFixOption();
    Sub().add_flag("--full", full_,
                   "Read the whole log memory, not only what is new since the last download of this logger");
    Sub().add_flag("--clear-after", clearAfter_,
                   "Erase the log once every sector was read and every file written (this is the confirmation)");
  }

  int Run(CliEnv& env) override;

 private:
  void AddWeekFixOption() {
    Sub().add_flag("--no-week-fix", noWeekFix_,
                   "Drop records dated 1024 weeks early (GPS week rollover) instead of correcting their dates");
  }
  bool noWeekFix_ = false;
  PortOptions port_;
  std::string dir_, photos_;
  bool total_ = false, writeGps_ = false, fast_ = false, slow_ = false, full_ = false, clearAfter_ = false;
  ZoneOption zone_;
};

int DownloadCommand::Run(CliEnv& env) {
  const StringTable& s = env.ctx.strings;
  if (writeGps_ && photos_.empty()) return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--photos")}));
  std::error_code ec;
  if (!std::filesystem::is_directory(dir_, ec)) return env.Fail(s.Format(txt::DirectoryMissing, {QString::fromStdString(dir_)}));
  if (!photos_.empty() && !std::filesystem::is_directory(photos_, ec))
    return env.Fail(s.Format(txt::DirectoryMissing, {QString::fromStdString(photos_)}));
  int photoRow = kUtcZoneRow;
  if (zone_.Given()) {
    const std::optional<int> row = zone_.Row(env);
    if (!row) return 2;
    env.ctx.zone.ApplyZone(*row);
    photoRow = *row;
  }

  std::stop_source cancel;
  InterruptWatch watch(cancel);
  LoggerConnection logger(env);
  if (const int status = logger.Open(port_); status != 0) return status;

  DownloadSetup setup;
  setup.bridge = fast_ || (!slow_ && logger.OnBridge());
  setup.releasedAfter = true;
  setup.photoZoneRow = photoRow;
  setup.writeGps = writeGps_;
  setup.keptFolder = env.ctx.keptCopyFolder;
  setup.choose = [this] {
    TransferChoice c;
    c.directory = dir_;
    c.directoryChosen = true;
    c.writeTotal = total_;
    c.photoDirectory = photos_;
    c.combinePhotos = !photos_.empty();
    c.weekFix = !noWeekFix_;
    c.readOnlyNew = !full_;
    c.clearAfter = clearAfter_;
    return std::optional<TransferChoice>(c);
  };
  PrintingListener listener(env);
  const DownloadResult r = LogDownload(env.ctx.link, env.ctx.device, nullptr, env.ctx.zone, s, setup, listener, cancel.get_token());
  listener.EndLine();
  if (r.outcome != DownloadOutcome::Complete) {
    logger.Close();
    return env.Fail(s.Text(r.outcome == DownloadOutcome::NotConnected ? txt::UploadFailedNoDevice
                                                                        : txt::TransmissionInterrupt));
  }
  if (r.validRecords == 0) env.err << s.Text(txt::NoTrackRecords) << '\n';
  logger.Close();
  if (!listener.Succeeded()) return env.Fail(listener.LastStatus());
  if (r.clearFailed) return env.Fail(s.Text(txt::ConnectionFailedSettings));
  env.out << listener.LastStatus() << '\n';
  env.out.flush();
  env.err.flush();
  return 0;
}

}  // namespace

std::unique_ptr<Command> AddDownload(CLI::App& program) { return std::make_unique<DownloadCommand>(program); }

}  // namespace kavro::cli
