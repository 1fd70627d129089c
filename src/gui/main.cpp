// kavro-utility: the window of the logger utility.
#include <QApplication>
#include <QStyleFactory>

#include "AppContext.h"
#include "MainWindow.h"
#include "Translations.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  kavro::AppContext ctx;
  kavro::LoadSystemLanguage(ctx.strings);
  kavro::gui::MainWindow window(ctx);
  // The window is modal; the process ends when it closes, however it was closed.
  window.exec();
  return 0;
}
