#pragma once
#include <QIcon>
#include <QPixmap>

#include "protocol/DeviceInfo.h"

namespace kavro::gui {

// The window's pictures, drawn by the program itself: the model banner, the logo, the
// connection status picture and the window icon.
class Images {
 public:
  // model 3 is the T-580; any other value shows the "no device" banner.
  static QPixmap ModelPicture(DeviceModel model);
  static QPixmap Logo();
  static QPixmap StatusPicture(bool connected);
  static QIcon AppIcon();
};

}  // namespace kavro::gui
