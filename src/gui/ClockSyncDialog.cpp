#include "ClockSyncDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Texts.h"

namespace kavro::gui {

ClockSyncDialog::ClockSyncDialog(AppContext& ctx, const ZoneClock& zone, bool ignorePhotoZone, QWidget* parent)
    : QDialog(parent), ctx_(ctx), zone_(zone), ignorePhotoZone_(ignorePhotoZone) {
  const StringTable& words = ctx_.strings;
  setWindowTitle(words.Text(txt::SyncDialogTitle));
  setObjectName(QStringLiteral("clockSync"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  AddPhotoRow(grid, 0);
  second_ = new QCheckBox(words.Text(txt::SyncSecondPhoto), this);
  second_->setObjectName(QStringLiteral("syncSecondPhoto"));
  grid->addWidget(second_, 2, 0, 1, 3);
  AddPhotoRow(grid, 1);
  layout->addLayout(grid);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("syncProblem"));
  problem_->setWordWrap(true);
  problem_->hide();
  layout->addWidget(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(words.Text(txt::Ok));
  buttons->button(QDialogButtonBox::Cancel)->setText(words.Text(txt::Cancel));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(second_, &QCheckBox::toggled, this, &ClockSyncDialog::ShowSecond);
  ShowSecond(false);
}

// Rows 0-1 hold the first photo and its time, rows 3-4 the second.
void ClockSyncDialog::AddPhotoRow(QGridLayout* grid, int i) {
  const StringTable& words = ctx_.strings;
  const int row = i == 0 ? 0 : 3;
  labels_[2 * i] = new QLabel(words.Text(txt::SyncPhotoLabel), this);
  photos_[i] = new QLineEdit(this);
  photos_[i]->setObjectName(QStringLiteral("syncPhoto%1").arg(i + 1));
  photos_[i]->setMinimumWidth(320);
  choose_[i] = new QPushButton(QStringLiteral("..."), this);
  choose_[i]->setObjectName(QStringLiteral("syncChoose%1").arg(i + 1));
  labels_[2 * i + 1] = new QLabel(words.Text(txt::SyncTimeLabel), this);
  times_[i] = new QLineEdit(this);
  times_[i]->setObjectName(QStringLiteral("syncTime%1").arg(i + 1));
  times_[i]->setPlaceholderText(QStringLiteral("HH:MM:SS"));
  times_[i]->setMaxLength(8);
  grid->addWidget(labels_[2 * i], row, 0);
  grid->addWidget(photos_[i], row, 1);
  grid->addWidget(choose_[i], row, 2);
  grid->addWidget(labels_[2 * i + 1], row + 1, 0);
  grid->addWidget(times_[i], row + 1, 1);
  connect(choose_[i], &QPushButton::clicked, this, [this, i] { ChoosePhoto(i); });
}

void ClockSyncDialog::ChoosePhoto(int i) {
  const QString path = chooser_ ? chooser_()
                                : QFileDialog::getOpenFileName(this, ctx_.strings.Text(txt::SyncPhotoLabel),
                                                               QString::fromStdString(
                                                                   ctx_.folders.StartFor(FolderUse::Photos).string()));
  if (!path.isEmpty()) photos_[i]->setText(path);
}

void ClockSyncDialog::ShowSecond(bool on) {
  for (QWidget* w : {static_cast<QWidget*>(labels_[2]), static_cast<QWidget*>(labels_[3]),
                     static_cast<QWidget*>(photos_[1]), static_cast<QWidget*>(times_[1]),
                     static_cast<QWidget*>(choose_[1])})
    w->setVisible(on);
}

void ClockSyncDialog::accept() {
  const StringTable& words = ctx_.strings;
  std::vector<ClockPhoto> photos;
  const int count = second_->isChecked() ? 2 : 1;
  for (int i = 0; i < count; ++i) {
    const QString reading = times_[i]->text().trimmed();
    const std::optional<int> seconds = ParseClockReading(reading.toStdString().c_str());
    if (!seconds) {
      result_ = ClockSync{};
      result_.message = words.Format(txt::SyncBadReading, {reading}).toStdString();
      break;
    }
    photos.push_back({photos_[i]->text().trimmed().toStdString(), *seconds});
  }
  if (static_cast<int>(photos.size()) == count) result_ = SyncCameraClock(words, photos, zone_, ignorePhotoZone_);
  if (!result_.ok) {
    problem_->setText(QString::fromStdString(result_.message));
    problem_->show();
    return;
  }
  QDialog::accept();
}

}  // namespace kavro::gui
