// kavro zones: the zones --zone takes, with the offset each has now.
#include <CLI/App.hpp>
#include <QDateTime>

#include "Commands.h"
#include "common/Texts.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {
namespace {

class ZonesCommand : public Command {
 public:
  explicit ZonesCommand(CLI::App& program)
      : Command(program, "zones", "List the time zones --zone takes (the table's offsets, then the named zones), with their offsets now") {
    Sub().add_option("TEXT", text_, "Only the zones whose name contains TEXT (any letter case), e.g. berlin");
  }

  int Run(CliEnv& env) override {
    const std::vector<int> rows = FindZoneRows(text_);
    if (rows.empty()) return env.Fail(env.ctx.strings.Format(txt::NoZoneContains, {QString::fromStdString(text_)}));
    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    for (int row : rows) {
      const QString label = QString::fromStdString(ZoneListLabel(row));
      if (!IsNamedZoneRow(row)) {
        env.out << label << '\n';
        continue;
      }
      env.out << label.leftJustified(34) << QString::fromStdString(OffsetLabel(RowOffsetSecondsAt(row, now))) << '\n';
    }
    return 0;
  }

 private:
  std::string text_;
};

}  // namespace

std::unique_ptr<Command> AddZones(CLI::App& program) { return std::make_unique<ZonesCommand>(program); }

}  // namespace kavro::cli
