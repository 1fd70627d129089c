#pragma once
#include <QDialog>

#include "AppContext.h"

class QLabel;

namespace kavro::gui {

// The About box: program name, copyright and the build's four-part version.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  AboutBox(AppContext& ctx, QWidget* parent);
  // " 1.0.0.1": a space, then the version parts most significant first.
  static QString VersionText();
  QString ShownVersion() const;

 private:
  QLabel* version_ = nullptr;
};

}  // namespace kavro::gui
