#pragma once
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

#include "Page.h"
#include "map/MapData.h"
#include "photo/PhotoConversion.h"
#include "track/ZoneClock.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavro::map {
class TileSource;
}

namespace kavro::gui {

class JobRunner;
class MapWidget;
class ProfileWidget;

// The Map tab: the tracks of .trl files (opened here, or the files of the last download,
// conversion or photo run), their waypoints and located photos on a map, with the height
// profile below. Always reachable: it never talks to the logger.
class MapPage : public Page {
  Q_OBJECT
 public:
  // What would otherwise open a modal window; tests replace them so nothing blocks.
  struct Hooks {
    std::function<QStringList()> chooseTracks;             // empty: cancelled
    std::function<QString()> choosePicture;                // empty: cancelled
    std::function<void(const QString&)> showStop;          // a stop message box
    std::function<void(const map::MapPhoto&)> showPhoto;   // the larger view of a photo
  };

  MapPage(AppContext& ctx, QWidget* parent);
  ~MapPage() override;

  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
  // The zone the hover shows times in (the conversion page's choice).
  void SetZoneSource(std::function<ZoneClock()> zone);

  // Shows these files instead of the ones shown so far; what cannot be shown is said in the
  // status line. Returns the problems in words.
  QStringList ShowFiles(const std::vector<std::filesystem::path>& files);
  // Puts the located photos of a photo run on the map (replacing earlier ones).
  void ShowPhotos(std::vector<map::MapPhoto> photos);
  // Shows the located photos of a photo run; their thumbnails are read on a worker.
  void ShowPhotoReport(const PhotoReport& report);
  // Blocks until a running photo job has ended and its photos are shown (tests).
  void WaitForIdle();
  // Writes the picture as shown (with the profile) to a PNG file; false with the reason.
  bool SavePicture(const QString& path, QString* error);

  // Tiles from this address ({z}, {x}, {y}); empty switches them off. False (nothing changed)
  // for an address that is not one.
  bool SetTileTemplate(const QString& urlTemplate);
  // The tile cache folder (tests keep theirs apart).
  void SetTileCacheDir(const QString& dir);
  map::TileSource* Tiles() const { return tiles_.get(); }

  const map::MapData& Data() const { return data_; }
  MapWidget* Map() const { return map_; }
  ProfileWidget* Profile() const { return profile_; }
  QComboBox* ProfileAxis() const { return axis_; }
  QLabel* StatusLabel() const { return status_; }
  QPushButton* OpenButton() const { return open_; }
  QPushButton* FitButton() const { return fit_; }
  QPushButton* SaveButton() const { return save_; }
  QLineEdit* TileField() const { return tileField_; }

 private:
  void BuildControls();
  void ConnectControls();
  void Reshow();
  void OnOpen();
  void OnSave();
  void OnPhotoClicked(int index);
  void OnTileFieldEdited();
  void RequestTiles();
  void ShowTileState();
  void ShowStop(const QString& text);
  void ShowPhotoLarger(const map::MapPhoto& photo);
  void Retranslate();

  Hooks hooks_;
  std::function<ZoneClock()> zone_;
  map::MapData data_;
  std::vector<std::filesystem::path> files_;
  std::unique_ptr<map::TileSource> tiles_;
  JobRunner* runner_ = nullptr;
  std::stop_source stop_;
  QString tileTemplate_;
  QString tileCacheDir_;
  MapWidget* map_ = nullptr;
  ProfileWidget* profile_ = nullptr;
  QLabel* axisLabel_ = nullptr;
  QComboBox* axis_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* fit_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* tileLabel_ = nullptr;
  QLineEdit* tileField_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace kavro::gui
