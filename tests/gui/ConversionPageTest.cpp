// The Track Log Format page with real widgets on the offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include "ConversionPage.h"
#include "Translations.h"
#include "support/MessageCatcher.h"
#include "support/PrivateMounts.h"
#include "common/Texts.h"
#include "track/TimeZoneTable.h"
#include "track/TrackRecord.h"

using kavro::AppContext;
using kavro::TrackRecord;
using kavro::gui::ConversionPage;
using kavro::gui::PageCommand;
using kavro::gui::test::MessageCatcher;
using kavro::NamedZoneIds;
using kavro::ZoneListSize;
using kavro::ZoneRowByUserText;
using kavro::test::PrivateMounts;

namespace {


void WriteTrl(const QString& path, const std::vector<TrackRecord>& records) {
  std::ofstream f(path.toStdString(), std::ios::binary);
  for (const auto& r : records) f.write(reinterpret_cast<const char*>(r.bytes.data()), 16);
}

QString FirstLine(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readLine());
}


bool& HavePrivateMounts() {
  static bool have = false;
  return have;
}

}  // namespace

class TestConversionPage : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Find(ConversionPage& page, const char* name) {
    T* w = page.findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("missing widget %s", name);
    return w;
  }

 private slots:
  void initialStateAndDefaults() {
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    auto* zone = Find<QComboBox>(page, "zoneCombo");
    // The table's 34 offsets first, then the named zones.
    QCOMPARE(zone->count(), ZoneListSize());
    QCOMPARE(zone->itemText(33), QStringLiteral("-12:00"));
    QCOMPARE(zone->itemText(34).toStdString(), NamedZoneIds().front());
    QCOMPARE(zone->itemText(0), QStringLiteral("+13:00"));
    QCOMPARE(zone->itemText(19), QStringLiteral(" 00:00"));
    QVERIFY(Find<QCheckBox>(page, "kmlCheck")->isChecked());
    QVERIFY(!Find<QCheckBox>(page, "textCheck")->isChecked());
    QCOMPARE(Find<QCheckBox>(page, "gpxCheck")->text(), QStringLiteral("GPX(*.gpx)"));
    QCOMPARE(Find<QPushButton>(page, "convertButton")->text(), QStringLiteral("Convert"));
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Status Message"));
    QVERIFY(Find<QLineEdit>(page, "sourceEdit")->isReadOnly());

    // Change everything, then Default All.
    zone->setCurrentIndex(6);
    emit zone->activated(6);
    QCOMPARE(page.Zone().row, 6);
    QCOMPARE(page.Zone().hours, 8);
    Find<QCheckBox>(page, "textCheck")->setChecked(true);
    Find<QCheckBox>(page, "kmlCheck")->setChecked(false);
    Find<QCheckBox>(page, "nmeaCheck")->setChecked(true);
    page.OnPageCommand(PageCommand::Apply);  // does nothing here
    QCOMPARE(page.Zone().row, 6);
    page.OnPageCommand(PageCommand::Default);
    QCOMPARE(zone->currentIndex(), 19);
    QCOMPARE(page.Zone().row, 19);
    QCOMPARE(page.Zone().hours, 0);
    QVERIFY(!Find<QCheckBox>(page, "textCheck")->isChecked());
    QVERIFY(Find<QCheckBox>(page, "kmlCheck")->isChecked());
    QVERIFY(!Find<QCheckBox>(page, "nmeaCheck")->isChecked());
    QVERIFY(!Find<QCheckBox>(page, "gpxCheck")->isChecked());
  }

  void zoneFromTheLogger() {
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    auto* zone = Find<QComboBox>(page, "zoneCombo");
    ctx.device.Update([](kavro::DeviceInfo& i) {
      i.timeZone = "+05:45";
      i.timeZoneValid = true;
    });
    page.RefreshFromDevice();
    QCOMPARE(zone->currentIndex(), 10);
    QCOMPARE(page.Zone().minutes, 45);
    ctx.device.Update([](kavro::DeviceInfo& i) { i.timeZone = "-03:30"; });
    page.RefreshFromDevice();
    QCOMPARE(zone->currentIndex(), 23);
    // A label of no row: nothing shown, the stored row stays in use.
    ctx.device.Update([](kavro::DeviceInfo& i) { i.timeZone = "+14:00"; });
    page.RefreshFromDevice();
    QCOMPARE(zone->currentIndex(), -1);
    QCOMPARE(page.Zone().row, 23);
  }

  // Without a logger the list shows the system's own offset, UTC included.
  void systemZoneIsSelectedWithoutALogger() {
    const QByteArray saved = qgetenv("TZ");
    const struct {
      const char* tz;
      int row;
    } cases[] = {{"UTC", 19}, {"Asia/Kathmandu", 10}, {"America/St_Johns", 23}};
    for (const auto& c : cases) {
      qputenv("TZ", c.tz);
      AppContext ctx;
      ConversionPage page(ctx, nullptr);
      QCOMPARE(Find<QComboBox>(page, "zoneCombo")->currentIndex(), c.row);
      QCOMPARE(page.Zone().row, c.row);
    }
    if (saved.isNull()) qunsetenv("TZ");
    else qputenv("TZ", saved);
  }

  void noSourceShowsTheMessage() {
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    MessageCatcher catcher;
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QCOMPARE(catcher.text, QStringLiteral("Please select Kavro track log source file(*.trl)."));
    QCOMPARE(catcher.title, QStringLiteral("Kavro Logger Utility"));
    QCOMPARE(catcher.icon, QMessageBox::Critical);
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Status Message"));
    QCOMPARE(ctx.zone.AppliedRow(), -1);
  }

  void convertWritesTheFourFilesInTheChosenZone() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString trl = dir.filePath(QStringLiteral("trip.trl"));
    WriteTrl(trl, {TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f)});
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    page.SetSourcePath(trl);
    QCOMPARE(Find<QLineEdit>(page, "sourceEdit")->text(), trl);
    auto* zone = Find<QComboBox>(page, "zoneCombo");
    zone->setCurrentIndex(6);
    emit zone->activated(6);  // +08:00
    for (const char* box : {"textCheck", "kmlCheck", "nmeaCheck", "gpxCheck"}) Find<QCheckBox>(page, box)->setChecked(true);
    QSignalSpy status(&page, &ConversionPage::statusChanged);
    QSignalSpy busy(&page, &kavro::gui::Page::busyChanged);
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QCOMPARE(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Converting..."));
    QVERIFY(!Find<QPushButton>(page, "convertButton")->isEnabled());
    QVERIFY(!Find<QComboBox>(page, "zoneCombo")->isEnabled());
    QVERIFY(page.IsBusy());
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Successfully!"), 20000);
    QVERIFY(Find<QPushButton>(page, "convertButton")->isEnabled());
    QCOMPARE(status.count(), 2);
    QCOMPARE(busy.count(), 2);
    QCOMPARE(ctx.zone.AppliedRow(), 6);  // stays in force

    QCOMPARE(FirstLine(dir.filePath(QStringLiteral("trip.txt"))),
             QStringLiteral("121.5654297,25.0330009,12.50,Sat Mar 15 09:30:12 2008\r\n"));
    QVERIFY(FirstLine(dir.filePath(QStringLiteral("tripNMEA.txt"))).startsWith(QStringLiteral("$GPRMC,013012,A,")));
    QVERIFY(FirstLine(dir.filePath(QStringLiteral("trip.kml"))).startsWith(QStringLiteral("<?xml")));
    QCOMPARE(FirstLine(dir.filePath(QStringLiteral("trip.gpx"))), QStringLiteral("<?xml version=\"1.0\"?>\r\n"));
    // Written in the order text, KML, NMEA, GPX.
    const QStringList order = {QStringLiteral("trip.txt"), QStringLiteral("trip.kml"), QStringLiteral("tripNMEA.txt"),
                               QStringLiteral("trip.gpx")};
    for (int i = 1; i < order.size(); ++i)
      QVERIFY(QFileInfo(dir.filePath(order[i - 1])).lastModified() <= QFileInfo(dir.filePath(order[i])).lastModified());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 5);  // no temporary file left

    // No format ticked: success without a file.
    for (const char* box : {"textCheck", "kmlCheck", "nmeaCheck", "gpxCheck"}) Find<QCheckBox>(page, box)->setChecked(false);
    QFile::remove(dir.filePath(QStringLiteral("trip.kml")));
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Successfully!"), 20000);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("trip.kml"))));
  }

  // A named zone is found by typing part of its name and counts like a row: the text takes the
  // offset in force at each point (Berlin's spring change, 2008-03-30 01:00 UTC).
  void namedZoneFoundByTypingConvertsAcrossTheClockChange() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString trl = dir.filePath(QStringLiteral("berlin.trl"));
    WriteTrl(trl, {TrackRecord::Make(1206838799, 52.5f, 13.4f, 35.0f), TrackRecord::Make(1206838800, 52.5f, 13.4f, 35.0f)});
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    page.SetSourcePath(trl);
    Find<QCheckBox>(page, "textCheck")->setChecked(true);
    auto* zone = Find<QComboBox>(page, "zoneCombo");
    QVERIFY(zone->isEditable());
    zone->lineEdit()->selectAll();
    QTest::keyClicks(zone->lineEdit(), QStringLiteral("berl"));
    QCompleter* finder = zone->completer();
    QVERIFY(finder != nullptr);
    QTRY_COMPARE(finder->completionCount(), 1);
    QCOMPARE(finder->currentCompletion(), QStringLiteral("Europe/Berlin"));
    // Picking the offered row from the popup.
    QTRY_VERIFY(finder->popup()->isVisible());
    finder->popup()->setCurrentIndex(finder->completionModel()->index(0, 0));
    QTest::keyClick(finder->popup(), Qt::Key_Return);
    const int berlin = ZoneRowByUserText("Europe/Berlin").value_or(-1);
    QCOMPARE(zone->currentIndex(), berlin);
    QCOMPARE(page.Zone().row, berlin);
    QCOMPARE(ctx.conversionZone.row, berlin);  // the record others read
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Successfully!"), 20000);
    QCOMPARE(ctx.zone.AppliedRow(), berlin);
    QFile text(dir.filePath(QStringLiteral("berlin.txt")));
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray lines = text.readAll();
    QVERIFY2(lines.contains("Sun Mar 30 01:59:59 2008\r\n"), lines.constData());
    QVERIFY2(lines.contains("Sun Mar 30 03:00:00 2008\r\n"), lines.constData());

    // A typed text that names no zone goes back to the chosen one.
    zone->lineEdit()->selectAll();
    QTest::keyClicks(zone->lineEdit(), QStringLiteral("Atlantis"));
    emit zone->lineEdit()->editingFinished();
    QCOMPARE(zone->currentText(), QStringLiteral("Europe/Berlin"));
    QCOMPARE(page.Zone().row, berlin);
    // A whole label typed and confirmed is taken.
    zone->lineEdit()->selectAll();
    QTest::keyClicks(zone->lineEdit(), QStringLiteral("-03:30"));
    emit zone->lineEdit()->editingFinished();
    QCOMPARE(page.Zone().row, 23);
  }

  // The GPX track is one row of the format table: its box follows the others, starts and
  // returns unticked, speaks the user's language, and writes NAME_track.gpx.
  void gpxTrackBoxWritesTheTrackFile() {
    {
      AppContext german;
      QVERIFY(LoadLanguage(german.strings, kavro::Language::German));
      ConversionPage page(german, nullptr);
      QCOMPARE(Find<QCheckBox>(page, "gpxTrackCheck")->text(), QStringLiteral("GPX-Track (*.gpx)"));
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString trl = dir.filePath(QStringLiteral("trip.trl"));
    WriteTrl(trl, {TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f)});
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    auto* box = Find<QCheckBox>(page, "gpxTrackCheck");
    QCOMPARE(box->text(), QStringLiteral("GPX track (*.gpx)"));
    QVERIFY(!box->isChecked());
    const QList<QCheckBox*> boxes = page.findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), 5);
    page.SetSourcePath(trl);
    Find<QCheckBox>(page, "kmlCheck")->setChecked(false);
    box->setChecked(true);
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QVERIFY(!box->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Successfully!"), 20000);
    QVERIFY(box->isEnabled());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("trip.trl"), QStringLiteral("trip_track.gpx")}));
    QFile gpx(dir.filePath(QStringLiteral("trip_track.gpx")));
    QVERIFY(gpx.open(QIODevice::ReadOnly));
    QVERIFY(gpx.readAll().contains("<trkpt lat=\"25.033001\" lon=\"121.565430\">"));
    page.OnPageCommand(PageCommand::Default);
    QVERIFY(!box->isChecked());
    QVERIFY(Find<QCheckBox>(page, "kmlCheck")->isChecked());
  }

  void eachFailedOutputShowsItsOwnReason() {
    if (!HavePrivateMounts()) QSKIP("no private mounts here");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A 1 MB disk holding a 240 KB track: its KML and GPX run to megabytes.
    QVERIFY(::mount("tmpfs", dir.path().toLocal8Bit().constData(), "tmpfs", 0, "size=1m") == 0);
    const QString trl = dir.filePath(QStringLiteral("trip.trl"));
    std::vector<TrackRecord> records;
    for (int i = 0; i < 15000; ++i) records.push_back(TrackRecord::Make(1205544612 + i, 25.03f, 121.56f, 12.5f));
    WriteTrl(trl, records);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("trip.txt")));  // the text output cannot be created
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    page.SetSourcePath(trl);
    for (const char* box : {"textCheck", "kmlCheck", "gpxCheck"}) Find<QCheckBox>(page, box)->setChecked(true);
    MessageCatcher catcher(3000);  // megabytes to format first: up to a minute on a busy machine
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Failed!"), 60000);
    QTRY_VERIFY(!catcher.text.isEmpty());
    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    const QStringList expected = {
        ctx.strings.Format(kavro::txt::OutputCreateFailed,
                           {dir.filePath(QStringLiteral("trip.txt")), QString::fromLocal8Bit(std::strerror(EISDIR))}),
        ctx.strings.Format(kavro::txt::OutputWriteFailed, {dir.filePath(QStringLiteral("trip.kml")), noSpace}),
        ctx.strings.Format(kavro::txt::OutputWriteFailed, {dir.filePath(QStringLiteral("trip.gpx")), noSpace})};
    QCOMPARE(catcher.text, expected.join(QLatin1Char('\n')));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("trip.trl")});
    ::umount2(dir.path().toLocal8Bit().constData(), MNT_DETACH);
  }

  void aFileThatIsNotATrackLogIsRefused() {
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("IMG_0001.trl"));
    QVERIFY(QFile::copy(QStringLiteral(KAVRO_TEST_DATA "/photos/Canon_EOS_D60.jpg"), photo));
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    page.SetSourcePath(photo);
    for (const char* box : {"textCheck", "kmlCheck", "nmeaCheck", "gpxCheck"}) Find<QCheckBox>(page, box)->setChecked(true);
    MessageCatcher catcher;
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Failed!"), 20000);
    QTRY_VERIFY(catcher.text.startsWith(QStringLiteral("The file ") + photo + QStringLiteral(" is not a track log file")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("IMG_0001.trl")});
  }

  void sourceThatCannotBeOpenedIsNamed() {
    QTemporaryDir dir;
    AppContext ctx;
    ConversionPage page(ctx, nullptr);
    page.show();
    const QString missing = dir.filePath(QStringLiteral("gone.trl"));
    page.SetSourcePath(missing);
    MessageCatcher catcher;
    QTest::mouseClick(Find<QPushButton>(page, "convertButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(page, "statusLabel")->text(), QStringLiteral("Convert Failed!"), 20000);
    QTRY_VERIFY(catcher.text.contains(missing));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    QVERIFY(Find<QPushButton>(page, "convertButton")->isEnabled());
  }
};

int main(int argc, char** argv) {
  HavePrivateMounts() = PrivateMounts();
  QApplication app(argc, argv);
  TestConversionPage test;
  return QTest::qExec(&test, argc, argv);
}
#include "ConversionPageTest.moc"
