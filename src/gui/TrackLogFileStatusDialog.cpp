#include "TrackLogFileStatusDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "common/Texts.h"

namespace kavro::gui {

TrackLogFileStatusDialog::TrackLogFileStatusDialog(AppContext& ctx, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("trackLogFileStatus"));
  setWindowTitle(ctx.strings.Text(txt::TrackLogFileStatus));
  setModal(false);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("statusList"));
  // Wide enough for a folder and a track file name as the download writes them; longer lines
  // are shortened in the middle, keeping the name's end, and shown whole as a tooltip.
  const int wanted = list_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 110;
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() * 9 / 10 : wanted;
  list_->setMinimumSize(std::min(wanted, room), 220);
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setResizeMode(QListView::Adjust);
  ok_ = new QPushButton(ctx.strings.Text(txt::Ok), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok_);
  auto* root = new QVBoxLayout(this);
  root->addWidget(list_);
  root->addLayout(row);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void TrackLogFileStatusDialog::AddStatusLine(const QString& line) {
  auto* item = new QListWidgetItem(line, list_);
  item->setToolTip(line);
  list_->scrollToBottom();
}

QStringList TrackLogFileStatusDialog::Lines() const {
  QStringList out;
  for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
  return out;
}

void TrackLogFileStatusDialog::SetOkEnabled(bool enabled) { ok_->setEnabled(enabled); }

}  // namespace kavro::gui
