#pragma once
#include <QLocale>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "common/TextMessage.h"

class QTranslator;

namespace kavro {

// Language ids of the four string tables.
enum class Language { English = 1033, German = 1031, ChineseTraditional = 1028, ChineseSimplified = 2052 };

// The string table: every visible text by id, in the chosen language. English is the source
// text; a translation that lacks an id falls back to English. Thread-safe for lookups once set up.
class StringTable {
 public:
  StringTable();
  ~StringTable();
  StringTable(const StringTable&) = delete;
  StringTable& operator=(const StringTable&) = delete;

  // Takes over a loaded translator (nullptr: English).
  void SetTranslator(Language language, std::unique_ptr<QTranslator> translator);
  Language CurrentLanguage() const { return language_; }

  QString Text(int id) const;
  std::string Utf8(int id) const { return Text(id).toStdString(); }
  // Text(id) with %1, %2, ... replaced by the arguments.
  QString Format(int id, const std::vector<QString>& args) const;
  QString Format(const TextMessage& message) const;

  // The English text of an id, or nullptr when the id is unknown.
  static const char* English(int id);
  // Every id the table knows, in ascending order.
  static std::vector<int> Ids();

 private:
  Language language_ = Language::English;
  std::unique_ptr<QTranslator> translator_;
};

// The language for a system locale: German, Chinese of Taiwan/Hong Kong/Macau or in the
// traditional script, other Chinese; everything else is English. The locale itself, not its
// name(): the name drops the script ("zh_Hant_SG" becomes "zh_SG").
Language LanguageForLocale(const QLocale& locale);
Language LanguageForLocale(const QString& localeName);

}  // namespace kavro
