#pragma once
#include "Page.h"

namespace kavro::gui {

// The "Download and Update Firmware" tab. Empty for now; the update itself comes later.
class FirmwarePage : public Page {
  Q_OBJECT
 public:
  FirmwarePage(AppContext& ctx, QWidget* parent);
};

}  // namespace kavro::gui
