#pragma once
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "common/StringTable.h"
#include "map/MapData.h"
#include "map/MapPainter.h"
#include "map/MapView.h"
#include "track/ZoneClock.h"

namespace kavro::gui {

// The map picture of the Map tab: the wheel zooms at the cursor, a drag pans, a double-click
// zooms in; hovering a track shows its nearest point, a click on a photo asks to show it.
// Draws through the map room's painter, as the command line's picture is drawn.
class MapWidget : public QWidget {
  Q_OBJECT
 public:
  MapWidget(const StringTable& strings, QWidget* parent = nullptr);

  // The data stays the caller's and must outlive the widget or the next call.
  void SetData(const map::MapData* shown);
  void SetTiles(const map::TileImages* tiles) { tiles_ = tiles; }
  // Where the hover takes the zone of its times from (the conversion page's choice).
  void SetZoneSource(std::function<ZoneClock()> zone) { zone_ = std::move(zone); }
  void SetTileNote(const QString& note);
  void SetAttribution(const QString& text);

  void Fit();
  const map::MapView& View() const { return view_; }
  map::MapOverlay Overlay() const;
  std::optional<map::PointRef> Hovered() const { return hover_; }
  // Marks a point from elsewhere (the profile's hover); nullopt clears the mark.
  void ShowPoint(std::optional<map::PointRef> point);

 signals:
  void viewChanged();
  void pointHovered(int track, int index);  // -1, -1: none
  void photoClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetHover(std::optional<map::PointRef> point, bool tell);

  const StringTable& strings_;
  map::MapPainter painter_;
  const map::MapData* data_ = nullptr;
  const map::TileImages* tiles_ = nullptr;
  std::function<ZoneClock()> zone_;
  map::MapView view_;
  std::optional<map::PointRef> hover_;
  QString tileNote_;
  QString attribution_;
  std::optional<QPointF> dragFrom_;
  QPointF pressAt_;
  bool dragged_ = false;
  bool fitPending_ = true;  // showing everything until the user moves the map
  QTimer settle_;           // the wheel's rest
};

}  // namespace kavro::gui
