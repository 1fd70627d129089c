// kavro map: the Map tab's picture into a PNG file.
#include <CLI/App.hpp>
#include <algorithm>
#include <filesystem>

#include "Commands.h"
#include "PhotoOptions.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "map/MapData.h"
#include "map/MapPicture.h"
#include "map/PhotoLocations.h"
#include "map/TileSource.h"

namespace kavro::cli {
namespace {

constexpr int kMinSide = 64;
constexpr int kMaxSide = 4096;  // a 4096 x 4096 picture still fits the memory a run may take
constexpr int kTileWaitMs = 10000;

std::optional<QSize> ParseSize(const std::string& text) {
  const QStringList parts = QString::fromStdString(text).toLower().split(QLatin1Char('x'));
  if (parts.size() != 2) return std::nullopt;
  bool okW = false, okH = false;
  const int w = parts[0].trimmed().toInt(&okW);
  const int h = parts[1].trimmed().toInt(&okH);
  if (!okW || !okH || w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide) return std::nullopt;
  return QSize(w, h);
}

class MapCommand : public Command {
 public:
  explicit MapCommand(CLI::App& program)
      : Command(program, "map", "Draw track log files on a map into a PNG picture, as the Map tab shows them") {
    Sub().add_option("TRACK.trl", tracks_, "The track log files (a download's waypoint file shows as waypoints)")
        ->required();
    Sub().add_option("--png", png_, "The picture to write")->option_text("OUT.png")->required();
    Sub().add_option("--size", size_, "Size of the map in pixels (default 1200x800)")->option_text("WxH");
    Sub().add_flag("--profile", profile_, "Draw the height profile below the map");
    Sub().add_flag("--profile-time", profileTime_, "The profile over time instead of distance");
    Sub().add_option("--tiles", tiles_, "Tile server address with {z}, {x} and {y} (default: OpenStreetMap's)")
        ->option_text("URL");
    Sub().add_flag("--no-tiles", noTiles_, "Draw on the plain background with its grid, fetch no tiles");
    Sub().add_option("--photos", photos_, "Put the photos of this folder on the map, matched as kavro geotag does")
        ->option_text("DIR");
    matching_.AddTo(Sub(), "Time zone the camera clock was set to, and of the profile's times (default: the system's)");
  }

  int Run(CliEnv& env) override;

 private:
  // The located photos of --photos onto the map; 0, or the exit status after a message.
  int AddPhotos(CliEnv& env, const PhotoConversionSettings& settings, const std::vector<std::filesystem::path>& files,
                map::MapData& data) const;
  // The tiles the view shows, waited for at most kTileWaitMs; the note says what is missing.
  std::unique_ptr<map::TileSource> FetchTiles(const StringTable& words, const map::MapView& view, QString& note) const;

  std::vector<std::string> tracks_;
  std::string png_;
  std::string size_ = "1200x800";
  std::string tiles_;
  std::string photos_;
  PhotoOptions matching_;
  bool profile_ = false;
  bool profileTime_ = false;
  bool noTiles_ = false;
};

int MapCommand::Run(CliEnv& env) {
  const StringTable& words = env.ctx.strings;
  const std::optional<QSize> size = ParseSize(size_);
  if (!size) return env.Usage(words.Format(txt::MapSizeFormat, {QString::number(kMinSide), QString::number(kMaxSide)}));
  if (noTiles_ && !tiles_.empty()) return env.Usage(words.Text(txt::MapTilesAndNoTiles));
  if (!tiles_.empty() && !map::TileSource::ValidTemplate(QString::fromStdString(tiles_)))
    return env.Usage(words.Format(txt::MapTileUrlBad, {QString::fromStdString(tiles_)}));

  PhotoConversionSettings matching;
  if (const int usage = matching_.Apply(env, matching); usage != 0) return usage;

  map::MapData data;
  const std::vector<std::filesystem::path> files(tracks_.begin(), tracks_.end());
  const std::vector<TextMessage> problems = map::LoadTrackFiles(files, data);
  // A file that cannot be shown spoils the picture: nothing is written.
  if (!problems.empty()) {
    for (std::size_t i = 0; i + 1 < problems.size(); ++i) env.err << words.Format(problems[i]) << '\n';
    return env.Fail(words.Format(problems.back()));
  }
  if (data.IsEmpty()) return env.Fail(words.Text(txt::MapNothingToDraw));
  if (!photos_.empty())
    if (const int failed = AddPhotos(env, matching, files, data); failed != 0) return failed;

  map::MapView view(QSizeF(*size), {0.5, 0.5}, map::kMinZoom);
  view.Fit(data.Extent(), 40);
  map::MapOverlay overlay;
  const std::unique_ptr<map::TileSource> tiles = noTiles_ ? nullptr : FetchTiles(words, view, overlay.tileNote);
  if (tiles) overlay.attribution = tiles->Attribution();
  map::PictureOptions options;
  options.profile = profile_;
  options.profileOverTime = profileTime_;
  options.zone = matching.photoZone;
  const QImage picture = map::RenderPicture(words, view, data, tiles.get(), overlay, options);
  std::string error;
  if (!map::WritePng(words, picture, png_, &error))
    return env.Fail(FileReportLine(words, {txt::OutputWriteFailed, png_, error}));
  env.out << FileReportLine(words, {txt::CreateFileOk, png_, {}}) << '\n';
  return 0;
}

int MapCommand::AddPhotos(CliEnv& env, const PhotoConversionSettings& matching,
                          const std::vector<std::filesystem::path>& files, map::MapData& data) const {
  PhotoConversionSettings settings = matching;
  settings.photoDir = photos_;
  map::PhotoLocations located = map::LocatePhotos(env.ctx.strings, settings, files);
  if (!located.problems.empty()) return env.Fail(QString::fromStdString(located.problems.front()));
  env.out << env.ctx.strings.Format(txt::MapPhotosLocated, {QString::number(located.photos.size()),
                                                            QString::number(located.scanned)})
          << '\n';
  for (map::MapPhoto& photo : located.photos) map::AddPhoto(data, std::move(photo));
  return 0;
}

std::unique_ptr<map::TileSource> MapCommand::FetchTiles(const StringTable& words, const map::MapView& view,
                                                       QString& note) const {
  map::TileSettings settings;
  settings.urlTemplate = tiles_.empty() ? map::TileSource::DefaultTemplate() : QString::fromStdString(tiles_);
  auto tiles = std::make_unique<map::TileSource>(words, settings);
  const std::vector<map::TileKey> keys = map::VisibleTiles(view);
  if (map::WaitForTiles(*tiles, keys, kTileWaitMs)) return tiles;
  const auto missing = std::count_if(keys.begin(), keys.end(), [&](const map::TileKey& k) { return tiles->Image(k).isNull(); });
  // What has come is drawn; the line says why the rest is missing.
  note = !tiles->Problem().isEmpty()
             ? tiles->Problem()
             : words.Format(txt::MapTilesUnavailable,
                            {words.Format(txt::MapTilesNotAll, {QString::number(missing), QString::number(keys.size()),
                                                                QString::number(kTileWaitMs / 1000)})});
  return tiles;
}

}  // namespace

std::unique_ptr<Command> AddMap(CLI::App& program) { return std::make_unique<MapCommand>(program); }

}  // namespace kavro::cli
