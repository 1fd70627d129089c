// The photo settings dialog's time options on real widgets: the photo's own zone, and the
// camera clock set from photos of a clock.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "PhotoCombineSettingsDialog.h"
#include "PhotoPage.h"
#include "common/Texts.h"
#include "support/PhotoTestSupport.h"

using kavro::AppContext;
using kavro::gui::PhotoCombineSettingsDialog;
using kavro::gui::PhotoPage;
namespace test = kavro::test;
namespace txt = kavro::txt;
namespace fs = std::filesystem;

class PhotoTimeSettingsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppContext> ctx;
  std::unique_ptr<PhotoPage> page;
  std::function<int(PhotoCombineSettingsDialog&)> settingsAction;

  void OpenSettings(std::function<int(PhotoCombineSettingsDialog&)> action) {
    settingsAction = std::move(action);
    QTest::mouseClick(page->SettingsButton(), Qt::LeftButton);
  }
  bool Preview() {
    QSignalSpy finished(page.get(), &PhotoPage::conversionFinished);
    QTest::mouseClick(page->PreviewButton(), Qt::LeftButton);
    return finished.count() == 1 || finished.wait(60000);
  }

 private slots:
  void init() {
    ctx = std::make_unique<AppContext>();
    page = std::make_unique<PhotoPage>(*ctx, nullptr);
    PhotoPage::Hooks hooks;
    hooks.showStop = [](const QString&) {};
    hooks.runSettings = [this](PhotoCombineSettingsDialog& d) { return settingsAction ? settingsAction(d) : 0; };
    page->SetHooks(hooks);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
  }
  void cleanup() { page.reset(); }

  // A phone's HEIC taken at 18:39:11 -04:00 (22:39:11 UTC) while +08:00 is chosen: matched in
  // its own zone; with the box checked, in the chosen one, and the box stays checked.
  void ignorePhotoZoneReachesTheRunAndIsKept() {
    test::TempDir dir("page-own-zone");
    const fs::path photos = dir.path / "photos";
    fs::create_directory(photos);
    fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos/raw/Apple_iPhone.heic", photos / "phone.heic");
    const std::int32_t taken = test::Utc(2020, 5, 4, 22, 39, 11);
    test::WriteTrl(dir.path / "t.trl", {kavro::TrackRecord::Make(taken - 30, 40.75f, -74.0f, 10),
                                        kavro::TrackRecord::Make(taken + 30, 40.5f, -74.25f, 10)});
    page->SetTrlPath(QString::fromStdString((dir.path / "t.trl").string()));
    page->SetPhotoDirectory(QString::fromStdString(photos.string()));
    OpenSettings([](PhotoCombineSettingsDialog& d) {
      d.ZoneList()->setCurrentIndex(6);  // +08:00
      emit d.ZoneList()->activated(6);
      d.accept();
      return static_cast<int>(QDialog::Accepted);
    });
    QVERIFY(Preview());
    QTableWidget* table = page->ReportTable();
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->columnCount(), 11);
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("2020-05-04T22:39:11Z"));
    QCOMPARE(table->item(0, 10)->text(),
             ctx->strings.Format(txt::OffsetFromPhoto, {QStringLiteral("-04:00"), QStringLiteral("OffsetTimeOriginal")}));
    QStringList lines;
    for (int i = 0; i < page->ResultList()->count(); ++i) lines << page->ResultList()->item(i)->text();
    QVERIFY2(lines.join('\n').contains(QStringLiteral("the time zone stored in the photo (OffsetTimeOriginal)")),
             qPrintable(lines.join('\n')));

    bool wasChecked = true;
    OpenSettings([&wasChecked](PhotoCombineSettingsDialog& d) {
      wasChecked = d.IgnorePhotoZoneBox()->isChecked();
      d.IgnorePhotoZoneBox()->setChecked(true);
      d.accept();
      return static_cast<int>(QDialog::Accepted);
    });
    QVERIFY(!wasChecked);
    QVERIFY(ctx->photo.ignorePhotoZone);
    QVERIFY(Preview());
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("2020-05-04T10:39:11Z"));
    QCOMPARE(table->item(0, 10)->text(), ctx->strings.Format(txt::OffsetFromZone, {QStringLiteral("+08:00")}));
    QCOMPARE(table->item(0, 3)->text(), ctx->strings.Text(txt::MatchOutside));

    OpenSettings([&wasChecked](PhotoCombineSettingsDialog& d) {
      wasChecked = d.IgnorePhotoZoneBox()->isChecked();
      return 0;
    });
    QVERIFY(wasChecked);
  }
};

QTEST_MAIN(PhotoTimeSettingsTest)
#include "PhotoTimeSettingsTest.moc"
