#include "common/FileReport.h"

#include "common/Texts.h"

namespace kavro {

bool FileReport::Written() const { return textId == txt::CreateFileOk; }

QString FileReportLine(const StringTable& strings, const FileReport& report) {
  const QString path = QString::fromStdString(report.path.string());
  if (report.Written()) return strings.Text(txt::CreateFileOk) + QLatin1Char(' ') + path;
  return strings.Format(report.textId, {path, QString::fromStdString(report.reason)});
}

}  // namespace kavro
