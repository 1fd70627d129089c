#include "map/ProfilePainter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <cmath>

#include "common/Texts.h"
#include "map/MapHitTest.h"

namespace kavro::map {
namespace {

constexpr double kLeft = 52, kRight = 12, kTop = 24, kBottom = 20;

double AxisOf(const HeightProfile::Sample& s, bool overTime) {
  return overTime ? static_cast<double>(s.utc) : s.distance;
}

struct Axis {
  double from, to;
};

Axis XAxis(const HeightProfile& profile, bool overTime) {
  if (overTime) return {static_cast<double>(profile.FirstUtc()), static_cast<double>(std::max(profile.LastUtc(), profile.FirstUtc() + 1))};
  return {0, std::max(1.0, profile.LengthMetres())};
}

// 1, 2 or 5 times a power of ten, so that about `count` steps fill the span.
double NiceStep(double span, double count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * power >= raw) return f * power;
  return 10 * power;
}

}  // namespace

QRectF ProfilePainter::PlotRect(const QRectF& area) {
  return area.adjusted(kLeft, kTop, -kRight, -kBottom);
}

double ProfilePainter::AxisValueAt(const QRectF& area, const HeightProfile& profile, bool overTime, double x) {
  const QRectF plot = PlotRect(area);
  const Axis a = XAxis(profile, overTime);
  return a.from + (x - plot.left()) / std::max(1.0, plot.width()) * (a.to - a.from);
}

QString ProfilePainter::Summary(const HeightProfile& profile) const {
  const auto metres = [](double v) { return QString::number(v, 'f', 0); };
  return strings_.Format(txt::MapProfileLowest, {metres(profile.Lowest())}) + QStringLiteral("    ") +
         strings_.Format(txt::MapProfileHighest, {metres(profile.Highest())}) + QStringLiteral("    ") +
         strings_.Format(txt::MapProfileClimb, {metres(profile.ClimbMetres())}) + QStringLiteral("    ") +
         strings_.Format(txt::MapProfileLength, {QString::number(profile.LengthMetres() / 1000, 'f', 2)});
}

void ProfilePainter::Paint(QPainter& p, const QRectF& area, const HeightProfile& profile, const MapData& data,
                           bool overTime, const ZoneClock& zone, std::optional<std::size_t> hover) const {
  p.save();
  p.setClipRect(area);
  p.fillRect(area, Qt::white);
  QFont font;
  font.setPixelSize(11);
  p.setFont(font);
  if (profile.IsEmpty()) {
    p.restore();
    return;
  }
  const QRectF plot = PlotRect(area);
  const double pad = std::max(5.0, (profile.Highest() - profile.Lowest()) * 0.08);
  const double low = profile.Lowest() - pad, high = profile.Highest() + pad;
  const Axis ax = XAxis(profile, overTime);
  auto toX = [&](double v) { return plot.left() + (v - ax.from) / (ax.to - ax.from) * plot.width(); };
  auto toY = [&](double alt) { return plot.bottom() - (alt - low) / (high - low) * plot.height(); };
  PaintAxes(p, plot, profile, overTime, zone, low, high);

  // One column of pixels keeps only its lowest and highest point: the same look, few points.
  p.setRenderHint(QPainter::Antialiasing, true);
  const std::vector<HeightProfile::Sample>& s = profile.Samples();
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t track = profile.TrackOf(i);
    const QColor color = track < data.tracks.size() ? data.tracks[track].color : QColor(Qt::black);
    QPolygonF line;
    int column = INT_MIN;
    double colLow = 0, colHigh = 0;
    for (; i < s.size() && profile.TrackOf(i) == track; ++i) {
      const double x = toX(AxisOf(s[i], overTime)), y = toY(s[i].alt);
      const int c = static_cast<int>(std::floor(x));
      if (c != column) {
        if (column != INT_MIN && colHigh != colLow) line << QPointF(column, colHigh) << QPointF(column, colLow);
        column = c;
        colLow = colHigh = y;
        line << QPointF(x, y);
        continue;
      }
      colLow = std::max(colLow, y);
      colHigh = std::min(colHigh, y);
    }
    QPolygonF fill = line;
    if (!line.isEmpty()) fill << QPointF(line.last().x(), plot.bottom()) << QPointF(line.first().x(), plot.bottom());
    QColor pale = color;
    pale.setAlpha(45);
    p.setPen(Qt::NoPen);
    p.setBrush(pale);
    p.drawPolygon(fill);
    p.setPen(QPen(color, 2));
    p.drawPolyline(line);
  }

  // Lowest and highest: a mark and the height.
  for (std::size_t m : {profile.LowestIndex(), profile.HighestIndex()}) {
    const QPointF at(toX(AxisOf(s[m], overTime)), toY(s[m].alt));
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(m == profile.HighestIndex() ? QColor(0xc0, 0x30, 0x20) : QColor(0x20, 0x50, 0xb0));
    p.drawEllipse(at, 4.0, 4.0);
  }
  if (hover && *hover < s.size()) {
    const double x = toX(AxisOf(s[*hover], overTime));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1, Qt::DashLine));
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(QPointF(x, toY(s[*hover].alt)), 4.5, 4.5);
  }
  p.setPen(QColor(0x30, 0x30, 0x30));
  p.drawText(QPointF(area.left() + kLeft, area.top() + 16), Summary(profile));
  p.restore();
}

void ProfilePainter::PaintAxes(QPainter& p, const QRectF& plot, const HeightProfile& profile, bool overTime,
                               const ZoneClock& zone, double low, double high) const {
  const QFontMetricsF fm(p.font());
  const QColor grid(0xe0, 0xe0, 0xe0), text(0x60, 0x60, 0x60);
  const double hStep = NiceStep(high - low, std::max(1.0, plot.height() / 30));
  for (double h = std::ceil(low / hStep) * hStep; h <= high; h += hStep) {
    const double y = plot.bottom() - (h - low) / (high - low) * plot.height();
    p.setPen(grid);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    p.setPen(text);
    const QString label = strings_.Format(txt::MapScaleMetres, {QString::number(h, 'f', 0)});
    p.drawText(QPointF(plot.left() - fm.horizontalAdvance(label) - 4, y + fm.ascent() / 2 - 1), label);
  }
  const Axis ax = XAxis(profile, overTime);
  const double span = ax.to - ax.from;
  // Labels about 90 px apart: kilometres, or local times of day.
  const double step = NiceStep(overTime ? span / 60 : span / 1000, std::max(1.0, plot.width() / 90)) * (overTime ? 60 : 1000);
  for (double v = std::ceil(ax.from / step) * step; v <= ax.to; v += step) {
    const double x = plot.left() + (v - ax.from) / span * plot.width();
    p.setPen(grid);
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    p.setPen(text);
    const QString label = overTime ? LocalTimeText(static_cast<std::int64_t>(v), zone).mid(11, 5)
                                   : strings_.Format(txt::MapScaleKilometres, {QString::number(v / 1000)});
    p.drawText(QPointF(x - fm.horizontalAdvance(label) / 2, plot.bottom() + fm.ascent() + 3), label);
  }
  p.setPen(QColor(0xa0, 0xa0, 0xa0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
}

}  // namespace kavro::map
