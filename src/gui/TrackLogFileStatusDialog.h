#pragma once
#include <QDialog>

#include "AppContext.h"

class QListWidget;
class QPushButton;

namespace kavro::gui {

// "Track Log File Status": every file a download wrote, one line each. Modeless; its OK stays
// disabled while the download runs.
class TrackLogFileStatusDialog : public QDialog {
  Q_OBJECT
 public:
  TrackLogFileStatusDialog(AppContext& ctx, QWidget* parent);

  void AddStatusLine(const QString& line);
  QStringList Lines() const;
  void SetOkEnabled(bool enabled);
  QPushButton* OkButton() const { return ok_; }

 private:
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace kavro::gui
