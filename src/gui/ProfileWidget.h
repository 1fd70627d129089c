#pragma once
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "common/StringTable.h"
#include "map/HeightProfile.h"
#include "map/MapData.h"
#include "map/MapPainter.h"
#include "track/ZoneClock.h"

namespace kavro::gui {

// The height profile under the map, drawn by the map room's profile painter; hovering it marks
// the same point on the map.
class ProfileWidget : public QWidget {
  Q_OBJECT
 public:
  ProfileWidget(const StringTable& strings, QWidget* parent = nullptr);

  // The data stays the caller's; call again when it changed.
  void SetData(const map::MapData* shown);
  void SetOverTime(bool overTime);
  bool OverTime() const { return overTime_; }
  void SetZoneSource(std::function<ZoneClock()> zone) { zone_ = std::move(zone); }
  // Marks the sample of a track point (the map's hover); nullopt clears it.
  void ShowPoint(std::optional<map::PointRef> point);
  std::optional<std::size_t> HoveredSample() const { return hover_; }
  const map::HeightProfile* Profile() const { return profile_.get(); }

 signals:
  void pointHovered(int track, int index);  // -1, -1: none

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  const StringTable& strings_;
  const map::MapData* data_ = nullptr;
  std::unique_ptr<map::HeightProfile> profile_;
  std::function<ZoneClock()> zone_;
  bool overTime_ = false;
  std::optional<std::size_t> hover_;
};

}  // namespace kavro::gui
