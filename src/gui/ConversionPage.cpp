#include "ConversionPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "JobRunner.h"
#include "common/FileReport.h"
#include "common/Texts.h"
#include "convert/TrackConversion.h"

namespace kavro::gui {

ConversionPage::ConversionPage(AppContext& ctx, QWidget* parent) : Page(ctx, parent) {
  runner_ = new JobRunner(this);
  connect(runner_, &JobRunner::busyChanged, this, &Page::busyChanged);

  group_ = new QGroupBox(Text(txt::ConversionGroup), this);
  group_->setObjectName(QStringLiteral("conversionGroup"));
  sourceLabel_ = new QLabel(Text(txt::SourceFile), group_);
  sourceEdit_ = new QLineEdit(group_);
  sourceEdit_->setObjectName(QStringLiteral("sourceEdit"));
  sourceEdit_->setReadOnly(true);
  browse_ = new QPushButton(QStringLiteral("..."), group_);
  browse_->setObjectName(QStringLiteral("browseButton"));
  browse_->setMaximumWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 28);
  zoneLabel_ = new QLabel(Text(txt::TimeZoneLabel), group_);
  zoneCombo_ = new QComboBox(group_);
  zoneCombo_->setObjectName(QStringLiteral("zoneCombo"));
  for (const ZoneRow& row : TimeZoneTable()) zoneCombo_->addItem(QString::fromLatin1(row.label));
  formatLabel_ = new QLabel(Text(txt::OutputFormat), group_);
  for (const OutputFormat& format : OutputFormats()) {
    auto* box = new QCheckBox(Text(format.labelId), group_);
    box->setObjectName(QString::fromLatin1(format.key) + QStringLiteral("Check"));
    formats_.push_back(box);
  }
  convert_ = new QPushButton(Text(txt::Convert), group_);
  convert_->setObjectName(QStringLiteral("convertButton"));
  status_ = new QLabel(Text(txt::ConvertStatusMessage), group_);
  status_->setObjectName(QStringLiteral("statusLabel"));

  auto* grid = new QGridLayout(group_);
  grid->addWidget(sourceLabel_, 0, 0);
  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(sourceEdit_, 1);
  sourceRow->addWidget(browse_);
  grid->addLayout(sourceRow, 0, 1);
  grid->addWidget(zoneLabel_, 1, 0);
  grid->addWidget(zoneCombo_, 1, 1, Qt::AlignLeft);
  grid->addWidget(formatLabel_, 2, 0, Qt::AlignTop);
  auto* formats = new QVBoxLayout;
  for (QCheckBox* box : formats_) formats->addWidget(box);
  grid->addLayout(formats, 2, 1);
  auto* convertRow = new QHBoxLayout;
  convertRow->addStretch(1);
  convertRow->addWidget(convert_);
  grid->addLayout(convertRow, 3, 1);
  grid->addWidget(status_, 4, 0, 1, 2);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(group_);
  outer->addStretch(1);

  CheckDefaultFormats();
  SelectDefaultZoneFromDevice();

  connect(browse_, &QPushButton::clicked, this, &ConversionPage::OnBrowseSource);
  connect(zoneCombo_, &QComboBox::activated, this, &ConversionPage::OnZoneSelected);
  connect(convert_, &QPushButton::clicked, this, &ConversionPage::OnConvert);
}

ConversionPage::~ConversionPage() { runner_->Wait(); }

bool ConversionPage::IsBusy() const { return runner_->Busy(); }

void ConversionPage::SetSourcePath(const QString& path) {
  source_ = path;
  sourceEdit_->setText(path);
}

void ConversionPage::OnBrowseSource() {
  // The table's filter is "Label (*.trl)|*.trl|"; the dialog wants the label with its pattern.
  const QString filter = Text(txt::TrlFilter).section(QLatin1Char('|'), 0, 0);
  QFileDialog dialog(this, QString(), StartFolder(FolderUse::TrackFiles), filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("trl"));
  dialog.selectFile(QStringLiteral("*.trl"));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    SetSourcePath(dialog.selectedFiles().first());
    RememberFile(FolderUse::TrackFiles, source_);
  }
}

void ConversionPage::OnZoneSelected(int index) {
  if (index < 0 || index >= kZoneRowCount) return;
  const ZoneRow& row = TimeZoneTable()[static_cast<std::size_t>(index)];
  zone_ = ZoneChoice{index, row.hours, row.minutes};
}

void ConversionPage::SelectDefaultZoneFromDevice() {
  const DeviceInfo info = ctx_.device.Snapshot();
  const bool matched =
      SelectDefaultZone(DefaultZoneLabel(info.timeZoneValid, info.timeZone, SystemZoneBiasMinutes()), zone_);
  // No matching row: the list shows no selection, the zone used stays the stored row.
  zoneCombo_->setCurrentIndex(matched ? zone_.row : -1);
}

void ConversionPage::RefreshFromDevice() {
  if (!IsBusy()) SelectDefaultZoneFromDevice();
}

void ConversionPage::OnPageCommand(PageCommand command) {
  if (command != PageCommand::Default || IsBusy()) return;
  zone_ = ZoneChoice{kUtcZoneRow, 0, 0};
  zoneCombo_->setCurrentIndex(kUtcZoneRow);
  CheckDefaultFormats();
}

void ConversionPage::CheckDefaultFormats() {
  for (std::size_t i = 0; i < formats_.size(); ++i) formats_[i]->setChecked(OutputFormats()[i].byDefault);
}

void ConversionPage::SetStatus(const QString& text) {
  status_->setText(text);
  emit statusChanged(text);
}

void ConversionPage::SetControlsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{browse_, zoneCombo_, convert_}) w->setEnabled(enabled);
  for (QCheckBox* box : formats_) box->setEnabled(enabled);
}

void ConversionPage::ShowStop(const QString& text) {
  QMessageBox box(QMessageBox::Critical, Text(txt::AppTitle), text, QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("conversionMessage"));
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
}

void ConversionPage::OnConvert() {
  if (IsBusy()) return;
  if (source_.isEmpty()) {
    ShowStop(Text(txt::SelectTrlSource));
    return;
  }
  SetStatus(Text(txt::Converting));
  // The zone applied stays in force for the rest of the run (downloads name files with it).
  ctx_.zone.ApplyZone(zone_.row);
  ConversionRequest request;
  request.source = source_.toStdString();
  request.formats.clear();
  for (std::size_t i = 0; i < formats_.size(); ++i)
    if (formats_[i]->isChecked()) request.formats.push_back(OutputFormats()[i].format);
  request.clock = ctx_.zone.Clock();
  auto result = std::make_shared<ConversionResult>();
  SetControlsEnabled(false);
  runner_->Start([request, result] { *result = ConvertTrackFile(request); },
                 [this, result, source = source_] {
                   SetControlsEnabled(true);
                   if (result->Ok()) {
                     SetStatus(Text(txt::ConvertSuccess));
                     emit converted(source);
                     return;
                   }
                   SetStatus(Text(txt::ConvertFailed));
                   QStringList lines;
                   for (const ConversionProblem& p : result->problems) lines << FileReportLine(ctx_.strings, p);
                   ShowStop(lines.join(QLatin1Char('\n')));
                 });
}

}  // namespace kavro::gui
