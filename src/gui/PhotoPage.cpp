#include "PhotoPage.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>
#include <mutex>

#include "JobRunner.h"
#include "PhotoCombineSettingsDialog.h"
#include "common/Texts.h"
#include "photo/PhotoConversion.h"
#include "photo/PhotoReportText.h"
#include "track/TimeZoneTable.h"

namespace kavro::gui {
namespace {

// Carries the conversion's words from the worker to the window in batches: one queued call
// drains whatever has piled up, so a folder of many photos does not flood the event queue.
class ListFeeder : public PhotoConversionListener, public std::enable_shared_from_this<ListFeeder> {
 public:
  ListFeeder(QObject* context, QListWidget* list, QLabel* summary, QProgressBar* progress)
      : context_(context), list_(list), summary_(summary), progress_(progress) {}

  void OnLine(const std::string& line) override { Push(QString::fromStdString(line), false); }
  void OnProblem(const std::string& message) override { Push(QString::fromStdString(message), false); }
  void OnSummary(const std::string& summary) override { Push(QString::fromStdString(summary), true); }
  // Only a new whole percent reaches the window.
  void OnProgress(std::size_t done, std::size_t total) override {
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    bool schedule = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (percent == percent_) return;
      percent_ = percent;
      if (!scheduled_) scheduled_ = schedule = true;
    }
    if (schedule) JobRunner::Post(context_, [self = shared_from_this()] { self->Drain(); });
  }

  // Window thread: moves what is pending into the widgets.
  void Drain() {
    QStringList lines;
    QString summary;
    bool haveSummary;
    int percent;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      percent = percent_;
      lines.swap(lines_);
      summary = summaryText_;
      haveSummary = summaryPending_;
      summaryPending_ = false;
      scheduled_ = false;
    }
    if (!lines.isEmpty()) list_->addItems(lines);
    if (haveSummary) summary_->setText(summary);
    if (percent >= 0) progress_->setValue(percent);
  }

 private:
  void Push(const QString& text, bool isSummary) {
    bool schedule = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (isSummary) {
        summaryText_ = text;
        summaryPending_ = true;
      } else {
        lines_.append(text);
      }
      if (!scheduled_) scheduled_ = schedule = true;
    }
    if (schedule) JobRunner::Post(context_, [self = shared_from_this()] { self->Drain(); });
  }

  QObject* context_;
  QListWidget* list_;
  QLabel* summary_;
  QProgressBar* progress_;
  int percent_ = -1;
  std::mutex mutex_;
  QStringList lines_;
  QString summaryText_;
  bool summaryPending_ = false;
  bool scheduled_ = false;
};

}  // namespace

PhotoPage::PhotoPage(AppContext& ctx, QWidget* parent)
    : Page(ctx, parent), conversion_(std::make_unique<PhotoConversion>(ctx.strings)) {
  auto* outer = new QVBoxLayout(this);
  group_ = new QGroupBox(Text(txt::PhotoGroup), this);
  auto* grid = new QGridLayout(group_);
  grid->addWidget(new QLabel(Text(txt::SourceFile), group_), 0, 0);
  trlEdit_ = new QLineEdit(group_);
  trlEdit_->setReadOnly(true);
  trlEdit_->setObjectName(QStringLiteral("photoTrlPath"));
  grid->addWidget(trlEdit_, 0, 1);
  browseTrl_ = new QPushButton(QStringLiteral("..."), group_);
  browseTrl_->setObjectName(QStringLiteral("photoBrowseTrl"));
  grid->addWidget(browseTrl_, 0, 2);
  grid->addWidget(new QLabel(Text(txt::PhotoDirectory), group_), 1, 0);
  dirEdit_ = new QLineEdit(group_);
  dirEdit_->setReadOnly(true);
  dirEdit_->setObjectName(QStringLiteral("photoDirectory"));
  grid->addWidget(dirEdit_, 1, 1);
  browseDir_ = new QPushButton(QStringLiteral("..."), group_);
  browseDir_->setObjectName(QStringLiteral("photoBrowseDirectory"));
  grid->addWidget(browseDir_, 1, 2);
  auto* buttons = new QHBoxLayout;
  settings_ = new QPushButton(Text(txt::PhotoCombineSetting), group_);
  settings_->setObjectName(QStringLiteral("photoSettings"));
  convert_ = new QPushButton(Text(txt::Convert), group_);
  convert_->setObjectName(QStringLiteral("photoConvert"));
  preview_ = new QPushButton(Text(txt::PreviewButton), group_);
  preview_->setObjectName(QStringLiteral("photoPreview"));
  buttons->addWidget(settings_);
  buttons->addStretch();
  buttons->addWidget(preview_);
  buttons->addWidget(convert_);
  grid->addLayout(buttons, 2, 0, 1, 3);
  outer->addWidget(group_);

  status_ = new QLabel(Text(txt::ConvertStatusMessage), this);
  status_->setObjectName(QStringLiteral("photoStatus"));
  outer->addWidget(status_);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("photoSummary"));
  summary_->setWordWrap(true);  // a long explanation must not widen the window
  outer->addWidget(summary_);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("photoResults"));
  list_->setUniformItemSizes(true);
  outer->addWidget(list_, 1);
  AddReportWidgets(outer);

  runner_ = new JobRunner(this);
  connect(runner_, &JobRunner::busyChanged, this, &Page::busyChanged);

  clock_ = ctx_.photo.clock;

  connect(browseTrl_, &QPushButton::clicked, this, &PhotoPage::OnBrowseTrl);
  connect(browseDir_, &QPushButton::clicked, this, &PhotoPage::OnBrowseDirectory);
  connect(settings_, &QPushButton::clicked, this, &PhotoPage::OnSettings);
  connect(convert_, &QPushButton::clicked, this, &PhotoPage::OnConvert);
  connect(preview_, &QPushButton::clicked, this, &PhotoPage::OnPreview);
}

PhotoPage::~PhotoPage() {
  cancel_.request_stop();
  runner_->Wait();
}

bool PhotoPage::IsBusy() const { return runner_->Busy(); }

void PhotoPage::SetTrlPath(const QString& path) {
  trlPath_ = path;
  trlEdit_->setText(path);
}

void PhotoPage::SetPhotoDirectory(const QString& path) {
  photoDir_ = path;
  dirEdit_->setText(path);
}

void PhotoPage::OnPageCommand(PageCommand command) {
  if (command != PageCommand::Default) return;
  ctx_.photo.stored = PhotoSettings::Stored{};
  ctx_.photo.defaultsPending = true;
}

// A connected logger's zone is what the settings dialog should offer next, not the reset row.
void PhotoPage::RefreshFromDevice() { ctx_.photo.defaultsPending = false; }

void PhotoPage::OnBrowseTrl() {
  QString path;
  if (hooks_.chooseTrl) {
    path = hooks_.chooseTrl();
  } else {
    QFileDialog dialog(this, QString(), StartFolder(FolderUse::TrackFiles), Text(txt::TrlFilter).section(QLatin1Char('|'), 0, 0));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("trl"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) path = dialog.selectedFiles().first();
  }
  if (path.isEmpty()) return;
  RememberFile(FolderUse::TrackFiles, path);
  SetTrlPath(path);
}

void PhotoPage::OnBrowseDirectory() {
  const QString path = hooks_.chooseDirectory ? hooks_.chooseDirectory()
                                              : QFileDialog::getExistingDirectory(this, Text(txt::PhotoDirectory),
                                                                                  StartFolder(FolderUse::Photos));
  if (path.isEmpty()) return;
  ctx_.folders.RememberFolder(FolderUse::Photos, path.toStdString());
  SetPhotoDirectory(path);
}

void PhotoPage::OnSettings() {
  PhotoCombineSettingsDialog dialog(ctx_, this);
  const int result = hooks_.runSettings ? hooks_.runSettings(dialog) : dialog.exec();
  if (result == QDialog::Accepted) {
    clock_ = dialog.Clock();
    ctx_.photo.clock = clock_;
  }
}

void PhotoPage::ShowStop(const QString& text) {
  if (hooks_.showStop) {
    hooks_.showStop(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, Text(txt::AppTitle), text, QMessageBox::Ok, this);
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
}

void PhotoPage::SetStatus(const QString& text) {
  status_->setText(text);
  emit statusChanged(text);
}

void PhotoPage::SetControlsEnabled(bool enabled) {
  for (QPushButton* b : {browseTrl_, browseDir_, settings_, convert_, preview_}) b->setEnabled(enabled);
}

bool PhotoPage::ReadyToRun() {
  if (runner_->Busy()) return false;
  if (trlPath_.isEmpty()) {
    ShowStop(Text(txt::SelectTrlSource));
    return false;
  }
  if (photoDir_.isEmpty()) {
    ShowStop(Text(txt::SelectPhotoDirectory));
    return false;
  }
  // The photo zone is in force from here on, for this conversion and what follows it.
  ctx_.zone.ApplyZone(ctx_.photo.timeZoneIndex);
  return true;
}

void PhotoPage::OnConvert() {
  if (!ReadyToRun()) return;
  QString kml;
  if (hooks_.chooseKml) {
    kml = hooks_.chooseKml();
  } else {
    QFileDialog dialog(this, QString(), StartFolder(FolderUse::TrackFiles), Text(txt::KmlFilter).section(QLatin1Char('|'), 0, 0));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kml"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) kml = dialog.selectedFiles().first();
  }
  if (kml.isEmpty()) return;
  RememberFile(FolderUse::TrackFiles, kml);
  StartRun(kml.toStdString(), false);
}

// The same run without writing anything: no KML to choose, the report says what would be written.
void PhotoPage::OnPreview() {
  if (!ReadyToRun()) return;
  StartRun({}, true);
}

void PhotoPage::StartRun(const std::filesystem::path& kmlPath, bool dryRun) {
  SetStatus(Text(txt::Converting));
  list_->clear();
  summary_->clear();
  report_->setRowCount(0);
  progress_->setValue(0);
  progress_->show();
  SetControlsEnabled(false);

  PhotoConversionSettings settings;
  settings.trlPath = trlPath_.toStdString();
  settings.photoDir = photoDir_.toStdString();
  settings.photoZone = ctx_.zone.Clock();
  settings.clock = clock_;
  settings.ignorePhotoZone = ctx_.photo.ignorePhotoZone;
  settings.writeGps = ctx_.photo.writeGps;
  settings.match = ctx_.photo.match;
  settings.sidecars = ctx_.photo.sidecars;
  settings.sidecarName = ctx_.photo.sidecarName;
  settings.replacePositions = ctx_.photo.replacePositions;
  settings.dryRun = dryRun;
  auto feeder = std::make_shared<ListFeeder>(this, list_, summary_, progress_);
  auto error = std::make_shared<std::string>();
  auto result = std::make_shared<PhotoConversionResult>();
  PhotoConversion* conversion = conversion_.get();
  cancel_ = std::stop_source();
  runner_->Start([conversion, settings, kmlPath, feeder, error, result, stop = cancel_.get_token()] {
    *result = conversion->RunToFile(settings, kmlPath, feeder.get(), *error, stop);
  },
                 [this, feeder, error, result, dryRun] {
                   feeder->Drain();
                   FinishRun(*result, *error, dryRun);
                 });
}

void PhotoPage::FinishRun(const PhotoConversionResult& result, const std::string& error, bool dryRun) {
  SetControlsEnabled(true);
  progress_->hide();
  ShowReport(result.report);
  ctx_.photo.lastReport = result.report;
  // Under the counts, where the eye goes when they read 0.
  if (!result.noMatchExplanation.empty())
    summary_->setText(summary_->text() + QLatin1Char('\n') + QString::fromStdString(result.noMatchExplanation));
  if (!error.empty()) {
    SetStatus(QString::fromStdString(error));
    ShowStop(QString::fromStdString(error));
  } else {
    SetStatus(Text(dryRun ? txt::PreviewDone : txt::ConvertSuccess));
  }
  emit conversionFinished();
}

void PhotoPage::ShowReport(const PhotoReport& report) {
  const PhotoReportText words(ctx_.strings);
  report_->setRowCount(static_cast<int>(report.rows.size()));
  for (std::size_t r = 0; r < report.rows.size(); ++r) {
    std::vector<std::string> cells = words.Cells(report.rows[r]);
    cells[8] = words.WrittenText(report.rows[r], report.dryRun);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      if (c == 0) item->setToolTip(QString::fromStdString(report.rows[r].path.string()));
      report_->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
  report_->resizeColumnsToContents();
  report_->setVisible(!report.rows.empty());
}

void PhotoPage::AddReportWidgets(QBoxLayout* outer) {
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("photoProgress"));
  progress_->setRange(0, 100);
  progress_->hide();
  outer->addWidget(progress_);
  QStringList header;
  for (const std::string& h : PhotoReportText(ctx_.strings).Header()) header << QString::fromStdString(h);
  report_ = new QTableWidget(0, static_cast<int>(header.size()), this);
  report_->setObjectName(QStringLiteral("photoReport"));
  report_->setHorizontalHeaderLabels(header);
  report_->verticalHeader()->hide();
  report_->setSelectionBehavior(QAbstractItemView::SelectRows);
  // The table takes the room it is given: its many columns must not widen the window. Shown once
  // a run has rows for it.
  report_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  report_->setMinimumSize(0, 0);
  report_->hide();
  outer->addWidget(report_, 1);
}

}  // namespace kavro::gui
