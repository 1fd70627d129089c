// A Chinese system locale in the Traditional script, whatever its territory, gives the window
// in Traditional Chinese.
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "MainWindow.h"
#include "OwnerDrawTabBar.h"
#include "Translations.h"

using namespace kavro;
using namespace kavro::gui;

class TraditionalScriptTest : public QObject {
  Q_OBJECT

 private slots:
  void traditionalScriptOutsideTaiwanAndHongKong() {
    QCOMPARE(QLocale::system().script(), QLocale::TraditionalChineseScript);
    AppContext ctx;
    QCOMPARE(LoadSystemLanguage(ctx.strings), Language::ChineseTraditional);
    MainWindow w(ctx);
    QCOMPARE(w.TabBar()->tabText(0), QStringLiteral("裝置設定"));
    QCOMPARE(LanguageForLocale(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Singapore)),
             Language::ChineseTraditional);
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_Hant_SG")), Language::ChineseTraditional);
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_SG")), Language::ChineseSimplified);
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_Hans_CN")), Language::ChineseSimplified);
  }
};

int main(int argc, char** argv) {
  // As a session in Singapore with the Traditional script would set it.
  qputenv("LC_ALL", "zh_Hant_SG.UTF-8");
  qputenv("LANG", "zh_Hant_SG.UTF-8");
  qunsetenv("LANGUAGE");
  QApplication app(argc, argv);
  TraditionalScriptTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "LanguageTraditionalTest.moc"
