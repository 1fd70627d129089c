#include "OwnerDrawTabBar.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <algorithm>
#include <cstdlib>

namespace kavro::gui {

OwnerDrawTabBar::OwnerDrawTabBar(QWidget* parent) : QTabBar(parent) {
  setDrawBase(true);
  setExpanding(false);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
}

bool OwnerDrawTabBar::IsTabEnabled(int position) const {
  if (position < 0 || position >= count()) return false;
  return std::find(disabled_.begin(), disabled_.end(), position) == disabled_.end();
}

std::optional<int> OwnerDrawTabBar::NextEnabledTab(int start, bool forward) const {
  const int n = count();
  if (n == 0) return std::nullopt;
  if (forward) {
    for (int i = std::max(start, 0); i < n; ++i)
      if (IsTabEnabled(i)) return i;
    for (int i = 0; i < std::min(start, n); ++i)
      if (IsTabEnabled(i)) return i;
  } else {
    for (int i = std::min(start, n - 1); i >= 0; --i)
      if (IsTabEnabled(i)) return i;
    for (int i = n - 1; i > start; --i)
      if (IsTabEnabled(i)) return i;
  }
  return std::nullopt;
}

bool OwnerDrawTabBar::SetTabEnabled(int position, bool enabled) {
  if (position < 0 || position >= count()) return false;
  if (IsTabEnabled(position) == enabled) return true;
  if (enabled) {
    disabled_.erase(std::remove(disabled_.begin(), disabled_.end(), position), disabled_.end());
  } else {
    if (position == currentIndex()) {
      // Look past the tab itself: it is still enabled at this point.
      std::optional<int> next;
      for (int step = 1; step < count() && !next; ++step) {
        const int i = (position + step) % count();
        if (IsTabEnabled(i)) next = i;
      }
      if (!next || *next == position) return false;
      setCurrentIndex(*next);
    }
    disabled_.push_back(position);
  }
  // Keep the base class in step, so its own hit tests and accessibility agree.
  QTabBar::setTabEnabled(position, enabled);
  update(tabRect(position));
  return true;
}

bool OwnerDrawTabBar::SelectTab(int target) {
  if (target < 0 || target >= count()) return false;
  if (IsTabEnabled(target)) {
    setCurrentIndex(target);
    return true;
  }
  const int current = currentIndex();
  const int delta = target - current;
  if (std::abs(delta) == 1 || current == 0 || target == 0) {
    const bool forward = delta == 1 || delta < -1;
    const std::optional<int> next = NextEnabledTab(target, forward);
    if (!next) return false;
    setCurrentIndex(*next);
    return true;
  }
  return false;
}

void OwnerDrawTabBar::mousePressEvent(QMouseEvent* event) {
  const int tab = tabAt(event->position().toPoint());
  if (tab < 0 || !IsTabEnabled(tab)) {
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    SelectTab(tab);
    event->accept();
    return;
  }
  QTabBar::mousePressEvent(event);
}

void OwnerDrawTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void OwnerDrawTabBar::keyPressEvent(QKeyEvent* event) {
  const int n = count();
  if (n == 0) return QTabBar::keyPressEvent(event);
  const int current = currentIndex();
  int target = -1;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      target = current <= 0 ? n - 1 : current - 1;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      target = current >= n - 1 ? 0 : current + 1;
      break;
    default:
      return QTabBar::keyPressEvent(event);
  }
  SelectTab(target);
  event->accept();
}

void OwnerDrawTabBar::wheelEvent(QWheelEvent* event) { event->ignore(); }

void OwnerDrawTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  const int selected = currentIndex();
  auto drawTab = [&](int i) {
    QStyleOptionTab opt;
    initStyleOption(&opt, i);
    const QString text = opt.text;
    opt.text.clear();
    const QIcon icon = opt.icon;
    opt.icon = QIcon();
    painter.drawControl(QStyle::CE_TabBarTabShape, opt);
    // The caption starts at the tab's left edge, further in on the selected tab, and sits
    // lower on the others.
    QRect r = i == selected ? opt.rect.translated(kSelectedTextOffset, 0)
                            : opt.rect.translated(kTextOffset, kUnselectedTextDrop);
    if (!icon.isNull()) {
      const QSize size = iconSize();
      const QRect iconRect(r.left(), r.top() + (r.height() - size.height()) / 2, size.width(), size.height());
      icon.paint(&painter, iconRect, Qt::AlignCenter, IsTabEnabled(i) ? QIcon::Normal : QIcon::Disabled);
      r.setLeft(r.left() + size.width() + 2);
    }
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (IsTabEnabled(i)) {
      painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
      painter.drawText(r, flags, text);
    } else {
      // Etched: a light copy one pixel down and right, the grey text on top.
      painter.setPen(palette().color(QPalette::Light));
      painter.drawText(r.translated(1, 1), flags, text);
      painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
      painter.drawText(r, flags, text);
    }
  };
  for (int i = 0; i < count(); ++i)
    if (i != selected) drawTab(i);
  if (selected >= 0) drawTab(selected);
}

QSize OwnerDrawTabBar::tabSizeHint(int index) const {
  // Room for the caption behind its left offset, whatever the style's own padding.
  QSize size = QTabBar::tabSizeHint(index);
  int needed = fontMetrics().horizontalAdvance(tabText(index)) + kSelectedTextOffset + kTextOffset;
  if (!tabIcon(index).isNull()) needed += iconSize().width() + 2;
  size.setWidth(std::max(size.width(), needed));
  return size;
}

void OwnerDrawTabBar::tabInserted(int index) {
  for (int& p : disabled_)
    if (p >= index) ++p;
  QTabBar::tabInserted(index);
}

void OwnerDrawTabBar::tabRemoved(int index) {
  disabled_.erase(std::remove(disabled_.begin(), disabled_.end(), index), disabled_.end());
  for (int& p : disabled_)
    if (p > index) --p;
  QTabBar::tabRemoved(index);
}

}  // namespace kavro::gui
