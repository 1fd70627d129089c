#include "Images.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kavro::gui {
namespace {

constexpr int kBannerWidth = 620;
constexpr int kBannerHeight = 96;

// The logger seen from the front: a rounded body, a display and two keys.
void DrawLogger(QPainter& p, const QRectF& r, bool lit) {
  QPainterPath body;
  body.addRoundedRect(r, r.width() * 0.22, r.width() * 0.22);
  QLinearGradient shell(r.topLeft(), r.bottomRight());
  shell.setColorAt(0, lit ? QColor(70, 78, 92) : QColor(150, 150, 150));
  shell.setColorAt(1, lit ? QColor(28, 32, 40) : QColor(110, 110, 110));
  p.fillPath(body, shell);
  p.setPen(QPen(QColor(20, 20, 20, 120), 1.2));
  p.drawPath(body);
  const QRectF screen(r.left() + r.width() * 0.16, r.top() + r.height() * 0.14, r.width() * 0.68,
                      r.height() * 0.38);
  p.setPen(Qt::NoPen);
  p.setBrush(lit ? QColor(120, 200, 150) : QColor(185, 185, 185));
  p.drawRoundedRect(screen, 3, 3);
  if (lit) {
    p.setPen(QPen(QColor(25, 90, 50), 1.6));
    QPainterPath track;
    track.moveTo(screen.left() + 5, screen.bottom() - 6);
    track.cubicTo(screen.left() + screen.width() * 0.4, screen.top(), screen.center().x(),
                  screen.bottom(), screen.right() - 5, screen.top() + 6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(track);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(lit ? QColor(230, 120, 40) : QColor(170, 170, 170));
  const double keyR = r.width() * 0.11;
  p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.72), keyR, keyR);
  p.setBrush(lit ? QColor(200, 205, 215) : QColor(160, 160, 160));
  p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.88), keyR * 0.6, keyR * 0.6);
}

}  // namespace

QPixmap Images::ModelPicture(DeviceModel model) {
  const bool t580 = model == DeviceModel::T580;
  QPixmap pm(kBannerWidth, kBannerHeight);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, kBannerWidth, kBannerHeight);
  bg.setColorAt(0, t580 ? QColor(18, 58, 102) : QColor(96, 104, 114));
  bg.setColorAt(1, t580 ? QColor(40, 120, 170) : QColor(150, 156, 162));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRoundedRect(QRectF(0, 0, kBannerWidth, kBannerHeight), 8, 8);
  // A faint globe grid on the right.
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.setBrush(Qt::NoBrush);
  const QPointF c(kBannerWidth - 90, kBannerHeight / 2.0);
  for (int i = 1; i <= 3; ++i) p.drawEllipse(c, 24.0 * i, 60.0);
  p.drawEllipse(c, 72.0, 60.0);
  for (int i = -2; i <= 2; ++i) p.drawLine(QPointF(c.x() - 72, c.y() + i * 22), QPointF(c.x() + 72, c.y() + i * 22));
  DrawLogger(p, QRectF(22, 10, 48, 76), t580);
  QFont big = p.font();
  big.setPixelSize(34);
  big.setBold(true);
  p.setFont(big);
  p.setPen(QColor(255, 255, 255, t580 ? 255 : 150));
  p.drawText(QRectF(90, 0, 300, kBannerHeight), Qt::AlignLeft | Qt::AlignVCenter, t580 ? QStringLiteral("T-580") : QString());
  return pm;
}

QPixmap Images::Logo() {
  QPixmap pm(118, 30);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(18, 58, 102));
  p.drawRoundedRect(QRectF(0, 2, 26, 26), 6, 6);
  p.setBrush(QColor(230, 120, 40));
  QPainterPath pin;
  pin.moveTo(13, 24);
  pin.cubicTo(4, 14, 6, 6, 13, 6);
  pin.cubicTo(20, 6, 22, 14, 13, 24);
  p.drawPath(pin);
  p.setBrush(QColor(18, 58, 102));
  p.drawEllipse(QPointF(13, 12.5), 2.8, 2.8);
  QFont f = p.font();
  f.setPixelSize(19);
  f.setBold(true);
  f.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  p.setFont(f);
  p.setPen(QColor(18, 58, 102));
  p.drawText(QRectF(31, 0, 87, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KAVRO"));
  return pm;
}

QPixmap Images::StatusPicture(bool connected) {
  QPixmap pm(28, 28);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient g(QPointF(11, 10), 14);
  g.setColorAt(0, connected ? QColor(150, 240, 150) : QColor(250, 160, 150));
  g.setColorAt(1, connected ? QColor(30, 150, 50) : QColor(190, 40, 30));
  p.setPen(QPen(QColor(0, 0, 0, 90), 1));
  p.setBrush(g);
  p.drawEllipse(QRectF(2, 2, 24, 24));
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (connected) {
    p.drawPolyline(QPolygonF({QPointF(8.5, 14.5), QPointF(12.5, 18.5), QPointF(19.5, 9.5)}));
  } else {
    p.drawLine(QPointF(9.5, 9.5), QPointF(18.5, 18.5));
    p.drawLine(QPointF(18.5, 9.5), QPointF(9.5, 18.5));
  }
  return pm;
}

QIcon Images::AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawLogger(p, QRectF(size * 0.2, size * 0.04, size * 0.6, size * 0.92), true);
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace kavro::gui
