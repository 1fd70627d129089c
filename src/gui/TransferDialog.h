#pragma once
#include <QDialog>
#include <functional>

#include "AppContext.h"
#include "download/LogDownload.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kavro::gui {

// "Transform to File": where the downloaded track log files go, whether a total file is
// written, and the photo folder when the files are to be combined with photos.
class TransferDialog : public QDialog {
  Q_OBJECT
 public:
  TransferDialog(AppContext& ctx, QWidget* parent);

  const TransferChoice& Choice() const { return choice_; }
  // A kept copy of this logger's memory exists: "Read only new data" starts checked.
  void SetKeptCopyAvailable(bool available);
  // The folder browser: returns the chosen folder, or an empty text when the user cancelled.
  // Tests put their own in place of the system's.
  std::function<QString(QWidget* parent, const QString& title)> browse;

 public slots:
  void accept() override;  // refuses without a chosen track log folder

 private:
  void OnBrowseDirectory();
  void OnBrowsePhotos();
  void OnClearAfterToggled(bool on);

  AppContext& ctx_;
  // Where the next folder browser starts (the folder chosen last for that use).
  QString browseStart_;
  TransferChoice choice_;
  QPushButton* dirButton_ = nullptr;
  QLabel* dirLabel_ = nullptr;
  QCheckBox* total_ = nullptr;
  QCheckBox* combine_ = nullptr;
  QPushButton* photoButton_ = nullptr;
  QLabel* photoLabel_ = nullptr;
  QCheckBox* onlyNew_ = nullptr;
  QCheckBox* clearAfter_ = nullptr;
};

}  // namespace kavro::gui
