#include "PhotoPage.h"

namespace kavro::gui {

PhotoPage::PhotoPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace kavro::gui
