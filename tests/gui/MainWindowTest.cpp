// The main window against the simulated T-580: tab states, page commands, OK / Cancel / close.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "AboutBox.h"
#include "support/GuiTestSupport.h"
#include "OwnerDrawTabBar.h"
#include "TrackLogPage.h"
#include "Translations.h"
#include "Version.h"

using namespace kavro;
using namespace kavro::gui;
using kavro::gui::test::SimulatedLogger;

namespace {

std::ptrdiff_t IndexOf(const std::vector<std::string>& sentences, const std::string& prefix) {
  auto it = std::find_if(sentences.begin(), sentences.end(),
                         [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
  return it == sentences.end() ? -1 : it - sentences.begin();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void tabStatesAtStartAfterConnectAndAfterDisconnect() {
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    OwnerDrawTabBar* bar = w.TabBar();
    QCOMPARE(bar->count(), 6);  // the logger's five and the map
    QCOMPARE(bar->tabText(0), QStringLiteral("Device Setting"));
    QCOMPARE(bar->tabText(1), QStringLiteral("Track Log Setting"));
    QCOMPARE(bar->tabText(2), QStringLiteral("Track Log Format"));
    QCOMPARE(bar->tabText(3), QStringLiteral("Track Log Photo"));
    QCOMPARE(bar->tabText(4), QStringLiteral("Download and Update Firmware"));
    QVERIFY(!bar->IsTabEnabled(1));
    QVERIFY(bar->IsTabEnabled(4));
    QCOMPARE(w.ShownModel(), DeviceModel::None);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(bar->currentIndex(), 0);

    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    w.Device()->SetExtraPorts({logger.Port()});
    QVERIFY(w.Device()->SelectPort(logger.path));
    test::Button(&w, "connectButton")->click();
    QVERIFY(w.Device()->IsBusy());
    QVERIFY(!test::Button(&w, "okButton")->isEnabled());  // the window's buttons wait for the connect
    w.ShowPage(MainWindow::kPhotoTab);  // the window stays usable meanwhile
    w.Device()->WaitForIdle();
    QApplication::processEvents();
    QVERIFY(w.Device()->IsConnected());
    QVERIFY(test::Button(&w, "okButton")->isEnabled());
    QCOMPARE(w.Device()->findChild<QLabel*>("connectStatus")->text(), QStringLiteral("Device Connected!"));
    QCOMPARE(w.Device()->findChild<QLineEdit*>("deviceType")->text(), QStringLiteral("T-580"));
    QCOMPARE(w.Device()->findChild<QLineEdit*>("versionField")->text(), QStringLiteral("[ V1.25 ][ V12]"));
    QCOMPARE(w.Device()->findChild<QLineEdit*>("userName")->text(), QStringLiteral("Logger1"));
    QVERIFY(bar->IsTabEnabled(1));
    QVERIFY(!bar->IsTabEnabled(4));
    QCOMPARE(w.ShownModel(), DeviceModel::T580);
    // The keep-alive runs while connected.
    QTRY_VERIFY_WITH_TIMEOUT(!logger.ReceivedWith("$KAVRO580,6*").empty(), 15000);
    QCOMPARE(bar->currentIndex(), 0);  // the model update shows the first tab
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(bar->currentIndex(), 1);
    QCOMPARE(w.VisiblePage(), static_cast<Page*>(w.TrackLog()));

    w.ShowPage(0);
    test::ClickDisconnect(w.Device());
    QVERIFY(!w.Device()->IsConnected());
    QCOMPARE(w.Device()->findChild<QLabel*>("connectStatus")->text(), QStringLiteral("Device Disconnected!"));
    QVERIFY(!bar->IsTabEnabled(1));
    QVERIFY(bar->IsTabEnabled(4));
    QCOMPARE(w.ShownModel(), DeviceModel::None);
    QVERIFY(!logger.ReceivedWith("$KAVRO580,2*").empty());
    QVERIFY(w.Device()->findChild<QLineEdit*>("deviceType")->text().isEmpty());
  }

  // The window keeps one size whichever tab is on show, in every language; the Track Log tab
  // (shown once connected) and the firmware tab (before) included.
  void oneSizeAcrossTheTabsInEveryLanguage() {
    for (Language language :
         {Language::English, Language::German, Language::ChineseTraditional, Language::ChineseSimplified}) {
      AppContext ctx;
      QVERIFY(LoadLanguage(ctx.strings, language));
      MainWindow w(ctx);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      const QSize start = w.size();
      for (int tab : {MainWindow::kConversionTab, MainWindow::kPhotoTab, MainWindow::kFirmwareTab, MainWindow::kMapTab,
                      MainWindow::kDeviceTab}) {
        w.ShowPage(tab);
        QApplication::processEvents();
        QCOMPARE(w.size(), start);
      }
      SimulatedLogger logger = SimulatedLogger::Start();
      QVERIFY(logger.sim);
      test::ClickConnect(w.Device(), logger);
      QVERIFY(w.Device()->IsConnected());
      for (int tab : {MainWindow::kTrackLogTab, MainWindow::kConversionTab, MainWindow::kPhotoTab, MainWindow::kDeviceTab}) {
        w.ShowPage(tab);
        QApplication::processEvents();
        QVERIFY2(w.size() == start, qPrintable(QStringLiteral("language %1, tab %2: %3x%4, was %5x%6")
                                                   .arg(int(language)).arg(tab).arg(w.width()).arg(w.height())
                                                   .arg(start.width()).arg(start.height())));
      }
      test::ClickDisconnect(w.Device());
    }
  }

  void closeWhileConnectedSaysGoodbye() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    test::ClickConnect(w.Device(), logger);
    QVERIFY(w.Device()->IsConnected());
    logger.sim->ClearReceived();
    w.close();
    QVERIFY(!w.isVisible());
    QVERIFY(!ctx.link.Port().IsOpen());
    const auto received = logger.sim->Received();
    QVERIFY(IndexOf(received, "$KAVRO580,2*") >= 0);
    QCOMPARE(IndexOf(received, "$PMTK182,14"), std::ptrdiff_t(-1));
  }

  void closeInFastModeSetsTheSpeedBackFirst() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    test::ClickConnect(w.Device(), logger);
    QVERIFY(w.Device()->IsConnected());
    ctx.link.fastMode = true;  // as a download through a bridge leaves it
    logger.sim->ClearReceived();
    w.close();
    QVERIFY(!ctx.link.fastMode.load());
    const auto received = logger.sim->Received();
    const auto speed = IndexOf(received, "$PMTK182,14,38400*");
    const auto goodbye = IndexOf(received, "$KAVRO580,2*");
    QVERIFY(speed >= 0);
    QVERIFY(goodbye > speed);
  }

  void okAppliesThenClosesAndCancelDoesNotApply() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    {
      AppContext ctx;
      MainWindow w(ctx);
      w.show();
      test::ClickConnect(w.Device(), logger);
      w.ShowPage(MainWindow::kTrackLogTab);
      auto* seconds = w.TrackLog()->findChild<QComboBox*>("secondsList");
      seconds->setCurrentIndex(2);  // "10"
      logger.sim->ClearReceived();
      test::Button(&w, "cancelButton")->click();
      QVERIFY(!w.isVisible());
      QCOMPARE(w.result(), int(QDialog::Rejected));
      QVERIFY(logger.ReceivedWith("$PMTK182,1,").empty());
      QVERIFY(!logger.ReceivedWith("$KAVRO580,2*").empty());
    }
    {
      AppContext ctx;
      MainWindow w(ctx);
      w.show();
      test::ClickConnect(w.Device(), logger);
      w.ShowPage(MainWindow::kTrackLogTab);
      auto* seconds = w.TrackLog()->findChild<QComboBox*>("secondsList");
      seconds->setCurrentIndex(2);  // "10"
      logger.sim->ClearReceived();
      test::Button(&w, "okButton")->click();
      // The apply runs on a worker; the window closes once it has ended.
      QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 30000);
      QCOMPARE(w.result(), int(QDialog::Accepted));
      const auto received = logger.sim->Received();
      const auto apply = IndexOf(received, "$PMTK182,1,3,100*");
      QVERIFY(apply >= 0);
      QVERIFY(IndexOf(received, "$KAVRO580,2*") > apply);
      QCOMPARE(logger.sim->TimeInterval(), 100);
    }
  }

  void defaultAllRestoresPortChoiceAndSettings() {
    SimulatedLogger bridge = SimulatedLogger::Start();
    QVERIFY(bridge.sim);
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    PortInfo cp210x = bridge.Cp210xPort();
    w.Device()->SetExtraPorts({cp210x});
    QCOMPARE(w.Device()->SelectedPort(), bridge.path);
    auto* baud = w.Device()->findChild<QComboBox*>("baudList");
    auto* port = w.Device()->findChild<QComboBox*>("portList");
    port->setCurrentIndex(port->count() - 1);
    emit port->activated(port->count() - 1);
    baud->setCurrentIndex(0);
    emit baud->activated(0);
    QVERIFY(w.Device()->SelectedPort() != bridge.path);
    auto* seconds = w.TrackLog()->findChild<QComboBox*>("secondsList");
    seconds->setCurrentIndex(5);
    QCOMPARE(w.TrackLog()->Settings().timeInterval, 60);

    test::Button(&w, "defaultAllButton")->click();
    QCOMPARE(w.Device()->SelectedPort(), bridge.path);
    QCOMPARE(port->currentData().toString().toStdString(), bridge.path);
    QCOMPARE(baud->currentText(), QStringLiteral("38400"));
    QCOMPARE(seconds->currentText(), QStringLiteral("5"));
    QCOMPARE(w.TrackLog()->Settings().timeInterval, 5);
  }

  void windowGoesAwayWhileConnecting() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    AppContext ctx;
    auto w = std::make_unique<MainWindow>(ctx);
    w->show();
    w->Device()->SetExtraPorts({logger.Port()});
    QVERIFY(w->Device()->SelectPort(logger.path));
    test::Button(w.get(), "connectButton")->click();
    QVERIFY(w->Device()->IsBusy());
    w.reset();  // waits for the connect; nothing may call into the dead window
    QApplication::processEvents();
    QVERIFY(!logger.ReceivedWith("$PMTK182,2,1*").empty());
  }

  void aboutBoxShowsTheBuildVersion() {
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
      if (box) {
        shown = box->ShownVersion();
        box->accept();
      }
    });
    test::Button(&w, "aboutButton")->click();
    QCOMPARE(shown, QStringLiteral(" ") + QString::fromLatin1(kVersionText));
    QCOMPARE(shown.count(QLatin1Char('.')), 3);
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
