// The text list (Texts.def) against the translation files: every text has a finished
// translation in every language, and no translation is left for a text that is gone or changed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <cstdlib>
#include <map>
#include <set>

#include "common/StringTable.h"
#include "common/Texts.h"

namespace kavro {
namespace {

struct TsMessage {
  QString source;
  bool finished = false;
};

// id -> message of one .ts file; the id is the message's <comment>.
std::map<int, TsMessage> ReadTs(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  std::map<int, TsMessage> messages;
  QXmlStreamReader xml(&f);
  TsMessage current;
  int id = -1;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == u"message") {
        current = TsMessage{};
        id = -1;
      } else if (xml.name() == u"source") {
        current.source = xml.readElementText();
      } else if (xml.name() == u"comment") {
        id = xml.readElementText().toInt();
      } else if (xml.name() == u"translation") {
        const QString type = xml.attributes().value(QStringLiteral("type")).toString();
        current.finished = type.isEmpty() && !xml.readElementText().isEmpty();
      }
    } else if (xml.isEndElement() && xml.name() == u"message") {
      EXPECT_EQ(messages.count(id), 0u) << "id " << id << " twice in " << path.toStdString();
      messages[id] = current;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

TEST(StringTableTest, EveryTextHasOneFinishedTranslationPerLanguage) {
  const std::vector<int> ids = StringTable::Ids();
  ASSERT_FALSE(ids.empty());
  for (const char* lang : {"de", "zh_TW", "zh_CN"}) {
    SCOPED_TRACE(lang);
    const auto messages =
        ReadTs(QStringLiteral(KAVRO_TEST_DATA "/../../resources/translations/kavro_%1.ts").arg(QLatin1String(lang)));
    for (int id : ids) {
      const auto it = messages.find(id);
      ASSERT_NE(it, messages.end()) << "no translation of " << id;
      EXPECT_EQ(it->second.source.toStdString(), StringTable::English(id)) << "source text of " << id << " differs";
      EXPECT_TRUE(it->second.finished) << "unfinished translation of " << id;
    }
    for (const auto& [id, message] : messages)
      EXPECT_NE(StringTable::English(id), nullptr) << "translation of unknown id " << id;
  }
}

TEST(StringTableTest, IdsAndEnglishComeFromTheSameList) {
  EXPECT_STREQ(StringTable::English(txt::Connecting), "Connecting to device...");
  EXPECT_STREQ(StringTable::English(txt::SettingsKey), "Software\\Kavro\\T580");
  EXPECT_EQ(StringTable::English(99), nullptr);
  const std::vector<int> ids = StringTable::Ids();
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
  StringTable english;
  EXPECT_EQ(english.Format(txt::PortBusy, {QStringLiteral("/dev/ttyUSB0")}).toStdString(),
            "The port /dev/ttyUSB0 is in use by another program.");
}

// A translation that lacks an id (an older .qm, a text added since) shows the English text
// instead of nothing; the ids it has are translated, each apart from an equal English text.
TEST(StringTableTest, AnIdMissingFromATranslationFallsBackToEnglish) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString ts = dir.filePath(QStringLiteral("partial.ts"));
  const QString qm = dir.filePath(QStringLiteral("partial.qm"));
  QFile f(ts);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Kavro</name>
    <message>
        <source>Connecting to device...</source>
        <comment>)" + QByteArray::number(txt::Connecting) + R"(</comment>
        <translation>Verbinde mit dem Gerät...</translation>
    </message>
</context>
</TS>
)");
  f.close();
  const std::string command = std::string(KAVRO_LRELEASE) + " -silent " + ts.toStdString() + " -qm " + qm.toStdString();
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  auto translator = std::make_unique<QTranslator>();
  ASSERT_TRUE(translator->load(qm));
  StringTable table;
  table.SetTranslator(Language::German, std::move(translator));
  EXPECT_EQ(table.Text(txt::Connecting).toStdString(), "Verbinde mit dem Gerät...");
  EXPECT_EQ(table.Text(txt::PortBusy).toStdString(), StringTable::English(txt::PortBusy));
  EXPECT_EQ(table.Format(txt::PortBusy, {QStringLiteral("/dev/ttyUSB0")}).toStdString(),
            "The port /dev/ttyUSB0 is in use by another program.");
  EXPECT_EQ(table.Format(TextMessage{txt::PortOtherError, {"/dev/x", "I/O error"}}).toStdString(),
            "The port /dev/x cannot be opened: I/O error");
  EXPECT_TRUE(table.Text(99).isEmpty());  // no such id at all
}

TEST(StringTableTest, ArgumentsAreFilledInOnceEvenWhenTheyHoldPlaceholders) {
  const StringTable strings;
  // A file name with "%2" and "%1" in it stays the file's name.
  EXPECT_EQ(strings.Format(txt::NotATrackLog, {QStringLiteral("/tmp/50%2off%1.trl"), QStringLiteral("3%")}),
            QStringLiteral("The file /tmp/50%2off%1.trl is not a track log file: only 3% of its records are valid. "
                           "Nothing was written."));
  EXPECT_EQ(strings.Format(txt::MapNotATrackLog, {QStringLiteral("a.trl"), QStringLiteral("7")}),
            QStringLiteral("The file a.trl is not a track log file: only 7% of its records are valid. It is not "
                           "shown on the map."));
  // Too few arguments: the placeholder stays, as QString::arg leaves it.
  EXPECT_EQ(strings.Format(txt::NotATrackLog, {QStringLiteral("b.trl")}),
            QStringLiteral("The file b.trl is not a track log file: only %2 of its records are valid. Nothing was "
                           "written."));
}

}  // namespace
}  // namespace kavro
