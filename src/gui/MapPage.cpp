#include "MapPage.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QImageReader>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "JobRunner.h"
#include "MapWidget.h"
#include "ProfileWidget.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "map/MapHitTest.h"
#include "map/MapPicture.h"
#include "map/PhotoLocations.h"
#include "map/TileSource.h"

namespace kavro::gui {

MapPage::MapPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  setObjectName(QStringLiteral("mapPage"));
  // Its photo job holds nothing of the logger's: the other pages never wait for it.
  runner_ = new JobRunner(this);
  BuildControls();
  ConnectControls();
  Retranslate();
  Reshow();
  SetTileTemplate(map::TileSource::DefaultTemplate());
}

MapPage::~MapPage() { stop_.request_stop(); }

void MapPage::BuildControls() {
  open_ = new QPushButton(this);
  open_->setObjectName(QStringLiteral("mapOpenButton"));
  fit_ = new QPushButton(this);
  fit_->setObjectName(QStringLiteral("mapFitButton"));
  save_ = new QPushButton(this);
  save_->setObjectName(QStringLiteral("mapSaveButton"));
  map_ = new MapWidget(ctx_.strings, this);
  profile_ = new ProfileWidget(ctx_.strings, this);
  axisLabel_ = new QLabel(this);
  axis_ = new QComboBox(this);
  axis_->setObjectName(QStringLiteral("profileAxis"));
  axis_->addItems({QString(), QString()});
  tileLabel_ = new QLabel(this);
  tileField_ = new QLineEdit(this);
  tileField_->setObjectName(QStringLiteral("mapTileField"));
  tileField_->setMinimumWidth(80);
  tileLabel_->setBuddy(tileField_);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("mapStatus"));
  status_->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(open_);
  buttons->addWidget(fit_);
  buttons->addWidget(save_);
  buttons->addWidget(axisLabel_);
  buttons->addWidget(axis_);
  buttons->addStretch(1);
  buttons->addWidget(tileLabel_);
  buttons->addWidget(tileField_, 2);
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->addLayout(buttons);
  lay->addWidget(map_, 3);
  lay->addWidget(profile_, 1);
  lay->addWidget(status_);
}

void MapPage::ConnectControls() {
  connect(open_, &QPushButton::clicked, this, &MapPage::OnOpen);
  connect(fit_, &QPushButton::clicked, map_, &MapWidget::Fit);
  connect(save_, &QPushButton::clicked, this, &MapPage::OnSave);
  connect(map_, &MapWidget::photoClicked, this, &MapPage::OnPhotoClicked);
  connect(map_, &MapWidget::viewChanged, this, &MapPage::RequestTiles);
  connect(tileField_, &QLineEdit::editingFinished, this, &MapPage::OnTileFieldEdited);
  connect(axis_, &QComboBox::currentIndexChanged, profile_, [this](int i) { profile_->SetOverTime(i == 1); });
  // The hover marks the same point on the map and on the profile.
  auto ref = [](int track, int index) {
    return track < 0 ? std::nullopt
                     : std::optional<map::PointRef>({static_cast<std::size_t>(track), static_cast<std::size_t>(index)});
  };
  connect(map_, &MapWidget::pointHovered, profile_, [this, ref](int t, int i) { profile_->ShowPoint(ref(t, i)); });
  connect(profile_, &ProfileWidget::pointHovered, map_, [this, ref](int t, int i) { map_->ShowPoint(ref(t, i)); });
}

void MapPage::Reshow() {
  map_->SetData(&data_);
  profile_->SetData(&data_);
}

void MapPage::Retranslate() {
  open_->setText(Text(txt::MapOpen));
  fit_->setText(Text(txt::MapFit));
  save_->setText(Text(txt::MapSavePicture));
  tileLabel_->setText(Text(txt::MapTileServer));
  axisLabel_->setText(Text(txt::MapProfileOver));
  axis_->setItemText(0, Text(txt::MapOverDistance));
  axis_->setItemText(1, Text(txt::MapOverTime));
  if (data_.IsEmpty() && status_->text().isEmpty()) status_->setText(Text(txt::MapNoData));
}

void MapPage::SetZoneSource(std::function<ZoneClock()> zone) {
  zone_ = zone;
  profile_->SetZoneSource(zone);
  map_->SetZoneSource(std::move(zone));
}

QStringList MapPage::ShowFiles(const std::vector<std::filesystem::path>& files) {
  map::MapData fresh;
  const std::vector<TextMessage> problems = map::LoadTrackFiles(files, fresh);
  // The photos belong to the run that showed them; new tracks come without them.
  data_ = std::move(fresh);
  files_ = files;
  Reshow();
  QStringList lines;
  for (const TextMessage& p : problems) lines << ctx_.strings.Format(p);
  if (!lines.isEmpty())
    status_->setText(lines.join(QLatin1Char('\n')));
  else
    status_->setText(data_.IsEmpty() ? Text(txt::MapNoData) : QString());
  return lines;
}

void MapPage::ShowPhotos(std::vector<map::MapPhoto> photos) {
  data_.photos.clear();
  for (map::MapPhoto& photo : photos) map::AddPhoto(data_, std::move(photo));
  Reshow();
}

void MapPage::ShowPhotoReport(const PhotoReport& report) {
  if (runner_->Busy()) {
    stop_.request_stop();
    runner_->Wait();
  }
  stop_ = std::stop_source();
  auto found = std::make_shared<std::vector<map::MapPhoto>>();
  const StringTable& strings = ctx_.strings;
  // Reading every photo's thumbnail takes a while: never on the window's thread.
  runner_->Start([found, report, &strings, stop = stop_.get_token()] { *found = map::LocatedPhotos(strings, report, stop); },
                 [this, found] { ShowPhotos(std::move(*found)); });
}

void MapPage::WaitForIdle() { runner_->Wait(); }

bool MapPage::SavePicture(const QString& path, QString* error) {
  map::MapOverlay overlay = map_->Overlay();
  overlay.hover.reset();  // the picture shows the map, not the mouse
  overlay.hoverLines.clear();
  map::PictureOptions options;
  // The picture shows what the tab shows: the map and the profile under it.
  options.profile = true;
  options.profileOverTime = profile_->OverTime();
  if (zone_) options.zone = zone_();
  const QImage picture = map::RenderPicture(ctx_.strings, map_->View(), data_, tiles_.get(), overlay, options);
  std::string reason;
  if (map::WritePng(ctx_.strings, picture, path.toStdString(), &reason)) return true;
  if (error != nullptr) *error = FileReportLine(ctx_.strings, {txt::OutputWriteFailed, path.toStdString(), reason});
  return false;
}

bool MapPage::SetTileTemplate(const QString& urlTemplate) {
  const QString wanted = urlTemplate.trimmed();
  if (!wanted.isEmpty() && !map::TileSource::ValidTemplate(wanted)) return false;
  tileTemplate_ = wanted;
  tileField_->setText(wanted);
  map_->SetTiles(nullptr);
  tiles_.reset();
  if (!wanted.isEmpty()) {
    map::TileSettings settings;
    settings.urlTemplate = wanted;
    settings.cacheDir = tileCacheDir_;
    tiles_ = std::make_unique<map::TileSource>(ctx_.strings, settings);
    connect(tiles_.get(), &map::TileSource::tileArrived, map_, qOverload<>(&QWidget::update));
    connect(tiles_.get(), &map::TileSource::problemChanged, this, &MapPage::ShowTileState);
    map_->SetTiles(tiles_.get());
  }
  ShowTileState();
  RequestTiles();
  return true;
}

void MapPage::SetTileCacheDir(const QString& dir) {
  tileCacheDir_ = dir;
  SetTileTemplate(tileTemplate_);
}

void MapPage::OnTileFieldEdited() {
  if (tileField_->text().trimmed() == tileTemplate_) return;
  if (SetTileTemplate(tileField_->text())) return;
  status_->setText(ctx_.strings.Format(txt::MapTileUrlBad, {tileField_->text()}));
}

void MapPage::RequestTiles() {
  // Only what is on show, and only from the event loop's side: nothing here waits.
  if (tiles_) tiles_->Request(map::VisibleTiles(map_->View()));
}

void MapPage::ShowTileState() {
  if (!tiles_) {
    map_->SetAttribution(QString());
    map_->SetTileNote(ctx_.strings.Format(txt::MapTilesUnavailable, {Text(txt::MapTilesOff)}));
    return;
  }
  map_->SetAttribution(tiles_->Attribution());
  map_->SetTileNote(tiles_->Problem());
}

void MapPage::OnOpen() {
  QStringList chosen;
  if (hooks_.chooseTracks) {
    chosen = hooks_.chooseTracks();
  } else {
    chosen = QFileDialog::getOpenFileNames(this, QString(), StartFolder(FolderUse::TrackFiles), Text(txt::MapTrlFilter));
  }
  if (chosen.isEmpty()) return;
  RememberFile(FolderUse::TrackFiles, chosen.first());
  std::vector<std::filesystem::path> files;
  for (const QString& f : chosen) files.emplace_back(f.toStdString());
  const QStringList problems = ShowFiles(files);
  if (!problems.isEmpty()) ShowStop(problems.join(QLatin1Char('\n')));
}

void MapPage::OnSave() {
  QString path;
  if (hooks_.choosePicture) {
    path = hooks_.choosePicture();
  } else {
    QFileDialog dialog(this, QString(), StartFolder(FolderUse::TrackFiles), Text(txt::MapPngFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) path = dialog.selectedFiles().first();
  }
  if (path.isEmpty()) return;
  QString error;
  if (SavePicture(path, &error)) {
    status_->setText(FileReportLine(ctx_.strings, {txt::CreateFileOk, path.toStdString(), {}}));
    return;
  }
  status_->setText(error);
  ShowStop(error);
}

void MapPage::OnPhotoClicked(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= data_.photos.size()) return;
  const map::MapPhoto& photo = data_.photos[static_cast<std::size_t>(index)];
  if (hooks_.showPhoto)
    hooks_.showPhoto(photo);
  else
    ShowPhotoLarger(photo);
}

void MapPage::ShowPhotoLarger(const map::MapPhoto& photo) {
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("mapPhotoDialog"));
  dialog.setWindowTitle(QString::fromStdString(photo.path.filename().string()));
  auto* lay = new QVBoxLayout(&dialog);
  QImageReader reader(QString::fromStdString(photo.path.string()));
  reader.setAutoTransform(true);
  if (reader.size().isValid()) reader.setScaledSize(reader.size().scaled(720, 540, Qt::KeepAspectRatio));
  const QImage image = reader.read();
  auto* picture = new QLabel(&dialog);
  picture->setPixmap(QPixmap::fromImage(image.isNull() ? photo.thumbnail : image));
  lay->addWidget(picture);
  const ZoneClock zone = zone_ ? zone_() : ZoneClock::System();
  lay->addWidget(new QLabel(ctx_.strings.Format(txt::MapPhotoTime, {map::LocalTimeText(photo.utc, zone)}), &dialog));
  lay->addWidget(new QLabel(ctx_.strings.Format(txt::MapPhotoMatch, {QString::fromStdString(photo.matchText)}), &dialog));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(Text(txt::Ok));
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  lay->addWidget(buttons);
  dialog.exec();
}

void MapPage::ShowStop(const QString& text) {
  if (hooks_.showStop) {
    hooks_.showStop(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, Text(txt::AppTitle), text, QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("mapMessage"));
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
}

}  // namespace kavro::gui
