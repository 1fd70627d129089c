// The kept copy in the window: "Read only new data" checked once a copy of this logger exists,
// the sectors read and taken in the Track Log File Status list, the same files as a whole read,
// and "Clear after download" asked first and erasing after a complete download.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <ctime>
#include <filesystem>
#include <unistd.h>

#include "support/Files.h"
#include "support/GuiTestSupport.h"
#include "support/MessageCatcher.h"
#include "TrackLogFileStatusDialog.h"
#include "TrackLogPage.h"
#include "TransferDialog.h"

using namespace kavro;
using namespace kavro::gui;
using kavro::gui::test::SimulatedLogger;
namespace fs = std::filesystem;

using kavro::test::WaitFor;

namespace {

struct Session {
  SimulatedLogger logger;
  AppContext ctx;
  std::unique_ptr<MainWindow> window;
  fs::path dir = fs::temp_directory_path() / ("kavro-gui-kept-" + std::to_string(::getpid()));

  Session() {
    fs::remove_all(dir);
    ctx.keptCopyFolder = dir / "cache";
    logger = SimulatedLogger::Start("demo");
    window = std::make_unique<MainWindow>(ctx);
    DownloadTiming t;
    t.speedPause = t.settlePause = t.keepAlivePause = std::chrono::milliseconds(20);
    Page()->SetDownloadTiming(t);
    window->show();
    test::ConnectThrough(window->Device(), {logger.Port()}, logger.path);
    window->ShowPage(MainWindow::kTrackLogTab);
  }
  ~Session() {
    window.reset();
    fs::remove_all(dir);
  }
  TrackLogPage* Page() const { return window->TrackLog(); }
  TransferDialog* Dialog() const {
    WaitFor([this] { return Page()->OpenTransferDialog() != nullptr && Page()->OpenTransferDialog()->isVisible(); },
            20000);
    return Page()->OpenTransferDialog();
  }
  // Upload into dir/name; `inDialog` looks at the dialog before OK.
  QStringList Upload(const std::string& name, const std::function<void(TransferDialog*)>& inDialog) {
    fs::create_directories(dir / name);
    test::Button(Page(), "uploadButton")->click();
    TransferDialog* d = Dialog();
    if (!d) return {};
    const QString path = QString::fromStdString((dir / name).string());
    d->browse = [path](QWidget*, const QString&) { return path; };
    test::Button(d, "directoryButton")->click();
    inDialog(d);
    test::Button(d, "okButton")->click();
    WaitFor([this] { return !Page()->Downloading() && !Page()->IsBusy(); });
    return Page()->StatusDialog() ? Page()->StatusDialog()->Lines() : QStringList();
  }
};

QCheckBox* Check(TransferDialog* d, const char* name) { return d->findChild<QCheckBox*>(QString::fromLatin1(name)); }

}  // namespace

class KeptCopyPageTest : public QObject {
  Q_OBJECT

 private slots:
  void theSecondUploadReadsOnlyTheNewSector() {
    Session s;
    QVERIFY(s.window->Device()->IsConnected());
    bool firstChecked = true;
    const QStringList first = s.Upload("first", [&](TransferDialog* d) { firstChecked = Check(d, "readOnlyNewCheck")->isChecked(); });
    QVERIFY2(!firstChecked, "no kept copy yet: nothing to take");
    QVERIFY2(first.contains(QStringLiteral("Sectors read from the logger: 2, from the kept copy: 0 (131072 bytes requested)")),
             qPrintable(first.join('\n')));

    QVERIFY(s.logger.sim->Record(sim::TripSlots(std::time(nullptr) - 3600, 500)));
    bool secondChecked = false;
    const QStringList second = s.Upload("second", [&](TransferDialog* d) { secondChecked = Check(d, "readOnlyNewCheck")->isChecked(); });
    QVERIFY(secondChecked);
    QVERIFY2(second.contains(QStringLiteral("Sectors read from the logger: 1, from the kept copy: 1 (69632 bytes requested)")),
             qPrintable(second.join('\n')));
    const fs::path want = s.dir / "want";
    QVERIFY(kavro::test::ReadDir(s.dir / "second") ==
            kavro::test::TrackFilesOf(s.logger.sim->Memory(), s.ctx.device.Snapshot(), s.ctx.zone.Clock(), false, want));

    // Unchecked, the whole memory is read.
    const QStringList all = s.Upload("all", [](TransferDialog* d) { Check(d, "readOnlyNewCheck")->setChecked(false); });
    QVERIFY2(all.contains(QStringLiteral("Sectors read from the logger: 2, from the kept copy: 0 (131072 bytes requested)")),
             qPrintable(all.join('\n')));
  }

  void clearAfterDownloadIsAskedAndErasesAfterACompleteDownload() {
    Session s;
    bool refused = true;
    s.Upload("kept", [&](TransferDialog* d) {
      test::MessageCatcher no(250, QMessageBox::No);
      Check(d, "clearAfterCheck")->setChecked(true);
      refused = !Check(d, "clearAfterCheck")->isChecked() && no.shown == 1;
    });
    QVERIFY2(refused, "No leaves the box unchecked");
    QCOMPARE(s.logger.sim->State().eraseCount, 0);

    QString asked;
    const QStringList lines = s.Upload("cleared", [&](TransferDialog* d) {
      test::MessageCatcher yes(250, QMessageBox::Yes);
      Check(d, "clearAfterCheck")->setChecked(true);
      asked = yes.text;
    });
    QCOMPARE(asked, QStringLiteral("Erase all track data on the logger? This cannot be undone."));
    QVERIFY2(lines.contains(QStringLiteral("Clear Succeed!")), qPrintable(lines.join('\n')));
    QCOMPARE(s.logger.sim->State().eraseCount, 1);
    QVERIFY(!fs::exists(s.ctx.keptCopyFolder / "bt-0012AB345678.kept"));
    QCOMPARE(kavro::test::ReadDir(s.dir / "cleared").size(), std::size_t{8});
  }
};

QTEST_MAIN(KeptCopyPageTest)
#include "KeptCopyPageTest.moc"
