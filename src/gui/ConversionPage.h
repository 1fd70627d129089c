#pragma once
#include "Page.h"

namespace kavro::gui {

class ConversionPage : public Page {
  Q_OBJECT
 public:
  ConversionPage(AppContext& ctx, QWidget* parent);
};

}  // namespace kavro::gui
