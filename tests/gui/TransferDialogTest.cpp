// Transform to File on real widgets: the week-rollover choice is remembered between downloads.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "TransferDialog.h"

using kavro::AppContext;
using kavro::gui::TransferDialog;

class TransferDialogTest : public QObject {
  Q_OBJECT

  // Unchecks or checks the box, chooses a folder and closes with OK (or Cancel).
  static void Run(AppContext& ctx, bool weekFix, bool ok) {
    TransferDialog d(ctx, nullptr);
    d.browse = [](QWidget*, const QString&) { return QStringLiteral("/tmp"); };
    d.findChild<QCheckBox*>(QStringLiteral("weekFixCheck"))->setChecked(weekFix);
    QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("directoryButton")), Qt::LeftButton);
    if (ok) {
      d.accept();
    } else {
      d.reject();
    }
  }

 private slots:
  void theWeekFixChoiceIsRememberedOnOk() {
    AppContext ctx;
    {
      TransferDialog first(ctx, nullptr);
      QVERIFY(first.findChild<QCheckBox*>(QStringLiteral("weekFixCheck"))->isChecked());
      QVERIFY(first.Choice().weekFix);
    }
    Run(ctx, false, true);
    QVERIFY(!ctx.downloadWeekFix);
    {
      TransferDialog next(ctx, nullptr);
      QVERIFY(!next.findChild<QCheckBox*>(QStringLiteral("weekFixCheck"))->isChecked());
      QVERIFY(!next.Choice().weekFix);
    }
    // Cancel keeps what OK confirmed last.
    Run(ctx, true, false);
    QVERIFY(!ctx.downloadWeekFix);
    Run(ctx, true, true);
    QVERIFY(ctx.downloadWeekFix);
  }
};

QTEST_MAIN(TransferDialogTest)
#include "TransferDialogTest.moc"
