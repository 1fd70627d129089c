#include "ProfileWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "map/ProfilePainter.h"

namespace kavro::gui {

ProfileWidget::ProfileWidget(const StringTable& strings, QWidget* parent) : QWidget(parent), strings_(strings) {
  setObjectName(QStringLiteral("heightProfile"));
  setMouseTracking(true);
  setMinimumHeight(60);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void ProfileWidget::SetData(const map::MapData* shown) {
  data_ = shown;
  profile_ = shown != nullptr ? std::make_unique<map::HeightProfile>(*shown) : nullptr;
  hover_.reset();
  update();
}

void ProfileWidget::SetOverTime(bool overTime) {
  overTime_ = overTime;
  update();
}

void ProfileWidget::ShowPoint(std::optional<map::PointRef> point) {
  hover_ = point && profile_ ? profile_->IndexOf(*point) : std::nullopt;
  update();
}

void ProfileWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!profile_ || data_ == nullptr) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  map::ProfilePainter(strings_).Paint(p, QRectF(rect()), *profile_, *data_, overTime_,
                                      zone_ ? zone_() : ZoneClock::System(), hover_);
}

void ProfileWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!profile_ || profile_->IsEmpty()) return;
  const QRectF plot = map::ProfilePainter::PlotRect(QRectF(rect()));
  std::optional<std::size_t> found;
  if (plot.contains(event->position()))
    found = profile_->Nearest(map::ProfilePainter::AxisValueAt(QRectF(rect()), *profile_, overTime_, event->position().x()),
                              overTime_);
  if (found == hover_) return;
  hover_ = found;
  update();
  const std::optional<map::PointRef> point = found ? std::optional(profile_->PointOf(*found)) : std::nullopt;
  emit pointHovered(point ? static_cast<int>(point->track) : -1, point ? static_cast<int>(point->index) : -1);
}

void ProfileWidget::leaveEvent(QEvent*) {
  if (!hover_) return;
  hover_.reset();
  update();
  emit pointHovered(-1, -1);
}

}  // namespace kavro::gui
