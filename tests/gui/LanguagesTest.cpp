// The window in the system's language: started under a German locale every caption is German;
// the embedded tables of all three languages cover every text.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "AboutBox.h"
#include "DevicePage.h"
#include "MainWindow.h"
#include "OwnerDrawTabBar.h"
#include "Translations.h"
#include "TrackLogPage.h"
#include "common/Texts.h"

using namespace kavro;
using namespace kavro::gui;

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void germanLocaleGivesGermanCaptions() {
    AppContext ctx;
    QCOMPARE(LoadSystemLanguage(ctx.strings), Language::German);
    MainWindow w(ctx);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kavro Logger Utility"));
    QCOMPARE(w.TabBar()->tabText(0), QStringLiteral("Geräteeinstellung"));
    QCOMPARE(w.TabBar()->tabText(1), QStringLiteral("Track-Log-Einstellung"));
    QCOMPARE(w.TabBar()->tabText(4), QStringLiteral("Firmware herunterladen und aktualisieren"));
    QCOMPARE(w.findChild<QPushButton*>("cancelButton")->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(w.findChild<QPushButton*>("applyAllButton")->text(), QStringLiteral("Alle übernehmen"));
    QCOMPARE(w.findChild<QPushButton*>("connectButton")->text(), QStringLiteral("Verbinden"));
    QCOMPARE(w.findChild<QPushButton*>("clearButton")->text(), QStringLiteral("Löschen"));
    QCOMPARE(w.findChild<QLabel*>("connectStatus")->text(), QStringLiteral("Verbindungsstatus-Meldung"));
    QCOMPARE(w.findChild<QLabel*>("distanceUnit")->text(), QStringLiteral("Meter"));
    // Upload copies from the logger to the computer: in German that is reading it out.
    QCOMPARE(w.findChild<QPushButton*>("uploadButton")->text(), QStringLiteral("Auslesen"));
    QCOMPARE(ctx.strings.Text(txt::UploadSucceed), QStringLiteral("Auslesen erfolgreich!"));
    // No English caption is left on any button, label or tab of the window.
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
      if (b->text().isEmpty()) continue;
      for (int id : StringTable::Ids())
        if (QString::fromUtf8(StringTable::English(id)) == b->text() && ctx.strings.Text(id) != b->text())
          QFAIL(qPrintable(QStringLiteral("English caption left: ") + b->text()));
    }
  }

  void everyTextIsTranslated() {
    // Texts that are the same words in a language (names, formats, the registry key).
    const std::vector<int> same = {112, 300, 301, 320, 386, 396, 605, 606, 607, 608};
    for (Language lang : {Language::German, Language::ChineseTraditional, Language::ChineseSimplified}) {
      StringTable table;
      QVERIFY(LoadLanguage(table, lang));
      for (int id : StringTable::Ids()) {
        const QString english = QString::fromUtf8(StringTable::English(id));
        const QString text = table.Text(id);
        if (id == txt::NotExifFormat) {
          QCOMPARE(text, english);
          continue;
        }
        if (std::find(same.begin(), same.end(), id) != same.end()) continue;
        if (lang == Language::German && id == txt::Minute) continue;  // "Min." in German too
        // Units and "Position" are the same words in German.
        if (lang == Language::German && (id == txt::MapScaleMetres || id == txt::MapScaleKilometres || id == txt::MapPosition))
          continue;
        QVERIFY2(text != english, qPrintable(QStringLiteral("untranslated %1 in %2: %3").arg(id).arg(int(lang)).arg(english)));
        // Placeholders survive the translation.
        for (const QString& p : {QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%3")})
          QVERIFY2(english.contains(p) == text.contains(p), qPrintable(QStringLiteral("placeholder %1 in %2").arg(p).arg(id)));
      }
    }
  }

  void chineseWindowAndLocales() {
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_TW")), Language::ChineseTraditional);
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_HK")), Language::ChineseTraditional);
    QCOMPARE(LanguageForLocale(QStringLiteral("zh_CN")), Language::ChineseSimplified);
    QCOMPARE(LanguageForLocale(QStringLiteral("es_ES")), Language::English);
    AppContext ctx;
    QVERIFY(LoadLanguage(ctx.strings, Language::ChineseTraditional));
    MainWindow w(ctx);
    QCOMPARE(w.TabBar()->tabText(0), QStringLiteral("裝置設定"));
    QCOMPARE(w.findChild<QPushButton*>("okButton")->text(), QStringLiteral("確定"));
    AppContext cn;
    QVERIFY(LoadLanguage(cn.strings, Language::ChineseSimplified));
    MainWindow w2(cn);
    QCOMPARE(w2.TabBar()->tabText(0), QStringLiteral("设备设置"));
    // "By time [5] seconds", not the unit twice.
    for (const AppContext* c : {&ctx, &cn}) {
      QVERIFY(c->strings.Text(txt::Second) != c->strings.Text(txt::SecondUnit));
      QVERIFY(c->strings.Text(txt::SecondUnit).contains(QStringLiteral("秒")));
    }
    QCOMPARE(cn.strings.Text(txt::NotExifFormat), QStringLiteral("Not EXIF format."));
  }
};

int main(int argc, char** argv) {
  // The system locale is read once, at start: set it as a German user's session would.
  qputenv("LC_ALL", "de_DE.UTF-8");
  qputenv("LANG", "de_DE.UTF-8");
  QApplication app(argc, argv);
  LanguageTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "LanguagesTest.moc"
