// kavro tracks: decodes a saved log memory image and writes its track log files, as a download
// does after its last sector.
#include <QFile>

#include "Cli.h"
#include "common/Texts.h"
#include "download/LogDecoder.h"
#include "download/TrackFileWriter.h"
#include "track/TimeZoneTable.h"

namespace kavro::cli {

std::optional<int> ZoneRowForCli(const QString& zoneText);

int RunTracks(CliEnv& env, const QStringList& args) {
  const QString usage =
      QStringLiteral("usage: kavro tracks MEMORY.bin --dir DIR [--total] [--user NAME] [--zone LABEL] [--kml]");
  const StringTable& s = env.ctx.strings;
  QString image, dir, user, zoneText;
  bool total = false, kml = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](QString& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (a == QLatin1String("--total")) total = true;
    else if (a == QLatin1String("--kml")) kml = true;
    else if (a == QLatin1String("--dir")) {
      if (!value(dir)) return env.Usage(s.Format(txt::MissingArgument, {a}) + '\n' + usage);
    } else if (a == QLatin1String("--user")) {
      if (!value(user)) return env.Usage(s.Format(txt::MissingArgument, {a}) + '\n' + usage);
    } else if (a == QLatin1String("--zone")) {
      if (!value(zoneText)) return env.Usage(s.Format(txt::MissingArgument, {a}) + '\n' + usage);
    } else if (a.startsWith(QLatin1String("--")) || !image.isEmpty()) {
      return env.Usage(s.Format(txt::UnknownOption, {a}) + '\n' + usage);
    } else {
      image = a;
    }
  }
  if (image.isEmpty()) return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("MEMORY.bin")}) + '\n' + usage);
  if (dir.isEmpty()) return env.Usage(s.Format(txt::MissingArgument, {QStringLiteral("--dir")}) + '\n' + usage);
  std::error_code ec;
  if (!std::filesystem::is_directory(dir.toStdString(), ec)) return env.Fail(s.Format(txt::DirectoryMissing, {dir}));
  if (!zoneText.isNull()) {
    const std::optional<int> row = ZoneRowForCli(zoneText);
    if (!row) return env.Usage(s.Format(txt::ZoneNotInTable, {zoneText}));
    env.ctx.zone.ApplyZone(*row);
  }

  QFile file(image);
  if (!file.open(QIODevice::ReadOnly)) return env.Fail(s.Format(txt::SourceOpenFailed, {image, file.errorString()}));
  if (file.size() != static_cast<qint64>(kMemoryImageSize))
    return env.Fail(s.Format(txt::MemoryImageSize,
                             {image, QString::number(file.size()), QString::number(kMemoryImageSize)}));
  const QByteArray bytes = file.readAll();
  if (bytes.size() != static_cast<qsizetype>(kMemoryImageSize))
    return env.Fail(s.Format(txt::SourceOpenFailed, {image, file.errorString()}));

  LogDecoder decoder;
  decoder.ResetDecoder(env.ctx.zone.Clock(), LogDecoder::CurrentUtcYear());
  decoder.DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.constData()), kMemoryImageSize);

  TrackFilesOptions options;
  options.directory = dir.toStdString();
  options.writeTotal = total;
  options.userName = user.toStdString();
  options.clock = env.ctx.zone.Clock();
  auto show = [&](int textId, const std::filesystem::path& path, const std::string& reason) {
    const QString p = QString::fromStdString(path.string());
    if (textId == txt::CreateFileOk) env.out << s.Text(txt::CreateFileOk) << ' ' << p << '\n';
    else env.err << s.Format(textId, {p, QString::fromStdString(reason)}) << '\n';
  };
  const TrackFilesResult result =
      WriteTrackFiles(decoder, options, [&](const TrackFileReport& r) { show(r.textId, r.path, r.reason); });
  int failed = result.failed;
  if (kml)
    failed += WriteKmlForTrackFiles(result, options.clock, [&](const TrackFileReport& r) { show(r.textId, r.path, r.reason); });
  if (decoder.ValidCount() == 0) env.err << s.Text(txt::NoTrackRecords) << '\n';
  env.out.flush();
  env.err.flush();
  return failed == 0 ? 0 : 1;
}

}  // namespace kavro::cli
