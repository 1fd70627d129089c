// The one line per file of the status list, the conversion message and the command line.
#include <gtest/gtest.h>

#include "Translations.h"
#include "common/FileReport.h"
#include "common/Texts.h"

namespace kavro {
namespace {

TEST(FileReport, WrittenFilesAndFailuresInTheUsersLanguage) {
  StringTable english;
  const FileReport ok{txt::CreateFileOk, "/logs/Logger1_20080315.trl", {}};
  const FileReport failed{txt::CreateFileFailed, "/logs/北京.kml", "No space left on device"};
  EXPECT_TRUE(ok.Written());
  EXPECT_FALSE(failed.Written());
  EXPECT_EQ(FileReportLine(english, ok).toStdString(), "Create File OK /logs/Logger1_20080315.trl");
  EXPECT_EQ(FileReportLine(english, failed).toStdString(), "Create File Failed /logs/北京.kml: No space left on device");
  EXPECT_EQ(FileReportLine(english, {txt::OutputWriteFailed, "/t.gpx", "Read-only file system"}).toStdString(),
            "The file /t.gpx could not be written completely and was not saved: Read-only file system");
  StringTable german;
  ASSERT_TRUE(LoadLanguage(german, Language::German));
  EXPECT_EQ(FileReportLine(german, ok), german.Text(txt::CreateFileOk) + QStringLiteral(" /logs/Logger1_20080315.trl"));
  EXPECT_NE(german.Text(txt::CreateFileOk), english.Text(txt::CreateFileOk));
  EXPECT_TRUE(FileReportLine(german, failed).contains(QStringLiteral("/logs/北京.kml")));
  EXPECT_TRUE(FileReportLine(german, failed).endsWith(QStringLiteral("No space left on device")));
}

}  // namespace
}  // namespace kavro
