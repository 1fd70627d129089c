#include "TrackLogFileStatusDialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Texts.h"

namespace kavro::gui {

TrackLogFileStatusDialog::TrackLogFileStatusDialog(AppContext& ctx, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("trackLogFileStatus"));
  setWindowTitle(ctx.strings.Text(txt::TrackLogFileStatus));
  setModal(false);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("statusList"));
  list_->setMinimumSize(560, 220);
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
  list_->addItem(line);
  list_->scrollToBottom();
}

QStringList TrackLogFileStatusDialog::Lines() const {
  QStringList out;
  for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
  return out;
}

void TrackLogFileStatusDialog::SetOkEnabled(bool enabled) { ok_->setEnabled(enabled); }

}  // namespace kavro::gui
