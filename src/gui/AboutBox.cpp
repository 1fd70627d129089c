#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "Images.h"
#include "Version.h"
#include "common/Texts.h"

namespace kavro::gui {

QString AboutBox::VersionText() {
  return QStringLiteral(" %1.%2.%3.%4")
      .arg(kVersionParts[0])
      .arg(kVersionParts[1])
      .arg(kVersionParts[2])
      .arg(kVersionParts[3]);
}

AboutBox::AboutBox(AppContext& ctx, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(ctx.strings.Text(txt::AppTitle));
  auto* icon = new QLabel(this);
  icon->setPixmap(Images::AppIcon().pixmap(48, 48));
  auto* name = new QLabel(this);
  name->setText(ctx.strings.Text(txt::VersionCaption));
  version_ = new QLabel(VersionText(), this);
  version_->setObjectName(QStringLiteral("versionLabel"));
  auto* copyright = new QLabel(ctx.strings.Text(txt::Copyright), this);
  copyright->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ctx.strings.Text(txt::Ok));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(14);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  auto* line = new QHBoxLayout;
  line->setSpacing(0);
  line->addWidget(name);
  line->addWidget(version_);
  line->addStretch();
  grid->addLayout(line, 0, 1);
  grid->addWidget(copyright, 1, 1);
  grid->addWidget(buttons, 2, 0, 1, 2);
  copyright->setMinimumWidth(300);
  grid->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutBox::ShownVersion() const { return version_->text(); }

}  // namespace kavro::gui
