// kavro-utility: the window of the logger utility.
#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include "AppContext.h"
#include "MainWindow.h"
#include "Translations.h"
#include "download/KeptCopy.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // Ties the window to its menu entry, so the desktop shows the entry's name and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kavro.LoggerUtility"));
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/org.kavro.LoggerUtility-%1.png").arg(size));
  }
  QApplication::setWindowIcon(icon);
  kavro::AppContext ctx;
  kavro::LoadSystemLanguage(ctx.strings);
  ctx.keptCopyFolder = kavro::KeptCopyStore::DefaultFolder();
  kavro::gui::MainWindow window(ctx);
  // The window is modal; the process ends when it closes, however it was closed.
  window.exec();
  return 0;
}
