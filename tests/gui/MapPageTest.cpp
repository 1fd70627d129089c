// The Map tab with real widgets on the offscreen platform: never disabled, the files of the
// last conversion, hover in the conversion page's zone, zoom, pan, Fit, Save Picture..., tiles
// from a server on 127.0.0.1 and the photo click.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>
#include <filesystem>

#include "ConversionPage.h"
#include "MapPage.h"
#include "MapWidget.h"
#include "OwnerDrawTabBar.h"
#include "PhotoPage.h"
#include "TrackLogPage.h"
#include "map/MapHitTest.h"
#include "map/MapPicture.h"
#include "map/ProfilePainter.h"
#include "ProfileWidget.h"
#include "map/TileSource.h"
#include "support/GuiTestSupport.h"
#include "support/PhotoTestSupport.h"
#include "support/TileServer.h"
#include "support/WriterTestSupport.h"
#include "track/TrackRecord.h"

using namespace kavro;
using namespace kavro::gui;
namespace fs = std::filesystem;

namespace {

// A walk of 100 points going north-east from 47.37 N 8.54 E, one every 10 s from 2008-03-15 01:30:12 UTC.
fs::path WriteWalk(const fs::path& dir) {
  std::vector<TrackRecord> records;
  for (int i = 0; i < 100; ++i)
    records.push_back(TrackRecord::Make(1205544612 + i * 10, 47.37f + static_cast<float>(i) * 0.0002f,
                                        8.54f + static_cast<float>(i) * 0.0003f, 400.0f + static_cast<float>(i)));
  const fs::path trl = dir / "walk.trl";
  WriteTrl(trl, records);
  return trl;
}

void SendWheel(QWidget* w, QPointF at, int delta) {
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                false);
  QApplication::sendEvent(w, &e);
}

void SendMouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace

class MapPageTest : public QObject {
  Q_OBJECT

 private slots:
  void mapTabIsSixthAndNeverDisabled() {
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    OwnerDrawTabBar* bar = w.TabBar();
    QCOMPARE(bar->count(), 6);
    QCOMPARE(bar->tabText(MainWindow::kMapTab), QStringLiteral("Map"));
    QVERIFY(bar->IsTabEnabled(MainWindow::kMapTab));
    // From the last tab of the logger's five, Right goes to the map; from the map to the first.
    w.ShowPage(MainWindow::kFirmwareTab);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->currentIndex(), int(MainWindow::kMapTab));
    QVERIFY(w.VisiblePage() == w.Map());
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->currentIndex(), int(MainWindow::kDeviceTab));
    QTest::keyClick(bar, Qt::Key_Left);
    QCOMPARE(bar->currentIndex(), int(MainWindow::kMapTab));
    // Connected: the firmware tab is greyed, the map is not, and a step over the firmware tab lands on it.
    test::SimulatedLogger logger = test::SimulatedLogger::Start();
    QVERIFY(logger.sim);
    w.ShowPage(MainWindow::kDeviceTab);
    QVERIFY(test::ConnectThrough(w.Device(), {logger.Port()}, logger.path));
    QVERIFY(!bar->IsTabEnabled(MainWindow::kFirmwareTab));
    QVERIFY(bar->IsTabEnabled(MainWindow::kMapTab));
    w.ShowPage(MainWindow::kPhotoTab);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->currentIndex(), int(MainWindow::kMapTab));
    // While a download holds the other tabs, the map stays reachable by mouse.
    emit w.TrackLog()->downloadRunning(true);
    QVERIFY(!bar->IsTabEnabled(MainWindow::kDeviceTab));
    QVERIFY(bar->IsTabEnabled(MainWindow::kMapTab));
    w.ShowPage(MainWindow::kTrackLogTab);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(MainWindow::kMapTab).center());
    QCOMPARE(bar->currentIndex(), int(MainWindow::kMapTab));
    emit w.TrackLog()->downloadRunning(false);
    // Apply All and Default All leave what it shows alone.
    w.ApplyAll();
    w.DefaultAll();
    QVERIFY(bar->IsTabEnabled(MainWindow::kMapTab));
    w.ShowPage(MainWindow::kDeviceTab);
    test::ClickDisconnect(w.Device());
  }

  void conversionShowsItsTrackAndHoverUsesTheConversionZone() {
    const fs::path dir = TempDir("gui-map-convert");
    const fs::path trl = WriteWalk(dir);
    AppContext ctx;
    MainWindow w(ctx);
    w.resize(900, 700);
    w.show();
    auto* conversion = static_cast<ConversionPage*>(w.PageAt(MainWindow::kConversionTab));
    w.ShowPage(MainWindow::kConversionTab);
    conversion->SetSourcePath(QString::fromStdString(trl.string()));
    auto* zone = conversion->findChild<QComboBox*>(QStringLiteral("zoneCombo"));
    zone->setCurrentIndex(6);
    emit zone->activated(6);  // +08:00
    test::Button(conversion, "convertButton")->click();
    MapPage* map = w.Map();
    QTRY_COMPARE_WITH_TIMEOUT(int(map->Data().tracks.size()), 1, 20000);
    QCOMPARE(map->Data().tracks[0].points.size(), 100u);
    w.ShowPage(MainWindow::kMapTab);
    MapWidget* view = map->Map();
    QTRY_VERIFY(view->isVisible());
    // Hover over the 51st point: its time in +08:00 (01:30:12 + 500 s UTC = 09:38:32 local).
    const QPointF at = view->View().ToScreen(map->Data().tracks[0].points[50].world);
    SendMouse(view, QEvent::MouseMove, at + QPointF(2, 1), Qt::NoButton);
    QVERIFY(view->Hovered().has_value());
    QCOMPARE(view->Hovered()->index, std::size_t{50});
    const QStringList lines = view->Overlay().hoverLines;
    QCOMPARE(lines.value(0), QStringLiteral("2008-03-15 09:38:32"));
    QCOMPARE(lines.value(1), QStringLiteral("Height: 450 m"));
    QVERIFY(lines.value(2).startsWith(QStringLiteral("Position: 47.38")));
    // Far from the track: nothing.
    SendMouse(view, QEvent::MouseMove, QPointF(3, 3), Qt::NoButton);
    QVERIFY(!view->Hovered().has_value());
  }

  void wheelZoomsAtTheCursorDragPansDoubleClickZoomsInFitShowsAll() {
    const fs::path dir = TempDir("gui-map-move");
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileTemplate(QString());
    page.resize(800, 600);
    page.show();
    QVERIFY(page.ShowFiles({WriteWalk(dir)}).isEmpty());
    MapWidget* view = page.Map();
    QTRY_VERIFY(view->isVisible());
    const map::MapView fitted = view->View();
    const QPointF cursor(120, 90);
    const map::WorldPoint under = view->View().ToWorld(cursor);
    SendWheel(view, cursor, 240);  // two notches: one step
    QCOMPARE(view->View().Zoom(), fitted.Zoom() + 1);
    const QPointF still = view->View().ToScreen(under);
    QVERIFY(std::abs(still.x() - cursor.x()) < 1e-6 && std::abs(still.y() - cursor.y()) < 1e-6);
    // Drag 50 px right and 30 down: the map follows.
    const map::WorldPoint probe = view->View().ToWorld(QPointF(400, 300));
    SendMouse(view, QEvent::MouseButtonPress, QPointF(200, 200), Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, QPointF(230, 215), Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, QPointF(250, 230), Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, QPointF(250, 230), Qt::NoButton);
    const QPointF moved = view->View().ToScreen(probe);
    QVERIFY2(std::abs(moved.x() - 450) < 1e-6 && std::abs(moved.y() - 330) < 1e-6,
             qPrintable(QStringLiteral("%1 %2").arg(moved.x()).arg(moved.y())));
    const double zoom = view->View().Zoom();
    SendMouse(view, QEvent::MouseButtonDblClick, QPointF(300, 300), Qt::LeftButton);
    QCOMPARE(view->View().Zoom(), zoom + 1);
    // Fit: back to showing every point.
    page.FitButton()->click();
    QCOMPARE(view->View().Zoom(), fitted.Zoom());
    for (const map::MapPoint& p : page.Data().tracks[0].points) {
      const QPointF s = view->View().ToScreen(p.world);
      QVERIFY(s.x() >= 0 && s.y() >= 0 && s.x() <= view->width() && s.y() <= view->height());
    }
  }

  void profileHoverMarksTheSamePointOnTheMapAndTheAxisSwitches() {
    const fs::path dir = TempDir("gui-map-profile");
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileTemplate(QString());
    page.resize(800, 700);
    page.show();
    page.ShowFiles({WriteWalk(dir)});
    ProfileWidget* profile = page.Profile();
    QTRY_VERIFY(profile->isVisible());
    QVERIFY(profile->Profile() != nullptr && profile->Profile()->Samples().size() == 100);
    // Hover the middle of the plot: about the middle sample, and the map marks that point.
    const QRectF plot = map::ProfilePainter::PlotRect(QRectF(profile->rect()));
    SendMouse(profile, QEvent::MouseMove, plot.center(), Qt::NoButton);
    QVERIFY(profile->HoveredSample().has_value());
    QVERIFY(*profile->HoveredSample() >= 45 && *profile->HoveredSample() <= 55);
    QVERIFY(page.Map()->Hovered().has_value());
    QCOMPARE(page.Map()->Hovered()->index, *profile->HoveredSample());
    // And the other way: the map's hover marks the profile.
    const QPointF at = page.Map()->View().ToScreen(page.Data().tracks[0].points[20].world);
    SendMouse(page.Map(), QEvent::MouseMove, at, Qt::NoButton);
    QCOMPARE(profile->HoveredSample(), std::optional<std::size_t>(20));
    // Over time instead of distance.
    QVERIFY(!profile->OverTime());
    page.ProfileAxis()->setCurrentIndex(1);
    QVERIFY(profile->OverTime());
    QCOMPARE(page.ProfileAxis()->itemText(1), QStringLiteral("Time"));
  }

  void savePictureWritesTheMapAsShownAndRefusesWhatItCannot() {
    const fs::path dir = TempDir("gui-map-save");
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileTemplate(QString());
    page.resize(700, 500);
    page.show();
    page.ShowFiles({WriteWalk(dir)});
    QTRY_VERIFY(page.Map()->isVisible());
    const QString out = QString::fromStdString((dir / "shown.png").string());
    QString stop;
    page.SetHooks({{}, [out] { return out; }, [&stop](const QString& t) { stop = t; }, {}});
    page.SaveButton()->click();
    QVERIFY(stop.isEmpty());
    QCOMPARE(page.StatusLabel()->text(), QStringLiteral("Create File OK ") + out);
    const QImage saved(out);
    // The map as shown, the profile strip under it.
    QCOMPARE(saved.size(), QSize(page.Map()->width(), page.Map()->height() + map::ProfileHeight(page.Map()->height())));
    // The same picture the map shows: a track point in red, the quiet line of switched-off tiles.
    const QPointF p = page.Map()->View().ToScreen(page.Data().tracks[0].points[40].world);
    bool red = false;  // on the line or beside it, at its antialiased edge
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QRgb c = saved.pixel(p.toPoint() + QPoint(dx, dy));
        red = red || (qRed(c) > 180 && qGreen(c) < 70);
      }
    QVERIFY(red);
    QCOMPARE(page.Map()->Overlay().tileNote, QStringLiteral("Map tiles unavailable: map tiles switched off"));
    // Into a folder that is not there: the reason, and no file.
    const QString bad = QString::fromStdString((dir / "none" / "x.png").string());
    page.SetHooks({{}, [bad] { return bad; }, [&stop](const QString& t) { stop = t; }, {}});
    page.SaveButton()->click();
    QVERIFY(stop.contains(bad));
    QVERIFY(!fs::exists(dir / "none"));
  }

  void openRefusesWhatIsNotATrackLogAndKeepsNothingHalf() {
    const fs::path dir = TempDir("gui-map-open");
    const fs::path trl = WriteWalk(dir);
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileTemplate(QString());
    QString stop;
    const QString missing = QString::fromStdString((dir / "gone.trl").string());
    page.SetHooks({[&] { return QStringList{QString::fromStdString(trl.string()), missing}; }, {},
                   [&stop](const QString& t) { stop = t; }, {}});
    page.OpenButton()->click();
    // The good file is shown; the missing one is named with its reason.
    QCOMPARE(int(page.Data().tracks.size()), 1);
    QVERIFY(stop.contains(missing));
    QVERIFY(page.StatusLabel()->text().contains(missing));
  }

  void tilesComeFromTheServerAndAFailingOneLeavesTheGrid() {
    test::TileServer server;
    const fs::path dir = TempDir("gui-map-tiles");
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileCacheDir(QString::fromStdString((dir / "cache").string()));
    QVERIFY(page.SetTileTemplate(QString::fromStdString(server.Url("png"))));
    page.resize(640, 480);
    page.show();
    page.ShowFiles({WriteWalk(dir)});
    QTRY_VERIFY_WITH_TIMEOUT(page.Tiles()->Idle() && server.Count() > 0, 10000);
    QVERIFY(page.Tiles()->Problem().isEmpty());
    QVERIFY(page.Map()->Overlay().tileNote.isEmpty());
    for (const auto& hit : server.Hits()) QCOMPARE(QByteArray::fromStdString(hit.userAgent), map::TileSource::UserAgent());
    // The picture shows the tile where the background was: the pixel (5, 200) of the grab.
    QImage shown = page.Map()->grab().toImage();
    const map::WorldPoint w = page.Map()->View().ToWorld(QPointF(5, 200));
    const int n = 1 << map::TileZoom(page.Map()->View());
    QCOMPARE(shown.pixel(5, 200) | 0xff000000,
             test::TileServer::TileColor(map::TileZoom(page.Map()->View()), int(w.x * n), int(w.y * n)));
    // A server that answers 404: the grid background again and one quiet line saying why.
    QVERIFY(page.SetTileTemplate(QString::fromStdString(server.Url("404"))));
    QTRY_VERIFY_WITH_TIMEOUT(page.Tiles()->Idle(), 10000);
    QTRY_VERIFY(page.Map()->Overlay().tileNote.startsWith(QStringLiteral("Map tiles unavailable: the server answered 404")));
    shown = page.Map()->grab().toImage();
    QVERIFY(shown.pixel(5, 200) != (test::TileServer::TileColor(0, 0, 0) | 0xff000000));
    // An address that is none is refused in words; the one in use stays.
    page.TileField()->setText(QStringLiteral("tiles please"));
    emit page.TileField()->editingFinished();
    QVERIFY(page.StatusLabel()->text().startsWith(QStringLiteral("The tile address must")));
    QCOMPARE(page.Tiles()->Settings().urlTemplate, QString::fromStdString(server.Url("404")));
  }

  void photoRunPutsItsLocatedPhotosOnTheMapAndAClickShowsOneLarger() {
    const fs::path dir = TempDir("gui-map-photorun");
    const fs::path trl = WriteWalk(dir);  // 01:30:12 to 01:46:42 UTC
    const fs::path photos = dir / "photos";
    fs::create_directory(photos);
    test::TinyJpeg located, elsewhere;
    located.dateTimeOriginal = "2008:03:15 01:31:00";  // the zone is UTC
    elsewhere.dateTimeOriginal = "2008:03:16 01:31:00";
    test::WriteBytes(photos / "a.jpg", located.Build());
    test::WriteBytes(photos / "b.jpg", elsewhere.Build());
    fs::copy_file(fs::path(KAVRO_TEST_DATA) / "photos" / "Canon_PowerShot_A40.jpg", photos / "c.jpg");
    AppContext ctx;
    MainWindow w(ctx);
    w.show();
    auto* photo = static_cast<PhotoPage*>(w.PageAt(MainWindow::kPhotoTab));
    const QString kml = QString::fromStdString((dir / "photos.kml").string());
    PhotoPage::Hooks hooks;
    hooks.chooseKml = [kml] { return kml; };
    photo->SetHooks(hooks);
    photo->SetTrlPath(QString::fromStdString(trl.string()));
    photo->SetPhotoDirectory(QString::fromStdString(photos.string()));
    w.ShowPage(MainWindow::kPhotoTab);
    photo->ConvertButton()->click();
    MapPage* map = w.Map();
    QTRY_COMPARE_WITH_TIMEOUT(int(map->Data().photos.size()), 1, 20000);
    QCOMPARE(int(map->Data().tracks.size()), 1);
    const map::MapPhoto& shown = map->Data().photos[0];
    QCOMPARE(QString::fromStdString(shown.path.filename().string()), QStringLiteral("a.jpg"));
    QCOMPARE(shown.utc, std::int64_t{1205544660});
    // Between the points of 01:30:52 and 01:31:02 it takes the nearer, the later one (index 5).
    QCOMPARE(shown.lat, double(47.37f + 5 * 0.0002f));
    // A click on it shows it larger with its time and how it was matched.
    w.ShowPage(MainWindow::kMapTab);
    QTRY_VERIFY(map->Map()->isVisible());
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      for (QLabel* l : dialog->findChildren<QLabel*>()) texts << l->text();
      dialog->accept();
    });
    const QPointF at = map::MapPainter::PhotoRect(map->Map()->View(), shown).center();
    SendMouse(map->Map(), QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(map->Map(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    QVERIFY2(texts.contains(QStringLiteral("Match: nearest")), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("Taken: 2008-03-15 09:31:00")) || texts.contains(QStringLiteral("Taken: 2008-03-15 01:31:00")));
  }

  void clickOnAPhotoShowsIt() {
    const fs::path dir = TempDir("gui-map-photo");
    AppContext ctx;
    MapPage page(ctx, nullptr);
    page.SetTileTemplate(QString());
    page.resize(640, 480);
    page.show();
    page.ShowFiles({WriteWalk(dir)});
    map::MapPhoto photo;
    photo.path = dir / "IMG_0001.JPG";
    photo.lat = 47.375;
    photo.lon = 8.5475;
    photo.utc = 1205545000;
    photo.matchText = "nearest point 3 s away";
    page.ShowPhotos({photo});
    QTRY_VERIFY(page.Map()->isVisible());
    std::optional<map::MapPhoto> shown;
    page.SetHooks({{}, {}, {}, [&shown](const map::MapPhoto& p) { shown = p; }});
    const QPointF at = map::MapPainter::PhotoRect(page.Map()->View(), page.Data().photos[0]).center();
    SendMouse(page.Map(), QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(page.Map(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    QVERIFY(shown.has_value());
    QCOMPARE(shown->path, photo.path);
    // A click beside it shows nothing.
    shown.reset();
    SendMouse(page.Map(), QEvent::MouseButtonPress, QPointF(3, 470), Qt::LeftButton);
    SendMouse(page.Map(), QEvent::MouseButtonRelease, QPointF(3, 470), Qt::NoButton);
    QVERIFY(!shown.has_value());
  }
};

QTEST_MAIN(MapPageTest)
#include "MapPageTest.moc"
