// The firmware page with real widgets: its messages, and a whole update of the simulated
// logger from the window, seen afterwards on the Device page.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <zlib.h>

#include "FirmwarePage.h"
#include "support/GuiTestSupport.h"
#include "support/MessageCatcher.h"
#include "support/QuickTimings.h"
#include "OwnerDrawTabBar.h"
#include "common/Texts.h"

using kavro::AppContext;
using kavro::FirmwareTiming;
using kavro::gui::FirmwarePage;
using kavro::gui::MainWindow;
using kavro::gui::test::MessageCatcher;
using kavro::gui::test::SimulatedLogger;
namespace txt = kavro::txt;

namespace {


void WriteFirmware(const QString& path, std::size_t size, int version) {
  std::vector<unsigned char> image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<unsigned char>(i * 13 + 1);
  const std::string mark = "KAVRO-FW-VER=" + std::to_string(version);
  std::copy(mark.begin(), mark.end(), image.begin() + 8);
  const auto crc = static_cast<std::uint32_t>(crc32(0L, image.data(), static_cast<uInt>(image.size())));
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<unsigned char>(crc >> (8 * i)));
  std::ofstream(path.toStdString(), std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
}

QString ProgramFolder() {
  return QString::fromLatin1(KAVRO_TEST_DATA) + QStringLiteral("/../../resources/firmware");
}

template <typename T>
T* Find(QWidget* root, const char* name) {
  T* w = root->findChild<T*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("missing widget %s", name);
  return w;
}

}  // namespace

class TestFirmwarePage : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir config_;
  QTemporaryDir files_;

 private slots:
  void initTestCase() {
    // The saved Bluetooth address goes to a scratch settings store, never the user's own.
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
  }

  void textsAndMessages() {
    AppContext ctx;
    FirmwarePage page(ctx, nullptr);
    page.show();
    QCOMPARE(Find<QLabel>(&page, "warningLabel")->text(), ctx.strings.Text(txt::FirmwareWarning));
    QCOMPARE(Find<QPushButton>(&page, "downloadButton")->text(), ctx.strings.Text(txt::DownloadAndUpdate));
    QCOMPARE(Find<QLabel>(&page, "statusLabel")->text(), ctx.strings.Text(txt::DownloadAndUpdateStatus));
    QCOMPARE(Find<QLabel>(&page, "percentLabel")->text(), QStringLiteral("0%"));
    QVERIFY(Find<QLineEdit>(&page, "fileEdit")->isReadOnly());

    {
      MessageCatcher catcher;
      Find<QPushButton>(&page, "downloadButton")->click();
      QCOMPARE(catcher.text, ctx.strings.Text(txt::SelectFirmwareFile));
      QCOMPARE(catcher.title, ctx.strings.Text(txt::AppTitle));
      QCOMPARE(catcher.icon, QMessageBox::Critical);
    }
    const QString bad = files_.filePath(QStringLiteral("bad.bin"));
    WriteFirmware(bad, 100, 131);
    {
      std::fstream f(bad.toStdString(), std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(50);
      f.put('!');
    }
    page.ChooseFile(bad);
    QCOMPARE(Find<QLineEdit>(&page, "fileEdit")->text(), bad);
    {
      MessageCatcher catcher;
      Find<QPushButton>(&page, "downloadButton")->click();
      QCOMPARE(catcher.text, ctx.strings.Text(txt::FirmwareContentWrong));
    }
    QVERIFY(!QFile::exists(files_.filePath(QStringLiteral("Kavro_FW_Temp.bin"))));
    QVERIFY(!page.IsBusy());
  }

  void updateFromTheWindowThenReconnect() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    const auto address = logger.sim->State().btAddress;
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    FirmwarePage* page = w.Firmware();
    page->SetProgramFolder(ProgramFolder());
    FirmwareTiming timing = kavro::test::QuickFirmwareTiming();
    // Long enough a pause before the download to look at the window while the update runs.
    timing.beforeDownload = std::chrono::milliseconds(300);
    page->SetTiming(timing);
    ctx.link.SetPortSelection({logger.path, 38400, 0});
    const QString file = files_.filePath(QStringLiteral("T580_v131.bin"));
    WriteFirmware(file, 30000, 131);
    w.ShowPage(MainWindow::kFirmwareTab);
    page->ChooseFile(file);
    QSignalSpy finished(page, &FirmwarePage::updateFinished);

    MessageCatcher yes(250, QMessageBox::Yes);
    Find<QPushButton>(page, "downloadButton")->click();
    QCOMPARE(yes.text, ctx.strings.Format(txt::FirmwareConfirm, {file, QStringLiteral("V1.31"),
                                                                  QString::fromStdString(logger.path)}));
    QVERIFY(page->IsBusy());
    QVERIFY(!Find<QPushButton>(page, "downloadButton")->isEnabled());
    QVERIFY(!Find<QPushButton>(page, "browseButton")->isEnabled());
    for (const char* name : {"okButton", "cancelButton", "applyAllButton", "defaultAllButton"})
      QVERIFY2(!Find<QPushButton>(&w, name)->isEnabled(), name);
    for (int tab : {MainWindow::kDeviceTab, MainWindow::kConversionTab, MainWindow::kPhotoTab})
      QVERIFY(!w.TabBar()->isTabEnabled(tab));
    // Closing the window and Escape are refused while the update runs.
    w.close();
    QTest::keyClick(&w, Qt::Key_Escape);
    QApplication::processEvents();
    QVERIFY(w.isVisible());

    QVERIFY(finished.wait(120000));
    QCOMPARE(finished.first().first().toBool(), true);
    QApplication::processEvents();
    // The refused close is not carried out later either.
    QVERIFY(w.isVisible());
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), ctx.strings.Text(txt::DownloadAndUpdateSuccess));
    QCOMPARE(Find<QProgressBar>(page, "progressBar")->value(), 100);
    QCOMPARE(Find<QLabel>(page, "percentLabel")->text(), QStringLiteral("100%"));
    QVERIFY(Find<QPushButton>(page, "downloadButton")->isEnabled());
    for (int tab : {MainWindow::kDeviceTab, MainWindow::kConversionTab, MainWindow::kPhotoTab})
      QVERIFY(w.TabBar()->isTabEnabled(tab));
    QVERIFY(Find<QPushButton>(&w, "okButton")->isEnabled());
    QVERIFY(!QFile::exists(files_.filePath(QStringLiteral("Kavro_FW_Temp.bin"))));
    QVERIFY(logger.sim->State().btAddress == address);

    // Reconnected, the Device page shows the new version.
    w.ShowPage(MainWindow::kDeviceTab);
    kavro::gui::test::ClickConnect(w.Device(), logger);
    QCOMPARE(Find<QLineEdit>(w.Device(), "versionField")->text(), QStringLiteral("[ V1.31 ][ V12]"));
    QVERIFY(!w.TabBar()->isTabEnabled(MainWindow::kFirmwareTab));
    kavro::gui::test::ClickDisconnect(w.Device());
  }

  void simulatedEntryOfThePortList() {
    // "Simulated T-580" stands for the logger the Device page plays; the update starts it.
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    FirmwarePage* page = w.Firmware();
    page->SetProgramFolder(ProgramFolder());
    page->SetTiming(kavro::test::QuickFirmwareTiming());
    ctx.link.SetPortSelection({"sim:demo", 38400, 0});
    const QString file = files_.filePath(QStringLiteral("T580_v144.bin"));
    WriteFirmware(file, 5000, 144);
    w.ShowPage(MainWindow::kFirmwareTab);
    page->ChooseFile(file);
    QSignalSpy finished(page, &FirmwarePage::updateFinished);
    // No, the default, writes nothing and leaves no image copy.
    {
      MessageCatcher no(250, QMessageBox::No);
      Find<QPushButton>(page, "downloadButton")->click();
      QCOMPARE(no.icon, QMessageBox::Question);
      QCOMPARE(no.defaultButton, QMessageBox::No);
      QCOMPARE(no.text, QStringLiteral("Write the firmware ") + file +
                            QStringLiteral(" (version V1.44) into the logger on Simulated T-580? Do not disconnect the "
                                           "cable until the update has finished."));
    }
    QVERIFY(!page->IsBusy());
    QCOMPARE(finished.count(), 0);
    QVERIFY(w.Device()->RunningSimulator() == nullptr);
    QVERIFY(!QFile::exists(files_.filePath(QStringLiteral("Kavro_FW_Temp.bin"))));
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), ctx.strings.Text(txt::DownloadAndUpdateStatus));
    MessageCatcher yes(250, QMessageBox::Yes);
    Find<QPushButton>(page, "downloadButton")->click();
    QVERIFY(finished.wait(120000));
    QCOMPARE(finished.first().first().toBool(), true);
    kavro::sim::Simulator* played = w.Device()->RunningSimulator();
    QVERIFY(played != nullptr);
    QCOMPARE(played->State().firmware, 144);
  }

  void portThatCannotBeOpened() {
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    FirmwarePage* page = w.Firmware();
    page->SetProgramFolder(ProgramFolder());
    page->SetTiming(kavro::test::QuickFirmwareTiming());
    ctx.link.SetPortSelection({"/dev/kavro-no-such-port", 38400, 0});
    const QString file = files_.filePath(QStringLiteral("T580_v132.bin"));
    WriteFirmware(file, 1000, 132);
    w.ShowPage(MainWindow::kFirmwareTab);
    page->ChooseFile(file);
    QSignalSpy finished(page, &FirmwarePage::updateFinished);
    MessageCatcher yes(250, QMessageBox::Yes);
    Find<QPushButton>(page, "downloadButton")->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), ctx.strings.Text(txt::OpenComPortFailed));
    QVERIFY(Find<QPushButton>(page, "downloadButton")->isEnabled());
    QVERIFY(w.TabBar()->isTabEnabled(MainWindow::kDeviceTab));
  }
};

QTEST_MAIN(TestFirmwarePage)
#include "FirmwarePageTest.moc"
