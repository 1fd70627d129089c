#include "FirmwarePage.h"

namespace kavro::gui {

FirmwarePage::FirmwarePage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  setObjectName(QStringLiteral("firmwarePage"));
}

}  // namespace kavro::gui
