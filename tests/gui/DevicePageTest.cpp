// The Device page against the simulated T-580: port choice and Auto Detect, ports that cannot
// be opened, a logger that goes away, Write Name.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "support/GuiTestSupport.h"
#include "OwnerDrawTabBar.h"
#include "serial/SerialPort.h"

using namespace kavro;
using namespace kavro::gui;
using kavro::gui::test::SimulatedLogger;

namespace {

QString StatusOf(DevicePage* page) { return page->findChild<QLabel*>("connectStatus")->text(); }
QString Field(DevicePage* page, const char* name) { return page->findChild<QLineEdit*>(name)->text(); }

// Runs `action`, answering the stop box it opens; returns the box's text (empty: no box).
template <typename Action>
QString StopBoxText(Action action) {
  QString text;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->icon() == QMessageBox::Critical ? box->text() : QStringLiteral("wrong icon");
      box->accept();
    }
  });
  watch.start(10);
  action();
  return text;
}

}  // namespace

class DevicePageTest : public QObject {
  Q_OBJECT

 private slots:
  void portListOffersTheSimulatedLogger() {
    AppContext ctx;
    DevicePage page(ctx, nullptr);
    const auto ports = page.ListedPorts();
    QVERIFY(!ports.empty());
    QCOMPARE(page.findChild<QComboBox*>("portList")->itemText(int(ports.size()) - 1), QStringLiteral("Simulated T-580"));
    QCOMPARE(page.findChild<QComboBox*>("baudList")->currentText(), QStringLiteral("38400"));
    // Choosing it starts a simulator inside the program and connects to it.
    QVERIFY(page.SelectPort(ports.back()));
    page.show();
    test::Button(&page, "connectButton")->click();
    page.WaitForIdle();
    QApplication::processEvents();
    QVERIFY(page.IsConnected());
    QVERIFY(page.RunningSimulator() != nullptr);
    QCOMPARE(Field(&page, "deviceType"), QStringLiteral("T-580"));
    const int free = (0x200000 - int(page.RunningSimulator()->WritePosition())) / 16;
    QCOMPARE(Field(&page, "memoryField"), QString::number(free));
    test::ClickDisconnect(&page);
    QVERIFY(!page.IsConnected());
  }

  void autoDetectChoosesTheBridgeAmongSeveralPorts() {
    SimulatedLogger plain = SimulatedLogger::Start();
    SimulatedLogger prolific = SimulatedLogger::Start();
    SimulatedLogger bridge = SimulatedLogger::Start();
    QVERIFY(plain.sim && prolific.sim && bridge.sim);
    PortInfo pl = prolific.Port("USB-Serial Controller");
    pl.usb = true;
    pl.vendorId = 0x067B;
    pl.productId = 0x2303;
    PortInfo cp = bridge.Port("CP2102 USB to UART Bridge Controller");
    cp.usb = true;
    cp.vendorId = 0x10C4;
    cp.productId = 0xEA60;

    AppContext ctx;
    DevicePage page(ctx, nullptr);
    page.show();
    // Without a CP210x the first simulated logger is chosen; a Prolific bridge is never picked.
    page.SetExtraPorts({plain.Port(), pl});
    QCOMPARE(page.SelectedPort(), plain.path);
    QVERIFY(page.SelectedPort() != prolific.path);

    page.SetExtraPorts({plain.Port(), pl, cp});
    QCOMPARE(page.SelectedPort(), bridge.path);  // detected at start
    QVERIFY(page.SelectPort(plain.path));
    QCOMPARE(page.SelectedPort(), plain.path);
    test::Button(&page, "autoDetectButton")->click();
    QCOMPARE(page.SelectedPort(), bridge.path);
    QCOMPARE(page.findChild<QComboBox*>("portList")->currentData().toString().toStdString(), bridge.path);
    test::ClickConnect(&page, bridge);
    QVERIFY(page.IsConnected());
    QVERIFY(!bridge.ReceivedWith("$KAVRO580,1*").empty());
    QVERIFY(plain.ReceivedWith("$").empty());
    test::ClickDisconnect(&page);
  }

  void portThatCannotBeOpenedShowsTheReason() {
    AppContext ctx;
    DevicePage page(ctx, nullptr);
    page.show();
    PortInfo missing;
    missing.devicePath = "/dev/kavro-no-such-port";
    missing.portName = "kavro-no-such-port";
    missing.description = "Gone";
    missing.isVirtual = true;
    CompletePortInfo(missing);
    page.SetExtraPorts({missing});
    QVERIFY(page.SelectPort(missing.devicePath));
    page.findChild<QLineEdit*>("userName")->setText(QStringLiteral("Kept"));
    test::Button(&page, "connectButton")->click();
    page.WaitForIdle();
    QApplication::processEvents();
    QVERIFY(!page.IsConnected());
    QCOMPARE(StatusOf(&page), QStringLiteral("Failed connecting to device!\nThe port /dev/kavro-no-such-port does not exist."));
    QCOMPARE(test::Button(&page, "connectButton")->text(), QStringLiteral("Connect"));
    QVERIFY(test::Button(&page, "connectButton")->isEnabled());
    QCOMPARE(Field(&page, "userName"), QStringLiteral("Kept"));

    // A port another program holds: busy.
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    SerialPort other;
    other.SetPortName(logger.path);
    QVERIFY(other.Open());
    page.SetExtraPorts({logger.Port()});
    QVERIFY(page.SelectPort(logger.path));
    test::Button(&page, "connectButton")->click();
    page.WaitForIdle();
    QApplication::processEvents();
    QVERIFY(!page.IsConnected());
    QVERIFY2(StatusOf(&page).startsWith(QStringLiteral("Failed connecting to device!\n")), qPrintable(StatusOf(&page)));
    QVERIFY2(StatusOf(&page).contains(QStringLiteral("in use by another program")), qPrintable(StatusOf(&page)));
    QVERIFY(logger.ReceivedWith("$").empty());
    other.Close();
    // Once free, the same port connects.
    test::ClickConnect(&page, logger);
    QVERIFY(page.IsConnected());
    test::ClickDisconnect(&page);
  }

  void loggerGoingAwayWhileConnectedEndsDisconnected() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    test::ClickConnect(w.Device(), logger);
    QVERIFY(w.Device()->IsConnected());
    logger.sim->Unplug();
    // The keep-alive's next exchange fails; the page then disconnects by itself.
    QTRY_VERIFY_WITH_TIMEOUT(!w.Device()->IsConnected() && !w.Device()->IsBusy(), 30000);
    QVERIFY(!ctx.link.Port().IsOpen());
    QCOMPARE(test::Button(&w, "connectButton")->text(), QStringLiteral("Connect"));
    QVERIFY(!w.TabBar()->IsTabEnabled(MainWindow::kTrackLogTab));
    QCOMPARE(w.ShownModel(), 0);
    // And the page can connect again to a logger that is back.
    SimulatedLogger again = SimulatedLogger::Start();
    QVERIFY(again.sim);
    test::ClickConnect(w.Device(), again);
    QVERIFY(w.Device()->IsConnected());
  }

  void writeNameChecksAndSends() {
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    AppContext ctx;
    DevicePage page(ctx, nullptr);
    page.show();
    auto* name = page.findChild<QLineEdit*>("userName");
    QCOMPARE(name->maxLength(), 16);

    // Not connected: nothing is sent and nothing is said.
    name->setText(QStringLiteral("Bad Name"));
    QCOMPARE(StopBoxText([&] {
               test::Button(&page, "writeNameButton")->click();
               page.WaitForIdle();
             }),
             QString());

    test::ClickConnect(&page, logger);
    QVERIFY(page.IsConnected());
    name->setText(QStringLiteral("Bad Name"));
    QCOMPARE(StopBoxText([&] {
               test::Button(&page, "writeNameButton")->click();
               page.WaitForIdle();
             }),
             ctx.strings.Text(390));
    name->setText(QStringLiteral("M\u00fcller"));
    QCOMPARE(StopBoxText([&] {
               test::Button(&page, "writeNameButton")->click();
               page.WaitForIdle();
             }),
             ctx.strings.Text(416));
    QVERIFY(logger.ReceivedWith("$KAVRO580,4,").empty());

    name->setText(QStringLiteral("Trail_Runner-016"));  // 16 characters
    QCOMPARE(StopBoxText([&] {
               test::Button(&page, "writeNameButton")->click();
               page.WaitForIdle();
             }),
             QString());
    QCOMPARE(logger.ReceivedWith("$KAVRO580,4,").size(), std::size_t(1));
    QVERIFY(logger.ReceivedWith("$KAVRO580,4,Trail_Runner-016*").size() == 1);
    QCOMPARE(logger.sim->UserName(), std::string("Trail_Runner-016"));
    QCOMPARE(ctx.device.Snapshot().userName, std::string("Trail_Runner-016"));
    test::ClickDisconnect(&page);
  }
};

QTEST_MAIN(DevicePageTest)
#include "DevicePageTest.moc"
