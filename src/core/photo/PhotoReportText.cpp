#include "photo/PhotoReportText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

#include "common/Texts.h"
#include "track/TimeZoneTable.h"
#include "track/ZoneClock.h"

namespace kavro {
namespace {

std::string Fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

// Display width: a CJK character takes two columns on a terminal.
std::size_t Width(const std::string& s) {
  const QString q = QString::fromStdString(s);
  std::size_t w = 0;
  for (const QChar c : q) w += c.unicode() >= 0x1100 ? 2 : 1;
  return w;
}

}  // namespace

std::string UtcText(std::int64_t utc) {
  std::tm t{};
  if (utc < INT32_MIN || utc > INT32_MAX || !ToUtc(static_cast<std::int32_t>(utc), t)) return {};
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

std::vector<std::string> PhotoReportText::Header() const {
  std::vector<std::string> h;
  for (int id : {txt::ReportFile, txt::ReportCaptured, txt::ReportUtc, txt::ReportMatch, txt::ReportSeconds,
                 txt::ReportLatitude, txt::ReportLongitude, txt::ReportAltitude, txt::ReportWritten, txt::ReportReason,
                 txt::ReportOffset})
    h.push_back(strings_.Utf8(id));
  return h;
}

std::string PhotoReportText::MatchText(PhotoMatchKind kind) const {
  switch (kind) {
    case PhotoMatchKind::Exact: return strings_.Utf8(txt::MatchExact);
    case PhotoMatchKind::Interpolated: return strings_.Utf8(txt::MatchInterpolated);
    case PhotoMatchKind::Nearest: return strings_.Utf8(txt::MatchNearest);
    case PhotoMatchKind::TooFar: return strings_.Utf8(txt::MatchTooFar);
    case PhotoMatchKind::OutsideTrack: return strings_.Utf8(txt::MatchOutside);
    case PhotoMatchKind::NoCaptureTime: return strings_.Utf8(txt::MatchNoTime);
    case PhotoMatchKind::Unreadable: return strings_.Utf8(txt::MatchUnreadable);
    case PhotoMatchKind::MakeRefused: return strings_.Utf8(txt::MatchRefused);
  }
  return {};
}

std::string PhotoReportText::WrittenText(const PhotoReportRow& row, bool dryRun) const {
  if (row.written == PhotoWriteKind::Nothing) return strings_.Utf8(txt::WrittenNothing);
  const int id = row.written == PhotoWriteKind::Copy ? (dryRun ? txt::WouldWriteCopy : txt::WrittenCopy)
                                                     : (dryRun ? txt::WouldWriteSidecar : txt::WrittenSidecar);
  return strings_.Format(id, {QString::fromStdString(row.writtenPath.filename().string())}).toStdString();
}

std::string PhotoReportText::ReasonText(const PhotoReportRow& row) const {
  if (!row.reasonDetail.empty()) return row.reasonDetail;
  return row.reasonId != 0 ? strings_.Utf8(row.reasonId) : std::string();
}

std::vector<std::string> PhotoReportText::Cells(const PhotoReportRow& row) const {
  std::vector<std::string> c;
  c.push_back(row.path.filename().string());
  c.push_back(row.captureText);
  c.push_back(row.utc ? UtcText(*row.utc) : std::string());
  c.push_back(MatchText(row.match));
  c.push_back(row.secondsToNearest ? std::to_string(*row.secondsToNearest) : std::string());
  c.push_back(row.located ? Fixed(row.lat, 7) : std::string());
  c.push_back(row.located ? Fixed(row.lon, 7) : std::string());
  c.push_back(row.located ? Fixed(row.alt, 2) : std::string());
  c.push_back(WrittenText(row, false));
  c.push_back(ReasonText(row));
  c.push_back(row.utc ? OffsetText(row) : std::string());
  return c;
}

std::string PhotoReportText::OffsetText(const PhotoReportRow& row) const {
  const QString offset = QString::fromStdString(OffsetLabel(row.offsetMinutes * 60));
  switch (row.offsetSource) {
    case OffsetSource::PhotoOffsetTimeOriginal:
    case OffsetSource::PhotoOffsetTime:
      return strings_.Format(txt::OffsetFromPhoto, {offset, QString::fromLatin1(OffsetSourceKey(row.offsetSource))})
          .toStdString();
    case OffsetSource::ChosenZone: break;
  }
  switch (row.localNote) {
    case LocalTimeNote::SkippedHourMovedForward: return strings_.Format(txt::OffsetSkippedHour, {offset}).toStdString();
    case LocalTimeNote::RepeatedHourEarlierOffset:
      return strings_.Format(txt::OffsetRepeatedHour, {offset}).toStdString();
    case LocalTimeNote::None: break;
  }
  return strings_.Format(txt::OffsetFromZone, {offset}).toStdString();
}

std::string PhotoReportText::Table(const PhotoReport& report) const {
  std::vector<std::vector<std::string>> lines{Header()};
  for (const PhotoReportRow& row : report.rows) {
    lines.push_back(Cells(row));
    lines.back()[8] = WrittenText(row, report.dryRun);
  }
  std::vector<std::size_t> widths(lines.front().size(), 0);
  for (const auto& line : lines)
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
  std::string out;
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      text += line[i];
      if (i + 1 < line.size()) text += std::string(widths[i] - Width(line[i]) + 2, ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + "\n";
  }
  return out;
}

const char* PhotoReportText::MatchKey(PhotoMatchKind kind) {
  switch (kind) {
    case PhotoMatchKind::Exact: return "exact";
    case PhotoMatchKind::Interpolated: return "interpolated";
    case PhotoMatchKind::Nearest: return "nearest";
    case PhotoMatchKind::TooFar: return "too-far";
    case PhotoMatchKind::OutsideTrack: return "outside-track";
    case PhotoMatchKind::NoCaptureTime: return "no-capture-time";
    case PhotoMatchKind::Unreadable: return "unreadable";
    case PhotoMatchKind::MakeRefused: return "make-refused";
  }
  return "";
}

const char* PhotoReportText::OffsetSourceKey(OffsetSource source) {
  switch (source) {
    case OffsetSource::PhotoOffsetTimeOriginal: return "OffsetTimeOriginal";
    case OffsetSource::PhotoOffsetTime: return "OffsetTime";
    case OffsetSource::ChosenZone: return "zone";
  }
  return "";
}

const char* PhotoReportText::LocalNoteKey(LocalTimeNote note) {
  switch (note) {
    case LocalTimeNote::SkippedHourMovedForward: return "skipped-hour-moved-forward";
    case LocalTimeNote::RepeatedHourEarlierOffset: return "repeated-hour-earlier-offset";
    case LocalTimeNote::None: break;
  }
  return "";
}

const char* PhotoReportText::WrittenKey(PhotoWriteKind kind) {
  switch (kind) {
    case PhotoWriteKind::Copy: return "copy";
    case PhotoWriteKind::Sidecar: return "sidecar";
    case PhotoWriteKind::Nothing: return "nothing";
  }
  return "";
}

std::string PhotoReportText::Json(const PhotoReport& report) {
  QJsonArray rows;
  for (const PhotoReportRow& row : report.rows) {
    QJsonObject o;
    o["path"] = QString::fromStdString(row.path.string());
    o["captureText"] = row.captureText.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(row.captureText));
    o["utc"] = row.utc ? QJsonValue(QString::fromStdString(UtcText(*row.utc))) : QJsonValue();
    o["offsetMinutes"] = row.offsetMinutes;
    o["offsetSource"] = OffsetSourceKey(row.offsetSource);
    o["localTimeNote"] = row.localNote == LocalTimeNote::None ? QJsonValue() : QJsonValue(LocalNoteKey(row.localNote));
    o["match"] = MatchKey(row.match);
    o["secondsToNearest"] = row.secondsToNearest ? QJsonValue(static_cast<double>(*row.secondsToNearest)) : QJsonValue();
    o["located"] = row.located;
    if (row.located) {
      o["lat"] = row.lat;
      o["lon"] = row.lon;
      o["alt"] = row.alt;
    }
    o["written"] = WrittenKey(row.written);
    o["writtenPath"] = row.writtenPath.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(row.writtenPath.string()));
    o["reason"] = row.reasonDetail.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(row.reasonDetail));
    o["reasonId"] = row.reasonId;
    rows.append(o);
  }
  QJsonObject top;
  top["dryRun"] = report.dryRun;
  top["photos"] = rows;
  return QJsonDocument(top).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace kavro
