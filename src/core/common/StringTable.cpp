#include "common/StringTable.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <iterator>

#include "common/Texts.h"

namespace kavro {
namespace {

struct Source {
  const char* english;
  const char* idText;
};
struct Entry {
  int id;
  Source source;
};

constexpr const char* kContext = "Kavro";

// The id goes to Qt Linguist as the disambiguation, so equal English texts with different
// ids can be translated apart.
constexpr Entry kEntries[] = {
#define KAVRO_TEXT(name, id, english) {id, {english, #id}},
#include "common/Texts.def"
#undef KAVRO_TEXT
};

constexpr bool IdsAreUnique() {
  for (std::size_t i = 0; i < std::size(kEntries); ++i)
    for (std::size_t j = i + 1; j < std::size(kEntries); ++j)
      if (kEntries[i].id == kEntries[j].id) return false;
  return true;
}
static_assert(IdsAreUnique(), "two texts in Texts.def share an id");

const Entry* Find(int id) {
  const auto* it = std::find_if(std::begin(kEntries), std::end(kEntries), [id](const Entry& e) { return e.id == id; });
  return it == std::end(kEntries) ? nullptr : it;
}

}  // namespace

StringTable::StringTable() = default;
StringTable::~StringTable() = default;

void StringTable::SetTranslator(Language language, std::unique_ptr<QTranslator> translator) {
  language_ = language;
  translator_ = std::move(translator);
}

QString StringTable::Text(int id) const {
  const Entry* e = Find(id);
  if (e == nullptr) return QString();
  // "Not EXIF format." is the same fixed text in every language.
  if (translator_ && id != txt::NotExifFormat) {
    QString t = translator_->translate(kContext, e->source.english, e->source.idText);
    if (!t.isEmpty()) return t;
  }
  return QString::fromUtf8(e->source.english);
}

// In one pass: an argument that itself holds "%2" (a file name can) stays as it is, where
// chained QString::arg calls would fill it in with the next argument.
QString StringTable::Format(int id, const std::vector<QString>& args) const {
  const QString t = Text(id);
  QString out;
  out.reserve(t.size());
  for (qsizetype i = 0; i < t.size(); ++i) {
    qsizetype end = i + 1;
    int n = 0;
    while (t[i] == u'%' && end < t.size() && end - i <= 2 && t[end].isDigit()) n = n * 10 + t[end++].digitValue();
    if (n >= 1 && static_cast<std::size_t>(n) <= args.size()) {
      out += args[static_cast<std::size_t>(n - 1)];
      i = end - 1;
    } else {
      out += t[i];
    }
  }
  return out;
}

QString StringTable::Format(const TextMessage& message) const {
  std::vector<QString> args;
  for (const std::string& a : message.args) args.push_back(QString::fromStdString(a));
  return Format(message.textId, args);
}

const char* StringTable::English(int id) {
  const Entry* e = Find(id);
  return e ? e->source.english : nullptr;
}

std::vector<int> StringTable::Ids() {
  std::vector<int> ids;
  for (const Entry& e : kEntries) ids.push_back(e.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

Language LanguageForLocale(const QString& localeName) { return LanguageForLocale(QLocale(localeName)); }

Language LanguageForLocale(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::German:
      return Language::German;
    case QLocale::Chinese: {
      const auto territory = locale.territory();
      if (locale.script() == QLocale::TraditionalChineseScript || territory == QLocale::Taiwan ||
          territory == QLocale::HongKong || territory == QLocale::Macau)
        return Language::ChineseTraditional;
      return Language::ChineseSimplified;
    }
    default:
      return Language::English;
  }
}

}  // namespace kavro
