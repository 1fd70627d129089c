#pragma once
#include "Page.h"

namespace kavro::gui {

class PhotoPage : public Page {
  Q_OBJECT
 public:
  PhotoPage(AppContext& ctx, QWidget* parent);
};

}  // namespace kavro::gui
