#include "ZoneOption.h"

#include <CLI/App.hpp>
#include <algorithm>
#include <cctype>

#include "common/Texts.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {

void ZoneOption::AddTo(CLI::App& sub, const char* description) {
  option_ = sub.add_option("--zone", text_, description)->option_text("ZONE");
}

bool ZoneOption::Given() const { return option_ != nullptr && option_->count() > 0; }

std::optional<int> ZoneOption::Row(CliEnv& env) const {
  if (!Given()) {
    ZoneChoice choice;
    SelectDefaultZone(DefaultZoneLabel(false, {}, SystemZoneBiasMinutes()), choice);
    return choice.row;
  }
  const std::optional<int> row = ZoneRowByUserText(text_);
  if (row) return row;
  // A text with letters was meant as a zone name, not as an offset.
  const bool named = std::any_of(text_.begin(), text_.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
  env.Usage(env.ctx.strings.Format(named ? txt::ZoneNameUnknown : txt::ZoneNotInTable, {QString::fromStdString(text_)}));
  return row;
}

}  // namespace kavro::cli
