#include "ConversionPage.h"

namespace kavro::gui {

ConversionPage::ConversionPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {}

}  // namespace kavro::gui
