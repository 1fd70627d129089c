// The Track Log Photo page and its settings dialog, on real widgets.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "PhotoCombineSettingsDialog.h"
#include "PhotoPage.h"
#include "common/Texts.h"
#include "support/PhotoTestSupport.h"

using kavro::AppContext;
using kavro::gui::PageCommand;
using kavro::gui::PhotoCombineSettingsDialog;
using kavro::gui::PhotoPage;
namespace test = kavro::test;
namespace txt = kavro::txt;

class PhotoPageTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppContext> ctx;
  std::unique_ptr<PhotoPage> page;
  QStringList stops;
  int kmlAsked = 0;
  QString kmlAnswer;
  std::function<int(PhotoCombineSettingsDialog&)> settingsAction;

  void OpenSettings(std::function<int(PhotoCombineSettingsDialog&)> action) {
    settingsAction = std::move(action);
    QTest::mouseClick(page->SettingsButton(), Qt::LeftButton);
  }

 private slots:
  void init() {
    ctx = std::make_unique<AppContext>();
    page = std::make_unique<PhotoPage>(*ctx, nullptr);
    stops.clear();
    kmlAsked = 0;
    kmlAnswer.clear();
    PhotoPage::Hooks hooks;
    hooks.showStop = [this](const QString& text) { stops << text; };
    hooks.chooseKml = [this] {
      ++kmlAsked;
      return kmlAnswer;
    };
    hooks.runSettings = [this](PhotoCombineSettingsDialog& d) { return settingsAction ? settingsAction(d) : 0; };
    page->SetHooks(hooks);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
  }
  void cleanup() { page.reset(); }

  void settingsDialogListsTheZonesAndLimitsTheCalibration() {
    PhotoCombineSettingsDialog d(*ctx, nullptr);
    QCOMPARE(d.ZoneList()->count(), 34);
    QCOMPARE(d.ZoneList()->itemText(0), QStringLiteral("+13:00"));
    QCOMPARE(d.ZoneList()->itemText(19), QStringLiteral(" 00:00"));
    QCOMPARE(d.ZoneList()->itemText(33), QStringLiteral("-12:00"));
    QCOMPARE(d.DaySpin()->minimum(), -30);
    QCOMPARE(d.DaySpin()->maximum(), 30);
    QCOMPARE(d.HourSpin()->minimum(), -23);
    QCOMPARE(d.HourSpin()->maximum(), 23);
    QCOMPARE(d.MinuteSpin()->minimum(), -59);
    QCOMPARE(d.MinuteSpin()->maximum(), 59);
    QCOMPARE(d.SecondSpin()->minimum(), -59);
    QCOMPARE(d.SecondSpin()->maximum(), 59);
    QVERIFY(d.DiscardRules()->text().contains(ctx->strings.Text(txt::DiscardLongGap)));
    QVERIFY(d.DiscardRules()->text().contains(QStringLiteral("(1) ")));
    d.DaySpin()->setValue(-1);
    d.HourSpin()->setValue(-23);
    d.MinuteSpin()->setValue(-59);
    d.SecondSpin()->setValue(-59);
    QCOMPARE(d.CalibrationSeconds(), -172799);
    d.DaySpin()->setValue(99);  // clamped by the spin range
    QCOMPARE(d.DaySpin()->value(), 30);
  }

  // Without a logger the settings dialog shows the system's own offset, UTC included.
  void settingsDialogSelectsTheSystemZone() {
    const QByteArray saved = qgetenv("TZ");
    const struct {
      const char* tz;
      int row;
    } cases[] = {{"UTC", 19}, {"Asia/Kathmandu", 10}, {"America/St_Johns", 23}};
    for (const auto& c : cases) {
      qputenv("TZ", c.tz);
      AppContext fresh;
      PhotoCombineSettingsDialog d(fresh, nullptr);
      QCOMPARE(d.ZoneList()->currentIndex(), c.row);
    }
    if (saved.isNull()) qunsetenv("TZ");
    else qputenv("TZ", saved);
  }

  void cancelledEditsStayStoredButThePageKeepsItsCalibration() {
    OpenSettings([](PhotoCombineSettingsDialog& d) {
      d.HourSpin()->setValue(2);
      d.ZoneList()->setCurrentIndex(6);
      emit d.ZoneList()->activated(6);
      d.WriteGpsBox()->setChecked(true);
      d.accept();
      return static_cast<int>(QDialog::Accepted);
    });
    QCOMPARE(page->CalibrationSeconds(), 7200);
    QCOMPARE(ctx->photo.timeZoneIndex, 6);
    QVERIFY(ctx->photo.writeGps);
    QVERIFY(ctx->photo.zonePicked);

    OpenSettings([](PhotoCombineSettingsDialog& d) {
      d.DaySpin()->setValue(1);
      d.WriteGpsBox()->setChecked(false);
      d.reject();
      return static_cast<int>(QDialog::Rejected);
    });
    QCOMPARE(page->CalibrationSeconds(), 7200);
    QVERIFY(ctx->photo.writeGps);
    QCOMPARE(ctx->photo.stored.day, 1);

    int shownDay = -100, shownRow = -1;
    OpenSettings([&](PhotoCombineSettingsDialog& d) {
      shownDay = d.DaySpin()->value();
      shownRow = d.ZoneList()->currentIndex();
      return static_cast<int>(QDialog::Rejected);
    });
    QCOMPARE(shownDay, 1);
    QCOMPARE(shownRow, 6);  // the zone picked before
  }

  void defaultAllResetsTheNextDialog() {
    ctx->photo.stored = {8, 0, 3, 4, 5, 6};
    ctx->photo.zonePicked = true;
    ctx->photo.timeZoneIndex = 6;
    page->OnPageCommand(PageCommand::Apply);
    QVERIFY(!ctx->photo.defaultsPending);
    page->OnPageCommand(PageCommand::Default);
    QVERIFY(ctx->photo.defaultsPending);
    QCOMPARE(ctx->photo.stored.day, 0);
    int row = -1;
    QList<int> values;
    OpenSettings([&](PhotoCombineSettingsDialog& d) {
      row = d.ZoneList()->currentIndex();
      values = {d.DaySpin()->value(), d.HourSpin()->value(), d.MinuteSpin()->value(), d.SecondSpin()->value()};
      return static_cast<int>(QDialog::Rejected);
    });
    QCOMPARE(row, 19);
    QCOMPARE(values, (QList<int>{0, 0, 0, 0}));
    QVERIFY(!ctx->photo.defaultsPending);
  }

  void connectingCancelsAPendingReset() {
    ctx->photo.zonePicked = true;
    ctx->photo.timeZoneIndex = 6;
    page->OnPageCommand(PageCommand::Default);
    QVERIFY(ctx->photo.defaultsPending);
    page->RefreshFromDevice();  // what the main window does after a connect
    QVERIFY(!ctx->photo.defaultsPending);
    int row = -1;
    OpenSettings([&](PhotoCombineSettingsDialog& d) {
      row = d.ZoneList()->currentIndex();
      return static_cast<int>(QDialog::Rejected);
    });
    QCOMPARE(row, 6);
  }

  void convertAsksForTheTrackFileFirstThenTheFolder() {
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QCOMPARE(stops, QStringList{ctx->strings.Text(txt::SelectTrlSource)});
    page->SetTrlPath(QStringLiteral("/tmp/x.trl"));
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QCOMPARE(stops.size(), 2);
    QCOMPARE(stops.last(), ctx->strings.Text(txt::SelectPhotoDirectory));
    QCOMPARE(kmlAsked, 0);
    // A cancelled save dialog ends it quietly.
    page->SetPhotoDirectory(QStringLiteral("/tmp"));
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QCOMPARE(kmlAsked, 1);
    QCOMPARE(stops.size(), 2);
    QCOMPARE(page->StatusLabel()->text(), ctx->strings.Text(txt::ConvertStatusMessage));
  }

  void convertFillsTheListSummaryKmlAndCopies() {
    test::TempDir dir("page");
    const auto photos = dir.path / "photos";
    std::filesystem::create_directory(photos);
    const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
    test::WriteTrl(dir.path / "t.trl", {kavro::TrackRecord::Make(t10, 25.25f, 121.5f, 10),
                                        kavro::TrackRecord::Make(t10 + 60, 25.5f, 121.75f, 20),
                                        kavro::TrackRecord::Make(t10 + 120, 25.75f, 122.0f, 30)});
    test::TinyJpeg a, b, c;
    a.dateTimeOriginal = "2008:02:28 18:00:20";
    b.dateTimeOriginal = "2008:02:28 18:01:50";
    b.make = "CASIO";
    c.dateTimeOriginal = "2008:02:28 19:00:00";
    test::WriteBytes(photos / "a.jpg", a.Build());
    test::WriteBytes(photos / "b.jpg", b.Build());
    test::WriteBytes(photos / "c.jpg", c.Build());
    test::WriteBytes(photos / "d.jpg", {0xFF, 0xD8, 0xFF, 0xDB});
    const auto originalA = test::ReadBytes(photos / "a.jpg");

    OpenSettings([](PhotoCombineSettingsDialog& d) {
      d.ZoneList()->setCurrentIndex(6);  // +08:00
      emit d.ZoneList()->activated(6);
      d.WriteGpsBox()->setChecked(true);
      d.accept();
      return static_cast<int>(QDialog::Accepted);
    });
    page->SetTrlPath(QString::fromStdString((dir.path / "t.trl").string()));
    page->SetPhotoDirectory(QString::fromStdString(photos.string()));
    kmlAnswer = QString::fromStdString((dir.path / "out.kml").string());
    QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 1 || finished.wait(120000));
    QCOMPARE(page->StatusLabel()->text(), ctx->strings.Text(txt::ConvertSuccess));
    // b.jpg is of another make: it gets its copy too.
    QCOMPARE(page->SummaryLabel()->text(), QStringLiteral("Photo Parsed: Pass:3 Error:1 \nPhoto Combined: Pass:2 Error:2\n"
                                                          "Geotagged copies written: 2 of 2"));
    QStringList lines;
    for (int i = 0; i < page->ResultList()->count(); ++i) lines << page->ResultList()->item(i)->text();
    QCOMPARE(lines.size(), 8);
    QVERIFY(lines[0].startsWith(QStringLiteral("Photo Parsed Pass:")));
    QVERIFY(lines[3].endsWith(QStringLiteral("d.jpg;Not EXIF format.")));
    QVERIFY(lines[4].startsWith(QStringLiteral("Photo Combined Failed:")));
    QVERIFY(std::filesystem::exists(dir.path / "out.kml"));
    QVERIFY(std::filesystem::exists(photos / "GPS" / "a_GPS.jpg"));
    QVERIFY(std::filesystem::exists(photos / "GPS" / "b_GPS.jpg"));
    QVERIFY(test::ReadBytes(photos / "a.jpg") == originalA);
    QVERIFY(page->ConvertButton()->isEnabled());
    QCOMPARE(ctx->zone.AppliedRow(), 6);
  }

  // Preview runs without writing and fills the report table; the dialog's match and sidecar
  // options reach the run, and Convert then writes what Preview announced.
  void previewFillsTheReportAndWritesNothing() {
    test::TempDir dir("page-preview");
    const auto photos = dir.path / "photos";
    std::filesystem::create_directory(photos);
    const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
    test::WriteTrl(dir.path / "t.trl", {kavro::TrackRecord::Make(t10, 25.0f, 121.0f, 10),
                                        kavro::TrackRecord::Make(t10 + 60, 26.0f, 122.0f, 20)});
    test::TinyJpeg a;
    a.make = "NIKON";
    a.dateTimeOriginal = "2008:02:28 18:00:15";
    test::WriteBytes(photos / "a.jpg", a.Build());
    std::filesystem::copy_file(std::filesystem::path(KAVRO_TEST_DATA) / "photos" / "raw" / "DNG.dng", photos / "b.dng");

    OpenSettings([](PhotoCombineSettingsDialog& d) {
      d.ZoneList()->setCurrentIndex(6);  // +08:00
      emit d.ZoneList()->activated(6);
      d.WriteGpsBox()->setChecked(true);
      d.InterpolateBox()->setChecked(true);
      d.MaxGapSpin()->setValue(90);
      d.SidecarExtBox()->setChecked(true);
      d.accept();
      return static_cast<int>(QDialog::Accepted);
    });
    QCOMPARE(ctx->photo.match.maxGapSeconds, 90);
    QVERIFY(ctx->photo.match.interpolate);
    page->SetTrlPath(QString::fromStdString((dir.path / "t.trl").string()));
    page->SetPhotoDirectory(QString::fromStdString(photos.string()));
    QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
    QTest::mouseClick(page->PreviewButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 1 || finished.wait(120000));
    QCOMPARE(kmlAsked, 0);
    QCOMPARE(page->StatusLabel()->text(), ctx->strings.Text(txt::PreviewDone));
    QVERIFY(!std::filesystem::exists(photos / "GPS"));
    QVERIFY(!page->Progress()->isVisible());
    QTableWidget* table = page->ReportTable();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("a.jpg"));
    QCOMPARE(table->item(0, 3)->text(), ctx->strings.Text(txt::MatchInterpolated));
    QCOMPARE(table->item(0, 5)->text(), QStringLiteral("25.2500000"));
    QCOMPARE(table->item(0, 8)->text(), ctx->strings.Format(txt::WouldWriteCopy, {QStringLiteral("a_GPS.jpg")}));
    QCOMPARE(table->item(1, 0)->text(), QStringLiteral("b.dng"));
    QCOMPARE(table->item(1, 3)->text(), ctx->strings.Text(txt::MatchOutside));  // taken in 2005
    QCOMPARE(ctx->photo.lastReport.rows.size(), std::size_t{2});

    kmlAnswer = QString::fromStdString((dir.path / "out.kml").string());
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 2 || finished.wait(120000));
    QCOMPARE(page->StatusLabel()->text(), ctx->strings.Text(txt::ConvertSuccess));
    QVERIFY(std::filesystem::exists(photos / "GPS" / "a_GPS.jpg"));
    QCOMPARE(table->item(0, 8)->text(), ctx->strings.Format(txt::WrittenCopy, {QStringLiteral("a_GPS.jpg")}));
  }

  // What kavro geotag refuses with status 1 is no success here either: the reason, no KML.
  // A forgotten camera zone: nothing matches, and the summary and the list say why.
  void matchingNothingSaysWhy() {
    test::TempDir dir("page-nomatch");
    const auto photos = dir.path / "photos";
    std::filesystem::create_directory(photos);
    const std::int32_t t10 = test::Utc(2008, 2, 28, 10, 0, 0);
    test::WriteTrl(dir.path / "t.trl", {kavro::TrackRecord::Make(t10, 25.25f, 121.5f, 10),
                                        kavro::TrackRecord::Make(t10 + 120, 25.75f, 122.0f, 30)});
    test::TinyJpeg a;
    a.dateTimeOriginal = "2008:02:28 18:01:00";  // +08:00, but the photo zone is still " 00:00"
    test::WriteBytes(photos / "a.jpg", a.Build());
    page->SetTrlPath(QString::fromStdString((dir.path / "t.trl").string()));
    page->SetPhotoDirectory(QString::fromStdString(photos.string()));
    kmlAnswer = QString::fromStdString((dir.path / "out.kml").string());
    QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 1 || finished.wait(120000));
    const QString why = ctx->strings.Format(txt::NoPhotoMatched,
                                            {QStringLiteral("2008-02-28 18:01:00"), QStringLiteral("2008-02-28 18:01:00"),
                                             QStringLiteral("2008-02-28 10:00:00"), QStringLiteral("2008-02-28 10:02:00"),
                                             QStringLiteral("+00:00")});
    QVERIFY2(page->SummaryLabel()->text().endsWith(QLatin1Char('\n') + why), qPrintable(page->SummaryLabel()->text()));
    QCOMPARE(page->ResultList()->item(page->ResultList()->count() - 1)->text(), why);
  }

  void unreadableTrackOrFolderShowsTheFailureAndLeavesNoKml() {
    test::TempDir dir("page-unreadable");
    const auto photos = dir.path / "photos";
    std::filesystem::create_directory(photos);
    std::filesystem::create_directory(dir.path / "folder.trl");
    test::WriteTrl(dir.path / "t.trl", {kavro::TrackRecord::Make(test::Utc(2008, 2, 28, 10, 0, 0), 25, 121, 10)});
    test::WriteBytes(photos / "a.jpg", test::TinyJpeg().Build());
    // A photo renamed to .trl is no track, whatever few records pass by chance.
    std::filesystem::copy_file(std::filesystem::path(KAVRO_TEST_DATA) / "photos" / "Canon_EOS_D60.jpg",
                               photos / "photo.trl");
    const auto kml = dir.path / "out.kml";
    kmlAnswer = QString::fromStdString(kml.string());
    struct Case {
      std::filesystem::path trl, folder;
      QString named, reason;
    };
    const Case cases[] = {
        {dir.path / "none.trl", photos, QStringLiteral("none.trl"), QString::fromLocal8Bit(std::strerror(ENOENT))},
        {dir.path / "folder.trl", photos, QStringLiteral("folder.trl"), QString::fromLocal8Bit(std::strerror(EISDIR))},
        {dir.path / "t.trl", dir.path / "t.trl", QString::fromStdString((dir.path / "t.trl").string()),
         QString::fromLocal8Bit(std::strerror(ENOTDIR))},
        {dir.path / "t.trl", dir.path / "gone", QStringLiteral("gone"), QStringLiteral(": No such folder")},
        {photos / "photo.trl", photos, QString::fromStdString((photos / "photo.trl").string()),
         QStringLiteral("is not a track log file")},
    };
    for (const Case& c : cases) {
      stops.clear();
      page->SetTrlPath(QString::fromStdString(c.trl.string()));
      page->SetPhotoDirectory(QString::fromStdString(c.folder.string()));
      QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
      QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
      QVERIFY(finished.count() == 1 || finished.wait(120000));
      const QString status = page->StatusLabel()->text();
      QVERIFY2(status.contains(c.named) && status.contains(c.reason), qPrintable(status));
      QVERIFY(status != ctx->strings.Text(txt::ConvertSuccess));
      QCOMPARE(stops, QStringList{status});
      QVERIFY(!std::filesystem::exists(kml));
      QVERIFY(page->ConvertButton()->isEnabled());
    }
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path)) files += e.is_regular_file();
    QCOMPARE(files, std::size_t{1});  // the track only, no temporary
  }

  void unwritableKmlIsReported() {
    test::TempDir dir("page-bad");
    test::WriteTrl(dir.path / "t.trl", {});
    page->SetTrlPath(QString::fromStdString((dir.path / "t.trl").string()));
    page->SetPhotoDirectory(QString::fromStdString(dir.path.string()));
    kmlAnswer = QString::fromStdString((dir.path / "missing" / "out.kml").string());
    QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
    QTest::mouseClick(page->ConvertButton(), Qt::LeftButton);
    QVERIFY(finished.count() == 1 || finished.wait(120000));
    QCOMPARE(stops.size(), 1);
    QVERIFY(stops[0].contains(QStringLiteral("out.kml")));
    QVERIFY(page->StatusLabel()->text() != ctx->strings.Text(txt::ConvertSuccess));
  }
};

QTEST_MAIN(PhotoPageTest)
#include "PhotoPageTest.moc"
