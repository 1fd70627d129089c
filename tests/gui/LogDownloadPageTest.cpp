// Upload on the Track Log Setting page against the simulated T-580: the Transform to File dialog,
// the controls the download disables and enables, the Track Log File Status list, the files
// written, and the window closed in the middle of a download.
#include <QCheckBox>
#include <QListWidget>
#include <QScreen>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

#include "support/Files.h"
#include "support/GuiTestSupport.h"
#include "OwnerDrawTabBar.h"
#include "TrackLogFileStatusDialog.h"
#include "TrackLogPage.h"
#include "TransferDialog.h"
#include "download/LogDecoder.h"
#include "download/LogDownload.h"
#include "MapPage.h"

using namespace kavro;
using namespace kavro::gui;
using kavro::gui::test::SimulatedLogger;
namespace fs = std::filesystem;
using kavro::test::ReadDir;

using kavro::test::WaitFor;

namespace {

// Answers the next message box that comes up (they run their own loop) and keeps its text.
void AnswerNextMessageBox(QString* text) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, text] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      *text = box->text();
      box->button(QMessageBox::Ok)->click();
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(20);
}

struct Session {
  SimulatedLogger logger;
  std::unique_ptr<AppContext> ctx;
  std::unique_ptr<MainWindow> window;
  fs::path dir;

  ~Session() {
    window.reset();
    fs::remove_all(dir);
  }
  TrackLogPage* Page() const { return window->TrackLog(); }
  template <typename T>
  T* Find(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QString Status() const { return Find<QLabel>("clearStatus")->text(); }
  TransferDialog* Dialog() const {
    WaitFor([this] { return Page()->OpenTransferDialog() != nullptr && Page()->OpenTransferDialog()->isVisible(); },
            20000);
    return Page()->OpenTransferDialog();
  }
  void ClickUpload() { test::Button(Page(), "uploadButton")->click(); }
  // Chooses the track log folder in the dialog and presses OK.
  void ChooseAndOk(bool total) {
    TransferDialog* d = Dialog();
    QVERIFY(d);
    const QString path = QString::fromStdString(dir.string());
    d->browse = [path](QWidget*, const QString&) { return path; };
    test::Button(d, "directoryButton")->click();
    if (total) d->findChild<QCheckBox*>(QStringLiteral("writeTotalCheck"))->setChecked(true);
    test::Button(d, "okButton")->click();
  }
  void WaitEnd() { QVERIFY(WaitFor([this] { return !Page()->Downloading() && !Page()->IsBusy(); })); }

  // What `kavro tracks` writes from the simulator's memory, KML included.
  std::map<std::string, std::string> Reference(bool total) const {
    const fs::path want = dir.string() + "-want";
    auto files = kavro::test::TrackFilesOf(logger.sim->Memory(), ctx->device.Snapshot(), ctx->zone.Clock(), total, want);
    fs::remove_all(want);
    return files;
  }
};

std::unique_ptr<Session> Start(const std::string& scenario, bool bridge, sim::SimulatorOptions options = {},
                               const std::function<void(sim::Scenario&)>& edit = [](sim::Scenario&) {}) {
  auto s = std::make_unique<Session>();
  s->dir = fs::temp_directory_path() / ("kavro-gui-download-" + std::to_string(::getpid()));
  fs::remove_all(s->dir);
  fs::create_directories(s->dir);
  s->logger = SimulatedLogger::Start(scenario, edit, options);
  s->ctx = std::make_unique<AppContext>();
  s->window = std::make_unique<MainWindow>(*s->ctx);
  DownloadTiming t;
  t.speedPause = std::chrono::milliseconds(20);
  t.settlePause = std::chrono::milliseconds(20);
  t.keepAlivePause = std::chrono::milliseconds(20);
  s->Page()->SetDownloadTiming(t);
  s->window->show();
  if (!s->logger.sim) return s;
  const PortInfo port = bridge ? s->logger.Cp210xPort() : s->logger.Port();
  test::ConnectThrough(s->window->Device(), {port}, s->logger.path);
  s->window->ShowPage(MainWindow::kTrackLogTab);
  s->logger.sim->ClearReceived();
  return s;
}

}  // namespace

class LogDownloadTest : public QObject {
  Q_OBJECT

 private slots:
  void uploadWritesTheFilesOfTheLoggerMemory() {
    auto s = Start("demo", false);
    QVERIFY(s->window->Device()->IsConnected());
    s->ClickUpload();
    QCOMPARE(s->Status(), QStringLiteral("Start Uploading..."));
    QCOMPARE(s->Find<QLabel>("uploadPercent")->text(), QStringLiteral("0%"));
    // While the download runs, nothing else can start another transfer.
    OwnerDrawTabBar* tabs = s->window->TabBar();
    QVERIFY(s->Dialog());
    for (int tab : {MainWindow::kDeviceTab, MainWindow::kConversionTab, MainWindow::kPhotoTab, MainWindow::kFirmwareTab})
      QVERIFY2(!tabs->IsTabEnabled(tab), qPrintable(QString::number(tab)));
    QVERIFY(tabs->IsTabEnabled(MainWindow::kTrackLogTab));
    QVERIFY(tabs->IsTabEnabled(MainWindow::kMapTab));  // the map never waits for the logger
    for (const char* b : {"okButton", "cancelButton", "applyAllButton", "defaultAllButton"})
      QVERIFY(!s->window->findChild<QPushButton*>(QString::fromLatin1(b), Qt::FindDirectChildrenOnly)->isEnabled());
    QVERIFY(!test::Button(s->window->Device(), "connectButton")->isEnabledTo(s->window->Device()));
    QVERIFY(!test::Button(s->Page(), "clearButton")->isEnabled());
    QVERIFY(!test::Button(s->Page(), "uploadButton")->isEnabled());
    // The status list is there, but shows only once a folder is chosen: not empty behind the dialog.
    QPointer<TrackLogFileStatusDialog> list = s->Page()->StatusDialog();
    QVERIFY(list && !list->isVisible());
    QVERIFY(!list->OkButton()->isEnabled());

    s->ChooseAndOk(true);
    QVERIFY(list && list->isVisible());
    s->WaitEnd();
    QCOMPARE(s->Status(), QStringLiteral("Upload Succeed!"));
    QCOMPARE(s->Find<QLabel>("uploadPercent")->text(), QStringLiteral("100%"));
    QCOMPARE(s->Find<QProgressBar>("uploadProgress")->value(), 100);
    const auto want = s->Reference(true);
    QCOMPARE(ReadDir(s->dir), want);
    // The list: every .trl (tracks, total, waypoints), then the KML of each in the same order.
    const QStringList lines = list->Lines();
    QCOMPARE(lines.size(), int(want.size()));
    for (int i = 0; i < lines.size(); ++i) {
      QVERIFY(lines[i].startsWith(QStringLiteral("Create File OK ")));
      QVERIFY(lines[i].endsWith(i < lines.size() / 2 ? QStringLiteral(".trl") : QStringLiteral(".kml")));
      if (i >= lines.size() / 2) QCOMPARE(lines[i].chopped(4), lines[i - lines.size() / 2].chopped(4));
    }
    QVERIFY(lines[lines.size() - 2].contains(QStringLiteral("_T-580_Total_Start_")));
    // Whole names: the list is wide enough for a line as the download writes it (as far as the
    // screen allows; beyond, shortened in the middle), and each line is whole in its tooltip.
    auto* shown = list->findChild<QListWidget*>(QStringLiteral("statusList"));
    QCOMPARE(shown->textElideMode(), Qt::ElideMiddle);
    const int room = list->screen()->availableGeometry().width() * 9 / 10;
    for (int i = 0; i < shown->count(); ++i) {
      QCOMPARE(shown->item(i)->toolTip(), lines[i]);
      const bool fits = shown->fontMetrics().horizontalAdvance(lines[i]) <= shown->viewport()->width();
      QVERIFY2(fits || shown->width() >= room, qPrintable(lines[i]));
    }
    QVERIFY(shown->width() >= std::min(room, shown->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 100));
    QVERIFY(lines.last().endsWith(QStringLiteral("_T-580_Waypoints.kml")));
    // The map shows what was written at once: each track in its colour (not the total again),
    // and the waypoints.
    const kavro::map::MapData& onMap = s->window->Map()->Data();
    int trackFiles = 0;
    for (const auto& [name, bytes] : want)
      trackFiles += name.ends_with(".trl") && name.find("_Total_") == std::string::npos &&
                    name.find("_Waypoints") == std::string::npos;
    QCOMPARE(int(onMap.tracks.size()), trackFiles);
    QCOMPARE(onMap.tracks.front().color, kavro::map::TrackColor(0));
    QVERIFY(!onMap.waypoints.empty());
    // Everything back as it was; the list's OK closes it.
    for (int tab : {MainWindow::kDeviceTab, MainWindow::kConversionTab, MainWindow::kPhotoTab})
      QVERIFY(tabs->IsTabEnabled(tab));
    QVERIFY(!tabs->IsTabEnabled(MainWindow::kFirmwareTab));
    QVERIFY(test::Button(s->Page(), "uploadButton")->isEnabled());
    QVERIFY(test::Button(s->Page(), "clearButton")->isEnabled());
    QVERIFY(test::Button(s->window->Device(), "connectButton")->isEnabledTo(s->window->Device()));
    QVERIFY(list->OkButton()->isEnabled());
    // Disconnected and connected again: the bar starts afresh, not at the last download's 100%.
    s->window->ShowPage(MainWindow::kDeviceTab);
    test::ClickDisconnect(s->window->Device());
    test::ClickConnect(s->window->Device(), s->logger);
    QVERIFY(s->window->Device()->IsConnected());
    QCOMPARE(s->Find<QProgressBar>("uploadProgress")->value(), 0);
    QCOMPARE(s->Find<QLabel>("uploadPercent")->text(), QString());
    s->window->ShowPage(MainWindow::kTrackLogTab);
    // A plain port: no speed change.
    QVERIFY(s->logger.ReceivedWith("$PMTK182,14").empty());

    // A second Upload replaces the list with a fresh, empty one.
    s->ClickUpload();
    QVERIFY(WaitFor([&] { return !list; }));
    QVERIFY(s->Page()->StatusDialog());
    QVERIFY(s->Page()->StatusDialog()->Lines().isEmpty());
    test::Button(s->Dialog(), "cancelButton")->click();
    s->WaitEnd();
    // Cancelled: the empty list does not stay behind.
    QVERIFY(WaitFor([&] { return s->Page()->StatusDialog() == nullptr; }, 5000));
  }

  // Every sector came but a file could not be written: the status line says so, not success.
  void aFileThatCannotBeWrittenEndsInAFailureStatus() {
    auto s = Start("demo", false);
    QVERIFY(s->window->Device()->IsConnected());
    std::string kml;
    for (const auto& [name, bytes] : s->Reference(false))
      if (name.size() > 4 && name.substr(name.size() - 4) == ".kml") kml = name;
    QVERIFY(!kml.empty());
    fs::create_directories(s->dir / kml);  // that KML cannot take its place
    s->ClickUpload();
    s->ChooseAndOk(false);
    s->WaitEnd();
    QCOMPARE(s->Status(), QStringLiteral("Upload finished, but 1 of the files could not be written."));
    const QStringList lines = s->Page()->StatusDialog()->Lines();
    const QStringList named = lines.filter(QString::fromStdString(kml));
    QCOMPARE(named.size(), 1);
    QVERIFY2(!named[0].startsWith(QStringLiteral("Create File OK")), qPrintable(named[0]));
  }

  // Combine JPEG File ticked but no photo folder chosen: the plain KML, as without the tick.
  void combineWithoutAPhotoFolderWritesThePlainKml() {
    auto s = Start("demo", false);
    QVERIFY(s->window->Device()->IsConnected());
    s->ClickUpload();
    TransferDialog* d = s->Dialog();
    QVERIFY(d);
    const QString path = QString::fromStdString(s->dir.string());
    d->browse = [path](QWidget*, const QString&) { return path; };
    test::Button(d, "directoryButton")->click();
    auto* combine = d->findChild<QCheckBox*>(QStringLiteral("combineJpegCheck"));
    QVERIFY(combine);
    combine->setChecked(true);
    test::Button(d, "okButton")->click();
    s->WaitEnd();
    QCOMPARE(s->Status(), QStringLiteral("Upload Succeed!"));
    const auto got = ReadDir(s->dir);
    QCOMPARE(got, s->Reference(false));
    int kml = 0;
    for (const auto& [name, bytes] : got) {
      if (name.size() < 4 || name.substr(name.size() - 4) != ".kml") continue;
      ++kml;
      QVERIFY2(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0) == 0, name.c_str());  // no UTF-16 photo KML
    }
    QVERIFY(kml >= 2);
  }

  // Write Total Track Log with two tracks: the list ends with the KML lines of both tracks and
  // then of the total.
  void totalOfTwoTracksEndsTheListWithTheirKmlAndTheTotals() {
    auto twoTracks = [](sim::Scenario& sc) {
      // The demo's first two tracks, without their waypoints (no waypoints file).
      std::vector<sim::Slot> kept;
      int markers = 0;
      for (const sim::Slot& slot : sc.written) {
        if (slot == sim::LogStartMarker() && ++markers > 2) break;
        if (slot != sim::WaypointMarker()) kept.push_back(slot);
      }
      sc.written = kept;
    };
    auto s = Start("demo", false, {}, twoTracks);
    QVERIFY(s->window->Device()->IsConnected());
    s->ClickUpload();
    s->ChooseAndOk(true);
    s->WaitEnd();
    QCOMPARE(s->Status(), QStringLiteral("Upload Succeed!"));
    QCOMPARE(ReadDir(s->dir), s->Reference(true));
    const QStringList lines = s->Page()->StatusDialog()->Lines();
    QCOMPARE(lines.size(), 6);
    for (int i = 0; i < 3; ++i) {
      QVERIFY2(lines[i].startsWith(QStringLiteral("Create File OK ")) && lines[i].endsWith(QStringLiteral(".trl")),
               qPrintable(lines[i]));
      QCOMPARE(lines[i + 3], lines[i].chopped(4) + QStringLiteral(".kml"));
    }
    QVERIFY(!lines[3].contains(QStringLiteral("_Total_")));
    QVERIFY(!lines[4].contains(QStringLiteral("_Total_")));
    QVERIFY2(lines[5].contains(QStringLiteral("_T-580_Total_Start_")), qPrintable(lines[5]));
    QVERIFY(lines.filter(QStringLiteral("Waypoints")).isEmpty());
  }

  void cancelledDialogLeavesTheStatusAndWithABridgeSetsTheSpeed() {
    auto s = Start("demo", true);
    QVERIFY(s->window->Device()->IsConnected());
    s->ClickUpload();
    test::Button(s->Dialog(), "cancelButton")->click();
    s->WaitEnd();
    QCOMPARE(s->Status(), QStringLiteral("Upload/Clear Status Message"));
    QCOMPARE(s->logger.ReceivedWith("$PMTK182,14,38400").size(), std::size_t(1));
    QVERIFY(s->logger.ReceivedWith("$PMTK182,7,").empty());
    QVERIFY(ReadDir(s->dir).empty());
    QVERIFY(test::Button(s->Page(), "uploadButton")->isEnabled());
    QVERIFY(s->window->TabBar()->IsTabEnabled(MainWindow::kDeviceTab));
  }

  void okRefusesWithoutAFolderEvenAfterAnEarlierChoice() {
    auto s = Start("demo", false);
    s->ClickUpload();
    TransferDialog* d = s->Dialog();
    QVERIFY(d);
    QString first = QStringLiteral("/tmp");
    d->browse = [&first](QWidget*, const QString&) { return first; };
    test::Button(d, "directoryButton")->click();
    QCOMPARE(d->findChild<QLabel*>(QStringLiteral("directoryLabel"))->text(), QStringLiteral("/tmp"));
    d->browse = [](QWidget*, const QString&) { return QString(); };  // the browser cancelled
    test::Button(d, "directoryButton")->click();
    QString message;
    AnswerNextMessageBox(&message);
    test::Button(d, "okButton")->click();
    QCOMPARE(message, QStringLiteral("Please select track log file directory."));
    QVERIFY(d->isVisible());
    QVERIFY(s->Page()->Downloading());
    test::Button(d, "cancelButton")->click();
    s->WaitEnd();
    QVERIFY(s->logger.ReceivedWith("$PMTK182,7,").empty());
  }

  void interruptedDownloadSaysSoAndLetsTheLoggerGo() {
    auto s = Start("demo", false);
    DownloadTiming t;
    t.silenceLimit = std::chrono::milliseconds(100);
    t.identWait = std::chrono::milliseconds(100);
    s->Page()->SetDownloadTiming(t);
    sim::Faults f;
    f.silenceAfterBytes = 60000;
    s->logger.sim->SetFaults(f);
    s->ClickUpload();
    QString message;
    AnswerNextMessageBox(&message);
    s->ChooseAndOk(false);
    s->WaitEnd();
    QCOMPARE(message, QStringLiteral("Transmission interrupt !"));
    QVERIFY(ReadDir(s->dir).empty());
    QVERIFY(s->Page()->StatusDialog()->Lines().isEmpty());
    QVERIFY(WaitFor([&] { return !s->window->Device()->IsConnected() && !s->window->Device()->IsBusy(); }));
    QCOMPARE(s->window->TabBar()->currentIndex(), int(MainWindow::kDeviceTab));
    QVERIFY(!s->window->TabBar()->IsTabEnabled(MainWindow::kTrackLogTab));
  }

  void closingTheWindowMidDownloadCancelsAndSetsTheSpeedBack() {
    sim::SimulatorOptions paced;
    paced.paced = true;
    auto s = Start("full", true, paced);
    QVERIFY(s->window->Device()->IsConnected());
    s->ClickUpload();
    s->ChooseAndOk(true);
    QVERIFY(WaitFor([&] { return !s->logger.ReceivedWith("$PMTK182,7,10000,").empty(); }));
    QCOMPARE(s->logger.sim->Baud(), 921600);
    s->window->close();
    QVERIFY(WaitFor([&] { return !s->window->isVisible(); }, 30000));
    QVERIFY(!s->Page()->Downloading());
    QVERIFY(ReadDir(s->dir).empty());
    QCOMPARE(s->logger.sim->Baud(), 38400);
    const auto got = s->logger.sim->Received();
    QVERIFY(got.size() >= 2);
    QCOMPARE(QString::fromStdString(got.back().substr(0, 12)), QStringLiteral("$KAVRO580,2*"));
    QCOMPARE(s->logger.ReceivedWith("$PMTK182,14,38400").size(), std::size_t(1));
  }
};

QTEST_MAIN(LogDownloadTest)
#include "LogDownloadPageTest.moc"
