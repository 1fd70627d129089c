#pragma once
#include <QWidget>

#include "AppContext.h"

namespace kavro::gui {

// The main window's Apply All (and OK) and Default All reach every tabbed page as a page command.
enum class PageCommand { Apply, Default };

// A page of the main window's tab control.
class Page : public QWidget {
  Q_OBJECT
 public:
  Page(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {}

  virtual void OnPageCommand(PageCommand) {}
  // Called after a successful connect, so the page can take over the logger's values.
  virtual void RefreshFromDevice() {}
  // A page that is busy refuses the window's close request.
  virtual bool IsBusy() const { return false; }

 signals:
  // A page that runs a job on a worker reports its start and end, so the window can wait.
  void busyChanged(bool busy);

 protected:
  QString Text(int id) const { return ctx_.strings.Text(id); }
  // Where a file dialog of that use starts, and what a choice teaches it.
  QString StartFolder(FolderUse use) const { return QString::fromStdString(ctx_.folders.StartFor(use).string()); }
  void RememberFile(FolderUse use, const QString& file) { ctx_.folders.RememberFile(use, file.toStdString()); }
  AppContext& ctx_;
};

}  // namespace kavro::gui
