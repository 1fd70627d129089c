#pragma once
#include <QTabBar>
#include <optional>
#include <vector>

namespace kavro::gui {

// The page tab bar. A disabled tab is drawn etched and cannot be selected by mouse, key or
// program; a step onto it moves on to the next enabled tab in the direction of the step.
class OwnerDrawTabBar : public QTabBar {
  Q_OBJECT
 public:
  explicit OwnerDrawTabBar(QWidget* parent = nullptr);

  bool IsTabEnabled(int position) const;
  // False for a position outside the tabs, and when disabling would leave no tab to select.
  bool SetTabEnabled(int position, bool enabled);
  // The first enabled tab from start on, searching forward (wrapping) or backward (wrapping).
  std::optional<int> NextEnabledTab(int start, bool forward) const;
  // Selection by program: a disabled target is refused, or, for a one-step move or a move
  // from or to the first tab, replaced by the next enabled tab in that direction.
  bool SelectTab(int target);

  // Where a caption is drawn inside its tab: this far from the left edge (the selected tab),
  // or kTextOffset in and kUnselectedTextDrop down (the others).
  static constexpr int kSelectedTextOffset = 7;
  static constexpr int kTextOffset = 4;
  static constexpr int kUnselectedTextDrop = 2;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  QSize tabSizeHint(int index) const override;
  void tabInserted(int index) override;
  void tabRemoved(int index) override;

 private:
  std::vector<int> disabled_;
};

}  // namespace kavro::gui
