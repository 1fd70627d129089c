#include "TransferDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "YesNoQuestion.h"
#include "common/Texts.h"

namespace kavro::gui {
namespace {

QLabel* PathLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFrameShape(QFrame::StyledPanel);
  l->setFrameShadow(QFrame::Sunken);
  l->setMinimumWidth(320);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

}  // namespace

TransferDialog::TransferDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("transferDialog"));
  setWindowTitle(ctx_.strings.Text(txt::TransformToFile));
  browse = [this](QWidget* owner, const QString& title) {
    return QFileDialog::getExistingDirectory(owner, title, browseStart_, QFileDialog::ShowDirsOnly);
  };

  auto* dirGroup = new QGroupBox(ctx_.strings.Text(txt::SelectDirectory), this);
  auto* savedLabel = new QLabel(ctx_.strings.Text(txt::TrackLogSavedDirectory), dirGroup);
  dirButton_ = new QPushButton(QStringLiteral("..."), dirGroup);
  dirButton_->setObjectName(QStringLiteral("directoryButton"));
  dirButton_->setMaximumWidth(40);
  dirLabel_ = PathLabel(dirGroup, "directoryLabel");
  total_ = new QCheckBox(ctx_.strings.Text(txt::WriteTotalTrackLog), dirGroup);
  total_->setObjectName(QStringLiteral("writeTotalCheck"));
  combine_ = new QCheckBox(ctx_.strings.Text(txt::CombineJpeg), dirGroup);
  combine_->setObjectName(QStringLiteral("combineJpegCheck"));
  photoButton_ = new QPushButton(QStringLiteral("..."), dirGroup);
  photoButton_->setObjectName(QStringLiteral("photoButton"));
  photoButton_->setMaximumWidth(40);
  photoLabel_ = PathLabel(dirGroup, "photoLabel");
  onlyNew_ = new QCheckBox(ctx_.strings.Text(txt::ReadOnlyNewData), dirGroup);
  onlyNew_->setObjectName(QStringLiteral("readOnlyNewCheck"));
  clearAfter_ = new QCheckBox(ctx_.strings.Text(txt::ClearAfterDownload), dirGroup);
  clearAfter_->setObjectName(QStringLiteral("clearAfterCheck"));
  // Without a kept copy there is nothing to take; the box says so until one exists.
  choice_.readOnlyNew = false;

  auto* grid = new QGridLayout(dirGroup);
  grid->addWidget(savedLabel, 0, 0, 1, 2);
  grid->addWidget(dirLabel_, 1, 0);
  grid->addWidget(dirButton_, 1, 1);
  grid->addWidget(total_, 2, 0, 1, 2);
  grid->addWidget(combine_, 3, 0, 1, 2);
  grid->addWidget(photoLabel_, 4, 0);
  grid->addWidget(photoButton_, 4, 1);
  grid->addWidget(onlyNew_, 5, 0, 1, 2);
  grid->addWidget(clearAfter_, 6, 0, 1, 2);
  AddWeekFixOption(dirGroup, grid, 7);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ctx_.strings.Text(txt::Ok));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
  buttons->button(QDialogButtonBox::Cancel)->setText(ctx_.strings.Text(txt::Cancel));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
  auto* root = new QVBoxLayout(this);
  root->addWidget(dirGroup);
  root->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &TransferDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TransferDialog::reject);
  connect(dirButton_, &QPushButton::clicked, this, &TransferDialog::OnBrowseDirectory);
  connect(photoButton_, &QPushButton::clicked, this, &TransferDialog::OnBrowsePhotos);
  connect(total_, &QCheckBox::toggled, this, [this](bool on) { choice_.writeTotal = on; });
  connect(onlyNew_, &QCheckBox::toggled, this, [this](bool on) { choice_.readOnlyNew = on; });
  connect(clearAfter_, &QCheckBox::toggled, this, &TransferDialog::OnClearAfterToggled);
  connect(combine_, &QCheckBox::toggled, this, [this](bool on) {
    // Unchecked: no photos, whatever folder was chosen before.
    if (!on) choice_.combinePhotos = false;
  });
}

void TransferDialog::AddWeekFixOption(QWidget* group, QGridLayout* grid, int row) {
  weekFix_ = new QCheckBox(ctx_.strings.Text(txt::CorrectWeekRollover), group);
  weekFix_->setObjectName(QStringLiteral("weekFixCheck"));
  choice_.weekFix = ctx_.downloadWeekFix;
  weekFix_->setChecked(choice_.weekFix);
  grid->addWidget(weekFix_, row, 0, 1, 2);
  connect(weekFix_, &QCheckBox::toggled, this, [this](bool on) { choice_.weekFix = on; });
}

void TransferDialog::SetKeptCopyAvailable(bool available) { onlyNew_->setChecked(available); }

void TransferDialog::OnClearAfterToggled(bool on) {
  // The erase cannot be undone: asked when it is chosen, so the download need not wait for it.
  if (on && !AskYesNo(this, ctx_.strings, ctx_.strings.Text(txt::ClearConfirm), "clearAfterQuestion")) {
    const QSignalBlocker quiet(clearAfter_);
    clearAfter_->setChecked(false);
    on = false;
  }
  choice_.clearAfter = on;
}

void TransferDialog::OnBrowseDirectory() {
  // A browse that is cancelled leaves no choice, even while the label still shows an earlier one.
  choice_.directoryChosen = false;
  browseStart_ = QString::fromStdString(ctx_.folders.StartFor(FolderUse::TrackFiles).string());
  const QString dir = browse(this, ctx_.strings.Text(txt::SelectDirectory));
  if (dir.isEmpty()) return;
  ctx_.folders.RememberFolder(FolderUse::TrackFiles, dir.toStdString());
  choice_.directory = dir.toStdString();
  choice_.directoryChosen = true;
  dirLabel_->setText(dir);
}

void TransferDialog::OnBrowsePhotos() {
  choice_.combinePhotos = false;
  if (!combine_->isChecked()) return;
  browseStart_ = QString::fromStdString(ctx_.folders.StartFor(FolderUse::Photos).string());
  const QString dir = browse(this, ctx_.strings.Text(txt::SelectPhotoDirectory));
  if (dir.isEmpty()) return;
  ctx_.folders.RememberFolder(FolderUse::Photos, dir.toStdString());
  choice_.photoDirectory = dir.toStdString();
  choice_.combinePhotos = true;
  photoLabel_->setText(dir);
}

void TransferDialog::accept() {
  if (!choice_.directoryChosen) {
    QMessageBox box(QMessageBox::Critical, ctx_.strings.Text(txt::AppTitle), ctx_.strings.Text(txt::SelectTrackLogDirectory),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("selectDirectoryMessage"));
    box.button(QMessageBox::Ok)->setText(ctx_.strings.Text(txt::Ok));
    box.exec();
    return;
  }
  ctx_.downloadWeekFix = choice_.weekFix;
  QDialog::accept();
}

}  // namespace kavro::gui
