#include "Translations.h"

#include <QLocale>
#include <QTranslator>

namespace kavro {

bool LoadLanguage(StringTable& table, Language language) {
  const char* file = nullptr;
  switch (language) {
    case Language::German: file = ":/i18n/kavro_de.qm"; break;
    case Language::ChineseTraditional: file = ":/i18n/kavro_zh_TW.qm"; break;
    case Language::ChineseSimplified: file = ":/i18n/kavro_zh_CN.qm"; break;
    case Language::English: table.SetTranslator(Language::English, nullptr); return true;
  }
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QString::fromLatin1(file))) {
    table.SetTranslator(Language::English, nullptr);
    return false;
  }
  table.SetTranslator(language, std::move(translator));
  return true;
}

Language LoadSystemLanguage(StringTable& table) {
  const Language language = LanguageForLocale(QLocale::system());
  LoadLanguage(table, language);
  return table.CurrentLanguage();
}

}  // namespace kavro
