// The Device page against the simulated T-580: port choice and Auto Detect, ports that cannot
// be opened, a logger that goes away, Write Name.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "support/GuiTestSupport.h"
#include "support/PtyPair.h"
#include "support/QuickTimings.h"
#include "common/Texts.h"
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
    PortInfo cp = bridge.Cp210xPort();

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

  void portSelectionFollowsFillPickAndAutoDetect() {
    SimulatedLogger plain = SimulatedLogger::Start();
    SimulatedLogger bridge = SimulatedLogger::Start();
    QVERIFY(plain.sim && bridge.sim);
    PortInfo cp = bridge.Cp210xPort();

    AppContext ctx;
    DevicePage page(ctx, nullptr);
    page.show();
    auto selection = [&] { return ctx.link.GetPortSelection(); };
    // Filled at start, with whatever the start chose.
    QVERIFY(!page.SelectedPort().empty());
    QCOMPARE(selection().portName, page.SelectedPort());
    QCOMPARE(selection().baudRate, 38400);
    QCOMPARE(selection().reserved, 0);

    page.SetExtraPorts({plain.Port(), cp});
    QCOMPARE(selection().portName, bridge.path);
    // A baud change alone leaves the stored selection as it was.
    auto* baud = page.findChild<QComboBox*>("baudList");
    QTest::keyClick(baud, Qt::Key_Home);
    QCOMPARE(baud->currentText(), QStringLiteral("4800"));
    QCOMPARE(selection().baudRate, 38400);
    // A pick stores the port with the speed now chosen.
    auto* port = page.findChild<QComboBox*>("portList");
    port->setCurrentIndex(port->findData(QString::fromStdString(plain.path)));
    emit port->activated(port->currentIndex());
    QCOMPARE(selection().portName, plain.path);
    QCOMPARE(selection().baudRate, 4800);
    test::Button(&page, "autoDetectButton")->click();
    QCOMPARE(selection().portName, bridge.path);
    QCOMPARE(selection().baudRate, 4800);
    QCOMPARE(selection().reserved, 0);
  }

  void choiceWhileConnectedCountsFromTheNextConnect() {
    SimulatedLogger first = SimulatedLogger::Start();
    SimulatedLogger bridge = SimulatedLogger::Start();
    QVERIFY(first.sim && bridge.sim);
    PortInfo cp = bridge.Cp210xPort();

    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    DevicePage* page = w.Device();
    QVERIFY(test::ConnectThrough(page, {first.Port(), cp}, first.path));
    QCOMPARE(ctx.link.Port().PortName(), first.path);

    auto* port = page->findChild<QComboBox*>("portList");
    auto* baud = page->findChild<QComboBox*>("baudList");
    QVERIFY(port->isEnabled());
    QVERIFY(baud->isEnabled());
    QVERIFY(test::Button(page, "autoDetectButton")->isEnabled());
    QTest::keyClick(baud, Qt::Key_Home);
    QVERIFY(page->SelectPort(first.path));
    // Default All while connected: the detected bridge and 38400 again.
    test::Button(&w, "defaultAllButton")->click();
    QCOMPARE(port->currentData().toString().toStdString(), bridge.path);
    QCOMPARE(page->SelectedPort(), bridge.path);
    QCOMPARE(baud->currentText(), QStringLiteral("38400"));
    // A new choice leaves the open port alone ...
    QTest::keyClick(baud, Qt::Key_Up);
    QCOMPARE(baud->currentText(), QStringLiteral("19200"));
    QCOMPARE(ctx.link.Port().PortName(), first.path);
    QCOMPARE(ctx.link.Port().BaudRate(), 38400);
    QVERIFY(bridge.ReceivedWith("$").empty());
    // A download still takes the path of the port in use, not of the new choice.
    QVERIFY(page->SelectedIsBridge());
    QVERIFY(!page->ConnectedIsBridge());
    // ... and is what the next Connect opens.
    test::ClickDisconnect(page);
    QVERIFY(!page->IsConnected());
    test::Button(page, "connectButton")->click();
    page->WaitForIdle();
    QApplication::processEvents();
    QVERIFY(page->IsConnected());
    QCOMPARE(ctx.link.Port().PortName(), bridge.path);
    QCOMPARE(ctx.link.Port().BaudRate(), 19200);
    QVERIFY(!bridge.ReceivedWith("$KAVRO580,1*").empty());
    QVERIFY(page->ConnectedIsBridge());
    test::ClickDisconnect(page);
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

    // A plain file is no serial port, and says so rather than the system's ioctl words.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    PortInfo file = missing;
    file.devicePath = QDir(dir.path()).filePath(QStringLiteral("notes.txt")).toStdString();
    QFile notes(QString::fromStdString(file.devicePath));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    CompletePortInfo(file);
    QVERIFY(!test::ConnectThrough(&page, {file}, file.devicePath));
    QCOMPARE(StatusOf(&page),
             QStringLiteral("Failed connecting to device!\n") + QString::fromStdString(file.devicePath) +
                 QStringLiteral(" is not a serial port."));

    // A port another program holds: busy.
    SimulatedLogger logger = SimulatedLogger::Start();
    QVERIFY(logger.sim);
    SerialPort other;
    other.SetPortName(logger.path);
    QVERIFY(other.Open());
    QVERIFY(!test::ConnectThrough(&page, {logger.Port()}, logger.path));
    QVERIFY2(StatusOf(&page).startsWith(QStringLiteral("Failed connecting to device!\n")), qPrintable(StatusOf(&page)));
    QVERIFY2(StatusOf(&page).contains(QStringLiteral("in use by another program")), qPrintable(StatusOf(&page)));
    QVERIFY(logger.ReceivedWith("$").empty());
    other.Close();
    // Once free, the same port connects.
    test::ClickConnect(&page, logger);
    QVERIFY(page.IsConnected());
    test::ClickDisconnect(&page);
  }

  // A port where nothing answers: the status says so and what to try, naming the port.
  void portWhereNothingAnswersSuggestsAutoDetect() {
    kavro::test::PtyPair silent;
    QVERIFY(silent.Ok());
    AppContext ctx;
    ctx.link.SetTiming(kavro::test::QuickTiming());
    DevicePage page(ctx, nullptr);
    page.show();
    PortInfo port;
    port.devicePath = silent.SlavePath();
    port.portName = silent.SlavePath();
    port.description = "Quiet";
    port.isVirtual = true;
    CompletePortInfo(port);
    QVERIFY(!test::ConnectThrough(&page, {port}, port.devicePath));
    QCOMPARE(StatusOf(&page), QStringLiteral("Timeout. Device Disconnected!\nNothing answered on ") +
                                  QString::fromStdString(port.friendlyName) +
                                  QStringLiteral(". Try Auto Detect, or choose another port."));
  }

  // Auto Detect that finds no bridge says so instead of doing nothing visibly.
  void autoDetectFindingNothingSaysSo() {
    AppContext ctx;
    DevicePage page(ctx, nullptr);
    page.show();
    SimulatedLogger plain = SimulatedLogger::Start();
    QVERIFY(plain.sim);
    page.SetExtraPorts({plain.Port()});
    if (FindBridgePort(EnumeratePorts({})).has_value()) QSKIP("a CP210x is attached to this machine");
    const QString before = StatusOf(&page);
    test::Button(&page, "autoDetectButton")->click();
    QCOMPARE(StatusOf(&page), ctx.strings.Text(txt::AutoDetectNothing));
    QVERIFY(StatusOf(&page) != before);
    // With a bridge it picks it, as before.
    SimulatedLogger bridge = SimulatedLogger::Start();
    QVERIFY(bridge.sim);
    page.SetExtraPorts({plain.Port(), bridge.Cp210xPort()});
    page.findChild<QLabel*>("connectStatus")->clear();
    test::Button(&page, "autoDetectButton")->click();
    QCOMPARE(page.SelectedPort(), bridge.path);
    QVERIFY(StatusOf(&page) != ctx.strings.Text(txt::AutoDetectNothing));
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
    QCOMPARE(w.ShownModel(), DeviceModel::None);
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

    // Not connected: nothing is sent, no box comes up, and the status line says why.
    name->setText(QStringLiteral("Bad Name"));
    QCOMPARE(StopBoxText([&] {
               test::Button(&page, "writeNameButton")->click();
               page.WaitForIdle();
             }),
             QString());
    QApplication::processEvents();
    QCOMPARE(StatusOf(&page), QStringLiteral("Device not connected!"));

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
