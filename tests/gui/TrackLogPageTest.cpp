// The Track Log Setting page against the simulated T-580: what the logger's values show, what
// Apply All writes, Clear, and the failures.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "support/GuiTestSupport.h"
#include "support/MessageCatcher.h"
#include "OwnerDrawTabBar.h"
#include "TrackLogPage.h"

using namespace kavro;
using namespace kavro::gui;
using kavro::gui::test::SimulatedLogger;

namespace {

struct Connected {
  SimulatedLogger logger;
  std::unique_ptr<AppContext> ctx;
  std::unique_ptr<MainWindow> window;

  TrackLogPage* Page() const { return window->TrackLog(); }
  template <typename T>
  T* Find(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QString SettingStatus() const { return Find<QLabel>("settingStatus")->text(); }
  QString ClearStatus() const { return Find<QLabel>("clearStatus")->text(); }
  void ApplyAll() {
    test::Button(window.get(), "applyAllButton")->click();
    Page()->WaitForIdle();
    QApplication::processEvents();
  }
};

template <typename Edit>
Connected ConnectTo(const std::string& scenario, Edit edit) {
  Connected c;
  c.logger = SimulatedLogger::Start(scenario, edit);
  c.ctx = std::make_unique<AppContext>();
  c.window = std::make_unique<MainWindow>(*c.ctx);
  c.window->show();
  if (c.logger.sim) {
    test::ClickConnect(c.window->Device(), c.logger);
    c.window->ShowPage(MainWindow::kTrackLogTab);
    c.logger.sim->ClearReceived();
  }
  return c;
}

}  // namespace

class TrackLogPageTest : public QObject {
  Q_OBJECT

 private slots:
  void applyWithNothingChangedSendsNothing() {
    Connected c = ConnectTo("demo", [](sim::Scenario& s) {
      s.timeInterval = 100;
      s.recordMode = 1;
      s.basis = 1;
    });
    QVERIFY(c.window->Device()->IsConnected());
    QCOMPARE(c.window->TabBar()->currentIndex(), int(MainWindow::kTrackLogTab));
    QCOMPARE(c.Find<QComboBox>("secondsList")->currentText(), QStringLiteral("10"));
    QVERIFY(c.Find<QRadioButton>("overwriteRadio")->isChecked());
    QVERIFY(c.Find<QRadioButton>("distanceRadio")->isChecked());
    QCOMPARE(c.SettingStatus(), QStringLiteral("Read Status Message"));
    c.ApplyAll();
    QCOMPARE(c.SettingStatus(), QStringLiteral("Updating Settings Successfully!"));
    QVERIFY(c.logger.ReceivedWith("$PMTK182,1,").empty());
    QVERIFY(c.logger.ReceivedWith("$KAVRO580,9").empty());
  }

  void unknownRecordModeCountsAsOverwrite() {
    // A logger answering a record mode other than 1 or 2 shows Overwrite, and the page takes
    // that as what the logger has: Apply has nothing to write.
    Connected c = ConnectTo("demo", [](sim::Scenario& s) { s.recordMode = 0; });
    QVERIFY(c.window->Device()->IsConnected());
    QVERIFY(c.Find<QRadioButton>("overwriteRadio")->isChecked());
    QCOMPARE(c.ctx->device.Snapshot().recordMode, 1);
    c.ApplyAll();
    QCOMPARE(c.SettingStatus(), QStringLiteral("Updating Settings Successfully!"));
    QVERIFY(c.logger.ReceivedWith("$PMTK182,1,6,").empty());
  }

  void fiveSecondsIsWrittenAsFiftyTenths() {
    Connected c = ConnectTo("demo", [](sim::Scenario& s) { s.timeInterval = 300; });
    QCOMPARE(c.Find<QComboBox>("secondsList")->currentText(), QStringLiteral("30"));
    QTest::mouseClick(c.Find<QComboBox>("secondsList"), Qt::LeftButton);  // the list can be used
    c.Find<QComboBox>("secondsList")->hidePopup();
    c.Find<QComboBox>("secondsList")->setCurrentIndex(1);
    QCOMPARE(c.Find<QComboBox>("secondsList")->currentText(), QStringLiteral("5"));
    c.ApplyAll();
    QCOMPARE(c.logger.ReceivedWith("$PMTK182,1,").size(), std::size_t(1));
    QCOMPARE(c.logger.ReceivedWith("$PMTK182,1,3,50*").size(), std::size_t(1));
    QCOMPARE(c.logger.sim->TimeInterval(), 50);
    // Written once: a second Apply has nothing new to say.
    c.logger.sim->ClearReceived();
    c.ApplyAll();
    QVERIFY(c.logger.ReceivedWith("$PMTK182,1,").empty());
  }

  void hundredFeetIsWrittenAsTenthsOfAMetre() {
    Connected c = ConnectTo("demo", [](sim::Scenario& s) {
      s.unit = 1;
      s.distanceInterval = 1524;  // 500 ft
    });
    QCOMPARE(c.Find<QLabel>("distanceUnit")->text(), QStringLiteral("ft"));
    QCOMPARE(c.Find<QComboBox>("distanceList")->currentText(), QStringLiteral("500"));
    c.Find<QComboBox>("distanceList")->setCurrentIndex(1);  // "100"
    c.ApplyAll();
    QCOMPARE(c.logger.ReceivedWith("$PMTK182,1,4,304*").size(), std::size_t(1));
    QCOMPARE(c.logger.sim->DistanceInterval(), 304);
  }

  void styleAndBasisChanges() {
    Connected c = ConnectTo("demo", [](sim::Scenario& s) {
      s.recordMode = 2;
      s.basis = 0;
    });
    QVERIFY(c.Find<QRadioButton>("fullStopRadio")->isChecked());
    QVERIFY(c.Find<QRadioButton>("secondRadio")->isChecked());
    QTest::mouseClick(c.Find<QRadioButton>("overwriteRadio"), Qt::LeftButton);
    QTest::mouseClick(c.Find<QRadioButton>("distanceRadio"), Qt::LeftButton);
    QVERIFY(c.Find<QRadioButton>("overwriteRadio")->isChecked());
    QVERIFY(!c.Find<QRadioButton>("fullStopRadio")->isChecked());
    QVERIFY(c.Find<QRadioButton>("distanceRadio")->isChecked());
    c.ApplyAll();
    QCOMPARE(c.logger.ReceivedWith("$PMTK182,1,6,1*").size(), std::size_t(1));
    QCOMPARE(c.logger.ReceivedWith("$KAVRO580,9,1*").size(), std::size_t(1));
    QCOMPARE(c.logger.sim->RecordMode(), 1);
    QCOMPARE(c.logger.sim->Basis(), 1);
  }

  void loggerIntervalOutsideTheListShowsFive() {
    Connected c = ConnectTo("demo", [](sim::Scenario& s) { s.timeInterval = 20; });
    QCOMPARE(c.Find<QComboBox>("secondsList")->currentIndex(), 1);
    QCOMPARE(c.Find<QComboBox>("secondsList")->currentText(), QStringLiteral("5"));
    QCOMPARE(c.Page()->Settings().timeInterval, 2);
    c.ApplyAll();  // 2 s is what the logger has: nothing to write
    QVERIFY(c.logger.ReceivedWith("$PMTK182,1,").empty());
  }

  void settingsDisabledWithThreeFreeRecords() {
    Connected c = ConnectTo("full", [](sim::Scenario&) {});
    QVERIFY(c.window->Device()->IsConnected());
    QVERIFY(c.ctx->device.Snapshot().freeRecords <= 3);
    for (const char* name : {"overwriteRadio", "fullStopRadio", "secondRadio", "distanceRadio"})
      QVERIFY2(!c.Find<QRadioButton>(name)->isEnabled(), name);
    QVERIFY(!c.Find<QComboBox>("secondsList")->isEnabled());
    QVERIFY(!c.Find<QComboBox>("distanceList")->isEnabled());
    QVERIFY(test::Button(c.window.get(), "clearButton")->isEnabled());

    Connected roomy = ConnectTo("demo", [](sim::Scenario&) {});
    QVERIFY(roomy.ctx->device.Snapshot().freeRecords > 3);
    QVERIFY(roomy.Find<QComboBox>("secondsList")->isEnabled());
    QVERIFY(roomy.Find<QRadioButton>("overwriteRadio")->isEnabled());
  }

  void clearErasesAndShowsTheFreeRecords() {
    Connected c = ConnectTo("full", [](sim::Scenario&) {});
    const int before = c.ctx->device.Snapshot().freeRecords;
    QVERIFY(before <= 3);
    QCOMPARE(c.Find<QLineEdit>("memoryField")->text(), before <= 1 ? QStringLiteral("0") : QString::number(before));
    test::MessageCatcher yes(250, QMessageBox::Yes);
    test::Button(c.window.get(), "clearButton")->click();
    QCOMPARE(yes.text, QStringLiteral("Erase all track data on the logger? This cannot be undone."));
    QVERIFY(!test::Button(c.window.get(), "clearButton")->isEnabled());
    QVERIFY(!test::Button(c.window.get(), "okButton")->isEnabled());
    c.Page()->WaitForIdle();
    QApplication::processEvents();
    QCOMPARE(c.ClearStatus(), QStringLiteral("Clear Succeed!"));
    QCOMPARE(c.logger.sim->State().eraseCount, 1);
    QCOMPARE(c.Find<QLineEdit>("memoryField")->text(), QStringLiteral("131072"));
    QVERIFY(test::Button(c.window.get(), "clearButton")->isEnabled());
    QVERIFY(test::Button(c.window.get(), "okButton")->isEnabled());
  }

  // One click does not erase the log: the question comes first, and No (the default) keeps it.
  void clearAsksFirstAndNoKeepsTheLog() {
    Connected c = ConnectTo("demo", [](sim::Scenario&) {});
    QVERIFY(c.window->Device()->IsConnected());
    const QString memory = c.Find<QLineEdit>("memoryField")->text();
    test::MessageCatcher no(250, QMessageBox::No);
    test::Button(c.window.get(), "clearButton")->click();
    QCOMPARE(no.shown, 1);
    QCOMPARE(no.icon, QMessageBox::Question);
    QCOMPARE(no.title, QStringLiteral("Kavro Logger Utility"));
    QCOMPARE(no.defaultButton, QMessageBox::No);
    QCOMPARE(no.buttonTexts.size(), 2);
    QVERIFY(no.buttonTexts.contains(QStringLiteral("Yes")) && no.buttonTexts.contains(QStringLiteral("No")));
    c.Page()->WaitForIdle();
    QApplication::processEvents();
    QVERIFY(c.logger.ReceivedWith("$PMTK182,6,1").empty());
    QCOMPARE(c.logger.sim->State().eraseCount, 0);
    QCOMPARE(c.ClearStatus(), QStringLiteral("Upload/Clear Status Message"));
    QCOMPARE(c.Find<QLineEdit>("memoryField")->text(), memory);
    QVERIFY(test::Button(c.window.get(), "clearButton")->isEnabled());
  }

  void failuresAreReported() {
    {
      // Clear with no logger: nothing is sent.
      AppContext ctx;
      TrackLogPage page(ctx, nullptr);
      page.show();
      test::Button(&page, "clearButton")->click();
      page.WaitForIdle();
      QApplication::processEvents();
      QCOMPARE(page.findChild<QLabel*>("clearStatus")->text(), QStringLiteral("Clear Failed! No Device Connected! "));
    }
    Connected c = ConnectTo("demo", [](sim::Scenario& s) { s.timeInterval = 100; });
    ExchangeTiming quick = c.ctx->link.Timing();
    quick.resends = 2;  // keeps the test short; the shape of the failure is the same
    c.ctx->link.SetTiming(quick);
    sim::Faults silent;
    silent.silenceAfterBytes = 0;
    c.logger.sim->SetFaults(silent);
    c.Find<QComboBox>("secondsList")->setCurrentIndex(1);
    c.ApplyAll();
    QCOMPARE(c.SettingStatus(), QStringLiteral("Connection to Device Failed"));
    QVERIFY(!c.logger.ReceivedWith("$PMTK182,1,3,50*").empty());
    // Unanswered, so not taken as written: the next Apply tries again.
    QCOMPARE(c.ctx->device.Snapshot().timeInterval, 100);

    // The logger goes away: the next write fails cleanly and the window lets the port go.
    c.logger.sim->Unplug();
    c.Find<QComboBox>("secondsList")->setCurrentIndex(3);
    c.ApplyAll();
    QCOMPARE(c.SettingStatus(), QStringLiteral("Connection to Device Failed"));
    QTRY_VERIFY_WITH_TIMEOUT(!c.window->Device()->IsConnected() && !c.window->Device()->IsBusy(), 30000);
    QVERIFY(!c.ctx->link.Port().IsOpen());
    QVERIFY(!c.window->TabBar()->IsTabEnabled(MainWindow::kTrackLogTab));
  }
};

QTEST_MAIN(TrackLogPageTest)
#include "TrackLogPageTest.moc"
