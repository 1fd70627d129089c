#include "FirmwarePage.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "JobRunner.h"
#include "YesNoQuestion.h"
#include "common/Texts.h"

namespace kavro::gui {

FirmwarePage::FirmwarePage(AppContext& ctx, QWidget* parent)
    : Page(ctx, parent), programFolder_(QCoreApplication::applicationDirPath()) {
  setObjectName(QStringLiteral("firmwarePage"));
  runner_ = new JobRunner(this);
  connect(runner_, &JobRunner::busyChanged, this, &Page::busyChanged);

  group_ = new QGroupBox(Text(txt::TabFirmware), this);
  group_->setObjectName(QStringLiteral("firmwareGroup"));
  warning_ = new QLabel(Text(txt::FirmwareWarning), group_);
  warning_->setObjectName(QStringLiteral("warningLabel"));
  warning_->setWordWrap(true);
  fileLabel_ = new QLabel(Text(txt::FirmwareFile), group_);
  fileEdit_ = new QLineEdit(group_);
  fileEdit_->setObjectName(QStringLiteral("fileEdit"));
  fileEdit_->setReadOnly(true);
  browse_ = new QPushButton(QStringLiteral("..."), group_);
  browse_->setObjectName(QStringLiteral("browseButton"));
  browse_->setMaximumWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 28);
  download_ = new QPushButton(Text(txt::DownloadAndUpdate), group_);
  download_->setObjectName(QStringLiteral("downloadButton"));
  status_ = new QLabel(Text(txt::DownloadAndUpdateStatus), group_);
  status_->setObjectName(QStringLiteral("statusLabel"));
  status_->setWordWrap(true);
  progress_ = new QProgressBar(group_);
  progress_->setObjectName(QStringLiteral("progressBar"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  percent_ = new QLabel(QStringLiteral("0%"), group_);
  percent_->setObjectName(QStringLiteral("percentLabel"));
  percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);

  auto* grid = new QGridLayout(group_);
  grid->addWidget(warning_, 0, 0, 1, 2);
  grid->addWidget(fileLabel_, 1, 0, 1, 2);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(fileEdit_, 1);
  fileRow->addWidget(browse_);
  grid->addLayout(fileRow, 2, 0, 1, 2);
  auto* downloadRow = new QHBoxLayout;
  downloadRow->addStretch(1);
  downloadRow->addWidget(download_);
  grid->addLayout(downloadRow, 3, 0, 1, 2);
  grid->addWidget(status_, 4, 0, 1, 2);
  grid->addWidget(progress_, 5, 0);
  grid->addWidget(percent_, 5, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(group_);
  outer->addStretch(1);

  Rebuild();
  connect(browse_, &QPushButton::clicked, this, &FirmwarePage::OnBrowse);
  connect(download_, &QPushButton::clicked, this, &FirmwarePage::OnDownloadFirmware);
}

FirmwarePage::~FirmwarePage() { runner_->Wait(); }

bool FirmwarePage::IsBusy() const { return runner_->Busy(); }

void FirmwarePage::WaitForIdle() { runner_->Wait(); }

void FirmwarePage::Rebuild() {
  // The update keeps the agent path it found last; a new folder or pace starts afresh.
  const QString chosen = update_ ? QString::fromStdString(update_->FirmwarePath().string()) : QString();
  library_ = std::make_unique<SerialBootRom>(timing_.rom);
  update_ = std::make_unique<FirmwareUpdate>(programFolder_.toStdString(), *library_, timing_);
  if (!chosen.isEmpty()) update_->ChooseFile(chosen.toStdString());
}

void FirmwarePage::SetProgramFolder(const QString& folder) {
  if (IsBusy()) return;
  programFolder_ = folder;
  Rebuild();
}

void FirmwarePage::SetTiming(const FirmwareTiming& timing) {
  if (IsBusy()) return;
  timing_ = timing;
  Rebuild();
}

void FirmwarePage::ChooseFile(const QString& path) {
  if (IsBusy()) return;
  update_->ChooseFile(path.toStdString());
  fileEdit_->setText(path);
}

void FirmwarePage::OnBrowse() {
  if (IsBusy()) return;
  QFileDialog dialog(this, QString(), StartFolder(FolderUse::Firmware), Text(txt::FirmwareFilter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("bin"));
  dialog.selectFile(QStringLiteral("*.bin"));
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    RememberFile(FolderUse::Firmware, dialog.selectedFiles().first());
    ChooseFile(dialog.selectedFiles().first());
  }
}

void FirmwarePage::SetStatus(int textId) {
  const QString text = Text(textId);
  status_->setText(text);
  emit statusChanged(text);
}

void FirmwarePage::ShowProgress(int percent) {
  progress_->setValue(percent);
  percent_->setText(QStringLiteral("%1%").arg(percent));
}

void FirmwarePage::ShowStop(const QString& text) {
  QMessageBox box(QMessageBox::Critical, Text(txt::AppTitle), text, QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("firmwareMessage"));
  box.button(QMessageBox::Ok)->setText(Text(txt::Ok));
  box.exec();
}

void FirmwarePage::SetControlsEnabled(bool enabled) {
  browse_->setEnabled(enabled);
  download_->setEnabled(enabled);
}

QString FirmwarePage::MessageText(const FirmwareMessage& message) const {
  std::vector<QString> args;
  for (const std::string& a : message.args) args.push_back(QString::fromStdString(a));
  return ctx_.strings.Format(message.textId, args);
}

void FirmwarePage::OnDownloadFirmware() {
  if (IsBusy()) return;
  const FirmwareMessage check = update_->Check();
  if (check.IsError()) {
    ShowStop(MessageText(check));
    return;
  }
  PortSelection selection = ctx_.link.GetPortSelection();
  // A wrong file or port can leave the logger unable to start: ask, naming both.
  const QString shown = portNamer_ ? portNamer_(selection.portName) : QString::fromStdString(selection.portName);
  if (!AskYesNo(this, ctx_.strings, MessageText(update_->Confirmation(shown.toStdString())), "firmwareQuestion")) {
    update_->DropImageCopy();
    return;
  }
  if (resolver_) selection.portName = resolver_(selection.portName);

  // Statuses and progress come from the worker: they reach the widgets by queued calls.
  FirmwareCallbacks callbacks;
  callbacks.status = [this](int id) { JobRunner::Post(this, [this, id] { SetStatus(id); }); };
  callbacks.progress = [this](int percent) { JobRunner::Post(this, [this, percent] { ShowProgress(percent); }); };
  SetControlsEnabled(false);
  update_->Prepare(selection, callbacks);
  auto outcome = std::make_shared<FirmwareOutcome>(FirmwareOutcome::DownloadFailed);
  FirmwareUpdate* update = update_.get();
  const bool started = runner_->Start([update, callbacks, outcome] { *outcome = update->Run(callbacks); },
                                      [this, outcome] {
                                        SetControlsEnabled(true);
                                        emit updateFinished(*outcome == FirmwareOutcome::Updated);
                                      });
  if (!started) SetControlsEnabled(true);
}

}  // namespace kavro::gui
