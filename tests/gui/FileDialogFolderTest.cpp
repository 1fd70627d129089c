// File and folder dialogs start where the user went last in this run, on real dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ConversionPage.h"
#include "FirmwarePage.h"
#include "PhotoPage.h"
#include "TransferDialog.h"

using namespace kavro;
using namespace kavro::gui;

class FileDialogFolderTest : public QObject {
  Q_OBJECT

  // Clicks `button`, then reports the folder of the file dialog it opened and answers it with
  // `choose` (a file or folder), or cancels when `choose` is empty.
  static QString FolderOfDialog(QPushButton* button, const QString& choose = QString()) {
    QString seen = QStringLiteral("<no dialog>");
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      seen = dialog->directory().absolutePath();
      if (choose.isEmpty()) {
        dialog->reject();
        return;
      }
      dialog->selectFile(choose);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return seen;
  }

  QTemporaryDir tmp;
  QString downloads, photos, firmware;

 private slots:
  void initTestCase() {
    QVERIFY(tmp.isValid());
    downloads = tmp.filePath(QStringLiteral("downloads"));
    photos = tmp.filePath(QStringLiteral("photos"));
    firmware = tmp.filePath(QStringLiteral("firmware"));
    for (const QString& dir : {downloads, photos, firmware}) QVERIFY(QDir().mkpath(dir));
    QFile trl(downloads + QStringLiteral("/trip.trl"));
    QVERIFY(trl.open(QIODevice::WriteOnly));
    QFile bin(firmware + QStringLiteral("/T580.bin"));
    QVERIFY(bin.open(QIODevice::WriteOnly));
  }

  // The download's folder is where the conversion and photo pages look for track files next,
  // and the photo folder chosen on one page is where the other page's browser starts.
  void theDownloadFolderLeadsTheWay() {
    AppContext ctx;
    TransferDialog transfer(ctx, nullptr);
    transfer.browse = [this](QWidget*, const QString&) { return downloads; };
    QTest::mouseClick(transfer.findChild<QPushButton*>("directoryButton"), Qt::LeftButton);

    ConversionPage conversion(ctx, nullptr);
    QCOMPARE(FolderOfDialog(conversion.findChild<QPushButton*>("browseButton")), downloads);

    PhotoPage photo(ctx, nullptr);
    QCOMPARE(FolderOfDialog(photo.findChild<QPushButton*>("photoBrowseTrl")), downloads);
    // No photo folder yet: the track files' folder is the best guess.
    QCOMPARE(FolderOfDialog(photo.findChild<QPushButton*>("photoBrowseDirectory"), photos), downloads);

    TransferDialog second(ctx, nullptr);
    second.findChild<QCheckBox*>("combineJpegCheck")->setChecked(true);
    QCOMPARE(FolderOfDialog(second.findChild<QPushButton*>("photoButton")), photos);
    QCOMPARE(FolderOfDialog(second.findChild<QPushButton*>("directoryButton")), downloads);
  }

  // A file chosen on the conversion page moves the start; a cancelled dialog does not.
  void aChosenFileMovesTheStartACancelDoesNot() {
    AppContext ctx;
    ConversionPage conversion(ctx, nullptr);
    QPushButton* browse = conversion.findChild<QPushButton*>("browseButton");
    FolderOfDialog(browse, downloads + QStringLiteral("/trip.trl"));
    QCOMPARE(FolderOfDialog(browse), downloads);
    QCOMPARE(FolderOfDialog(browse), downloads);

    FirmwarePage page(ctx, nullptr);
    QPushButton* fw = page.findChild<QPushButton*>("browseButton");
    FolderOfDialog(fw, firmware + QStringLiteral("/T580.bin"));
    QCOMPARE(FolderOfDialog(fw), firmware);
    // Firmware images are not track files: the conversion page keeps its own folder.
    QCOMPARE(FolderOfDialog(browse), downloads);
  }
};

QTEST_MAIN(FileDialogFolderTest)
#include "FileDialogFolderTest.moc"
