#include "MapWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "map/MapHitTest.h"

namespace kavro::gui {
namespace {
constexpr double kHoverPixels = 12;
constexpr double kFitMargin = 40;
constexpr double kWheelStepsPerNotch = 0.5;  // two notches double the scale
constexpr int kWheelRestMs = 150;
}  // namespace

MapWidget::MapWidget(const StringTable& strings, QWidget* parent)
    : QWidget(parent), strings_(strings), painter_(strings) {
  setObjectName(QStringLiteral("mapView"));
  setMouseTracking(true);
  setMinimumSize(160, 100);  // the window keeps its size: the map takes what room there is
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setCursor(Qt::OpenHandCursor);
  view_.SetSize(size());
  // The tracks are drawn anew at the new zoom once the wheel has rested this long.
  settle_.setSingleShot(true);
  settle_.setInterval(kWheelRestMs);
  connect(&settle_, &QTimer::timeout, this, [this] {
    painter_.SetQuickZoom(false);
    update();
  });
}

void MapWidget::SetData(const map::MapData* shown) {
  data_ = shown;
  hover_.reset();
  Fit();
}

void MapWidget::SetTileNote(const QString& note) {
  if (note == tileNote_) return;
  tileNote_ = note;
  update();
}

void MapWidget::SetAttribution(const QString& text) {
  if (text == attribution_) return;
  attribution_ = text;
  update();
}

void MapWidget::Fit() {
  fitPending_ = true;
  view_.SetSize(size());
  view_.Fit(data_ != nullptr ? data_->Extent() : map::WorldBox{}, kFitMargin);
  update();
  emit viewChanged();
}

map::MapOverlay MapWidget::Overlay() const {
  map::MapOverlay overlay;
  overlay.hover = hover_;
  overlay.tileNote = tileNote_;
  overlay.attribution = attribution_;
  if (hover_ && data_ != nullptr && hover_->track < data_->tracks.size() &&
      hover_->index < data_->tracks[hover_->track].points.size()) {
    const ZoneClock zone = zone_ ? zone_() : ZoneClock::System();
    overlay.hoverLines = map::PointLines(strings_, data_->tracks[hover_->track].points[hover_->index], zone);
  }
  return overlay;
}

void MapWidget::ShowPoint(std::optional<map::PointRef> point) { SetHover(point, false); }

void MapWidget::SetHover(std::optional<map::PointRef> point, bool tell) {
  if (point == hover_) return;
  hover_ = point;
  update();
  if (tell) emit pointHovered(point ? static_cast<int>(point->track) : -1, point ? static_cast<int>(point->index) : -1);
}

void MapWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  static const map::MapData kNothing;
  painter_.Paint(p, view_, data_ != nullptr ? *data_ : kNothing, tiles_, Overlay());
}

void MapWidget::resizeEvent(QResizeEvent*) {
  // Until the user moves the map, it keeps showing everything; after that the centre stays.
  view_.SetSize(size());
  if (fitPending_) view_.Fit(data_ != nullptr ? data_->Extent() : map::WorldBox{}, kFitMargin);
  emit viewChanged();
}

void MapWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  fitPending_ = false;
  view_.ZoomAt(event->position(), notches * kWheelStepsPerNotch);
  painter_.SetQuickZoom(true);
  settle_.start();
  update();
  emit viewChanged();
  event->accept();
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_ = event->position();
  pressAt_ = event->position();
  dragged_ = false;
  setCursor(Qt::ClosedHandCursor);
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
  if (dragFrom_) {
    const QPointF delta = event->position() - *dragFrom_;
    // A click that trembles a little stays a click.
    if (!dragged_ && (event->position() - pressAt_).manhattanLength() < 4) return;
    dragged_ = true;
    dragFrom_ = event->position();
    fitPending_ = false;
    view_.PanBy(delta);
    update();
    emit viewChanged();
    return;
  }
  if (data_ == nullptr) return;
  SetHover(map::NearestTrackPoint(*data_, view_, event->position(), kHoverPixels), true);
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = !dragged_;
  dragFrom_.reset();
  setCursor(Qt::OpenHandCursor);
  if (!click || data_ == nullptr) return;
  if (const auto photo = map::PhotoAt(*data_, view_, event->position())) emit photoClicked(static_cast<int>(*photo));
}

void MapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  fitPending_ = false;
  view_.ZoomAt(event->position(), 1);
  update();
  emit viewChanged();
}

void MapWidget::leaveEvent(QEvent*) { SetHover(std::nullopt, true); }

}  // namespace kavro::gui
