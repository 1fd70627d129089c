// kavro-utility: the window of the logger utility.
#include <QApplication>

#include "AppContext.h"
#include "Translations.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kavro::AppContext ctx;
  kavro::LoadSystemLanguage(ctx.strings);
  return 0;
}
