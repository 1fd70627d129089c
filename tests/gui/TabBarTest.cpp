// The page tab bar's disabled-tab rules, on a real QTabBar driven by mouse, keys and program.
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include "OwnerDrawTabBar.h"

using kavro::gui::OwnerDrawTabBar;

class TabBarTest : public QObject {
  Q_OBJECT

  std::unique_ptr<OwnerDrawTabBar> bar;

 private slots:
  void init() {
    bar = std::make_unique<OwnerDrawTabBar>();
    for (const char* caption : {"Device Setting", "Track Log Setting", "Track Log Format", "Track Log Photo",
                                "Download and Update Firmware"})
      bar->addTab(QString::fromLatin1(caption));
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    bar->setCurrentIndex(0);
  }
  void cleanup() { bar.reset(); }

  void captionsStartAtTheLeftOfTheirTabs() {
    // Wide tabs with short captions: a centred caption would sit far from the left edge.
    OwnerDrawTabBar wide;
    wide.setExpanding(true);
    wide.addTab(QStringLiteral("HH"));
    wide.addTab(QStringLiteral("HH"));
    wide.resize(640, wide.sizeHint().height());
    wide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wide));
    wide.setCurrentIndex(0);
    const QImage image = wide.grab().toImage();
    // The left, top and bottom of the dark caption pixels inside a tab.
    auto ink = [&](int tab) {
      const QRect r = wide.tabRect(tab).adjusted(2, 2, -2, -2);
      int left = r.right(), top = r.bottom(), bottom = r.top();
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          if (qGray(image.pixel(x, y)) < 100) {
            left = std::min(left, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
          }
      return QRect(QPoint(left, top), QPoint(r.right(), bottom));
    };
    const QRect selected = ink(0);
    const QRect other = ink(1);
    QVERIFY2(wide.tabRect(0).width() > 200, "the tabs did not stretch");
    const int selectedIn = selected.left() - wide.tabRect(0).left();
    const int otherIn = other.left() - wide.tabRect(1).left();
    // Glyphs start a pixel or two inside their advance.
    QVERIFY2(selectedIn >= OwnerDrawTabBar::kSelectedTextOffset && selectedIn <= OwnerDrawTabBar::kSelectedTextOffset + 3,
             qPrintable(QString::number(selectedIn)));
    QVERIFY2(otherIn >= OwnerDrawTabBar::kTextOffset && otherIn <= OwnerDrawTabBar::kTextOffset + 3,
             qPrintable(QString::number(otherIn)));
    QCOMPARE(otherIn - selectedIn, OwnerDrawTabBar::kTextOffset - OwnerDrawTabBar::kSelectedTextOffset);
    QCOMPARE(other.top() - selected.top(), OwnerDrawTabBar::kUnselectedTextDrop);
    QCOMPARE(other.bottom() - selected.bottom(), OwnerDrawTabBar::kUnselectedTextDrop);
    // Each caption fits its tab with the offset: a tab is never narrower than that.
    for (int i = 0; i < bar->count(); ++i)
      QVERIFY(bar->tabRect(i).width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(i)) +
                                             OwnerDrawTabBar::kSelectedTextOffset);
  }

  void enabledTestAndPositionsOutside() {
    QVERIFY(bar->IsTabEnabled(0));
    QVERIFY(!bar->IsTabEnabled(-1));
    QVERIFY(!bar->IsTabEnabled(5));
    QVERIFY(!bar->SetTabEnabled(5, false));
    QVERIFY(!bar->SetTabEnabled(-1, true));
    QVERIFY(bar->SetTabEnabled(1, false));
    QVERIFY(!bar->IsTabEnabled(1));
    QVERIFY(bar->SetTabEnabled(1, false));  // already so: still true
    QVERIFY(bar->SetTabEnabled(1, true));
    QVERIFY(bar->IsTabEnabled(1));
  }

  void disablingTheSelectedTabMovesOn() {
    bar->setCurrentIndex(3);
    QVERIFY(bar->SetTabEnabled(4, false));
    QVERIFY(bar->SetTabEnabled(3, false));
    // 4 is disabled, so the search wraps to 0.
    QCOMPARE(bar->currentIndex(), 0);
    QVERIFY(!bar->IsTabEnabled(3));
  }

  void disablingTheOnlyEnabledTabFails() {
    for (int i = 1; i < 5; ++i) QVERIFY(bar->SetTabEnabled(i, false));
    QVERIFY(!bar->SetTabEnabled(0, false));
    QVERIFY(bar->IsTabEnabled(0));
    QCOMPARE(bar->currentIndex(), 0);
  }

  void nextEnabledTabSearch() {
    bar->SetTabEnabled(1, false);
    bar->SetTabEnabled(2, false);
    QCOMPARE(bar->NextEnabledTab(1, true), std::optional<int>(3));
    QCOMPARE(bar->NextEnabledTab(2, false), std::optional<int>(0));
    bar->SetTabEnabled(0, false);  // selected: moves to 3
    QCOMPARE(bar->currentIndex(), 3);
    QCOMPARE(bar->NextEnabledTab(2, false), std::optional<int>(4));
  }

  void mouseOnDisabledTabIsRefused() {
    bar->SetTabEnabled(1, false);
    QSignalSpy changed(bar.get(), &QTabBar::currentChanged);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(bar->currentIndex(), 0);
    QCOMPARE(changed.count(), 0);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(bar->currentIndex(), 2);
    QCOMPARE(changed.count(), 1);
  }

  void keysStepOverDisabledTabsAndWrap() {
    bar->SetTabEnabled(1, false);
    QTest::keyClick(bar.get(), Qt::Key_Right);
    QCOMPARE(bar->currentIndex(), 2);  // 1 is skipped
    QTest::keyClick(bar.get(), Qt::Key_Left);
    QCOMPARE(bar->currentIndex(), 0);
    QTest::keyClick(bar.get(), Qt::Key_Up);  // from the first: the last
    QCOMPARE(bar->currentIndex(), 4);
    QTest::keyClick(bar.get(), Qt::Key_Right);  // Right on the last: the first enabled
    QCOMPARE(bar->currentIndex(), 0);
    bar->SetTabEnabled(1, true);
    bar->setCurrentIndex(4);
    bar->SetTabEnabled(0, false);
    QTest::keyClick(bar.get(), Qt::Key_Down);
    QCOMPARE(bar->currentIndex(), 1);
  }

  void programSelectionOfDisabledTab() {
    bar->SetTabEnabled(2, false);
    bar->setCurrentIndex(1);
    QVERIFY(bar->SelectTab(2));  // one step forward: on to 3
    QCOMPARE(bar->currentIndex(), 3);
    QVERIFY(bar->SelectTab(2));  // one step back: on to 1
    QCOMPARE(bar->currentIndex(), 1);
    bar->setCurrentIndex(4);
    QVERIFY(!bar->SelectTab(2));  // two steps away: refused
    QCOMPARE(bar->currentIndex(), 4);
    bar->setCurrentIndex(0);
    QVERIFY(bar->SelectTab(2));  // from the first tab, two steps on: searched backward from 2
    QCOMPARE(bar->currentIndex(), 1);
    bar->SetTabEnabled(0, false);
    bar->SetTabEnabled(1, false);
    bar->setCurrentIndex(3);
    QVERIFY(bar->SelectTab(0));  // to the first tab, three steps back: searched forward from 0
    QCOMPARE(bar->currentIndex(), 3);
    bar->setCurrentIndex(4);
    QVERIFY(bar->SelectTab(0));  // four steps back: forward from 0, past 0, 1 and 2
    QCOMPARE(bar->currentIndex(), 3);
  }
};

QTEST_MAIN(TabBarTest)
#include "TabBarTest.moc"
