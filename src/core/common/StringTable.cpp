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
// ids can be translated apart. New entries: keep the id in both places.

const Entry kEntries[] = {
    {101, QT_TRANSLATE_NOOP3("Kavro", "&About Kavro Logger Utility...", "101")},
    {108, QT_TRANSLATE_NOOP3("Kavro", "Track Log (*.trl)|*.trl|", "108")},
    {111, QT_TRANSLATE_NOOP3("Kavro", "Track Log (*.kml)|*.kml|", "111")},
    {112, QT_TRANSLATE_NOOP3("Kavro", "Software\\Kavro\\T580", "112")},
    {300, QT_TRANSLATE_NOOP3("Kavro", "Kavro Logger Utility", "300")},
    {301, QT_TRANSLATE_NOOP3("Kavro", "OK", "301")},
    {302, QT_TRANSLATE_NOOP3("Kavro", "Cancel", "302")},
    {303, QT_TRANSLATE_NOOP3("Kavro", "Apply All", "303")},
    {304, QT_TRANSLATE_NOOP3("Kavro", "Default All", "304")},
    {305, QT_TRANSLATE_NOOP3("Kavro", "Device Setting", "305")},
    {306, QT_TRANSLATE_NOOP3("Kavro", "COM Port", "306")},
    {307, QT_TRANSLATE_NOOP3("Kavro", "Connect", "307")},
    {308, QT_TRANSLATE_NOOP3("Kavro", "Disconnect", "308")},
    {309, QT_TRANSLATE_NOOP3("Kavro", "Connect Status Message", "309")},
    {310, QT_TRANSLATE_NOOP3("Kavro", "Connecting to device...", "310")},
    {311, QT_TRANSLATE_NOOP3("Kavro", "Device Connected!", "311")},
    {312, QT_TRANSLATE_NOOP3("Kavro", "Failed connecting to device!", "312")},
    {313, QT_TRANSLATE_NOOP3("Kavro", "Disconnecting device...", "313")},
    {314, QT_TRANSLATE_NOOP3("Kavro", "Device Disconnected!", "314")},
    {315, QT_TRANSLATE_NOOP3("Kavro", "Timeout. Device Disconnected!", "315")},
    {316, QT_TRANSLATE_NOOP3("Kavro", "Connect Status", "316")},
    {317, QT_TRANSLATE_NOOP3("Kavro", "Device Information", "317")},
    {318, QT_TRANSLATE_NOOP3("Kavro", "Device Type", "318")},
    {320, QT_TRANSLATE_NOOP3("Kavro", "[FW] [HW] Version", "320")},
    {321, QT_TRANSLATE_NOOP3("Kavro", "Memory Usage", "321")},
    {322, QT_TRANSLATE_NOOP3("Kavro", "User Name", "322")},
    {323, QT_TRANSLATE_NOOP3("Kavro", "Write Name", "323")},
    {324, QT_TRANSLATE_NOOP3("Kavro", "Track Log Setting", "324")},
    {325, QT_TRANSLATE_NOOP3("Kavro", "Overwrite", "325")},
    {326, QT_TRANSLATE_NOOP3("Kavro", "Full and Stop", "326")},
    {327, QT_TRANSLATE_NOOP3("Kavro", "Second", "327")},
    {328, QT_TRANSLATE_NOOP3("Kavro", "sec.", "328")},
    {329, QT_TRANSLATE_NOOP3("Kavro", "Distance", "329")},
    {330, QT_TRANSLATE_NOOP3("Kavro", "meter", "330")},
    {331, QT_TRANSLATE_NOOP3("Kavro", "Read Status Message", "331")},
    {335, QT_TRANSLATE_NOOP3("Kavro", "Updating Second Settings...", "335")},
    {336, QT_TRANSLATE_NOOP3("Kavro", "Updating Distance Settings...", "336")},
    {337, QT_TRANSLATE_NOOP3("Kavro", "Updating Settings Successfully!", "337")},
    {338, QT_TRANSLATE_NOOP3("Kavro", "Upload/Clear Status Message", "338")},
    {339, QT_TRANSLATE_NOOP3("Kavro", "Start Uploading...", "339")},
    {340, QT_TRANSLATE_NOOP3("Kavro", "Upload Succeed!", "340")},
    {341, QT_TRANSLATE_NOOP3("Kavro", "Start Clearing...", "341")},
    {342, QT_TRANSLATE_NOOP3("Kavro", "Clear Succeed!", "342")},
    {343, QT_TRANSLATE_NOOP3("Kavro", "Upload Device Track Log Data to PC", "343")},
    {344, QT_TRANSLATE_NOOP3("Kavro", "Clear Device Track Log Data", "344")},
    {345, QT_TRANSLATE_NOOP3("Kavro", "Upload", "345")},
    {346, QT_TRANSLATE_NOOP3("Kavro", "Clear", "346")},
    {347, QT_TRANSLATE_NOOP3("Kavro", "Transform to File", "347")},
    {348, QT_TRANSLATE_NOOP3("Kavro", "Please select the directory", "348")},
    {349, QT_TRANSLATE_NOOP3("Kavro", "Track Log File Saved Directory", "349")},
    {350, QT_TRANSLATE_NOOP3("Kavro", "Combine JPEG File", "350")},
    {351, QT_TRANSLATE_NOOP3("Kavro", "Write Total Track Log", "351")},
    {352, QT_TRANSLATE_NOOP3("Kavro", "Track Log Format", "352")},
    {353, QT_TRANSLATE_NOOP3("Kavro", "Track Log File Format Conversion", "353")},
    {354, QT_TRANSLATE_NOOP3("Kavro", "Source File(*.trl):", "354")},
    {355, QT_TRANSLATE_NOOP3("Kavro", "Time Zone(UTC+-):", "355")},
    {356, QT_TRANSLATE_NOOP3("Kavro", "Output Format:", "356")},
    {357, QT_TRANSLATE_NOOP3("Kavro", "Convert Format:", "357")},
    {358, QT_TRANSLATE_NOOP3("Kavro", "Convert", "358")},
    {359, QT_TRANSLATE_NOOP3("Kavro", "Convert Status Message", "359")},
    {360, QT_TRANSLATE_NOOP3("Kavro", "Converting...", "360")},
    {361, QT_TRANSLATE_NOOP3("Kavro", "Convert Successfully!", "361")},
    {362, QT_TRANSLATE_NOOP3("Kavro", "Track Log Photo", "362")},
    {363, QT_TRANSLATE_NOOP3("Kavro", "Combine Photo Link in Track Log", "363")},
    {364, QT_TRANSLATE_NOOP3("Kavro", "JPEG(*.jpg) Photo Directory:", "364")},
    {365, QT_TRANSLATE_NOOP3("Kavro", "Photo Combine Setting", "365")},
    {366, QT_TRANSLATE_NOOP3("Kavro", "Photo Parsed", "366")},
    {367, QT_TRANSLATE_NOOP3("Kavro", "Pass:", "367")},
    {368, QT_TRANSLATE_NOOP3("Kavro", "Error:", "368")},
    {369, QT_TRANSLATE_NOOP3("Kavro", "Photo Combined", "369")},
    {370, QT_TRANSLATE_NOOP3("Kavro", "Failed:", "370")},
    {371, QT_TRANSLATE_NOOP3("Kavro", "Time Zone For Photos(UTC+-):", "371")},
    {372, QT_TRANSLATE_NOOP3("Kavro", "Calibrate Time(Speed up(+) or slow down(-) your camera time to equal to device showing time):", "372")},
    {373, QT_TRANSLATE_NOOP3("Kavro", "Day", "373")},
    {374, QT_TRANSLATE_NOOP3("Kavro", "Hour", "374")},
    {375, QT_TRANSLATE_NOOP3("Kavro", "Min.", "375")},
    {376, QT_TRANSLATE_NOOP3("Kavro", "Sec.", "376")},
    {377, QT_TRANSLATE_NOOP3("Kavro", "Track Log Processing", "377")},
    {378, QT_TRANSLATE_NOOP3("Kavro", "Record Style", "378")},
    {379, QT_TRANSLATE_NOOP3("Kavro", "Updating Record Style Settings...", "379")},
    {380, QT_TRANSLATE_NOOP3("Kavro", "Please select Kavro track log source file(*.trl).", "380")},
    {381, QT_TRANSLATE_NOOP3("Kavro", "Please select photo directory.", "381")},
    {382, QT_TRANSLATE_NOOP3("Kavro", "Track Log File Status", "382")},
    {383, QT_TRANSLATE_NOOP3("Kavro", "Create File OK", "383")},
    {384, QT_TRANSLATE_NOOP3("Kavro", "Device not connected!", "384")},
    {385, QT_TRANSLATE_NOOP3("Kavro", "Copyright (C) 2026 Kavro. All rights reserved.", "385")},
    {386, QT_TRANSLATE_NOOP3("Kavro", "KavroUtility Version", "386")},
    {387, QT_TRANSLATE_NOOP3("Kavro", "No found photo taken date time.", "387")},
    {388, QT_TRANSLATE_NOOP3("Kavro", "Photo taken date time format error.", "388")},
    {389, QT_TRANSLATE_NOOP3("Kavro", "No mapping any track log point.", "389")},
    {390, QT_TRANSLATE_NOOP3("Kavro", "UserName is not Correct!! It can't contain any of these characters: * (space) . \\ : / \" ? < > |", "390")},
    {391, QT_TRANSLATE_NOOP3("Kavro", "Please select track log file directory.", "391")},
    {392, QT_TRANSLATE_NOOP3("Kavro", "Transmission interrupt !", "392")},
    {393, QT_TRANSLATE_NOOP3("Kavro", "A photo is discarded when:", "393")},
    {394, QT_TRANSLATE_NOOP3("Kavro", "It was taken earlier than the first or later than the last track log point.", "394")},
    {395, QT_TRANSLATE_NOOP3("Kavro", "It was taken between two track log points that are more than 2 minutes apart.", "395")},
    {396, QT_TRANSLATE_NOOP3("Kavro", "ft", "396")},
    {397, QT_TRANSLATE_NOOP3("Kavro", "Auto Detect", "397")},
    {398, QT_TRANSLATE_NOOP3("Kavro", "Write Track Log Record in Photo", "398")},
    {399, QT_TRANSLATE_NOOP3("Kavro", "Write track log record in photo.(System creates new photo file: *_GPS.jpg)", "399")},
    {400, QT_TRANSLATE_NOOP3("Kavro", "Download and Update Firmware", "400")},
    {401, QT_TRANSLATE_NOOP3("Kavro", "[Warning] Download and update firmware is the very dangerous operation, it may destroy the device system if careless. Please make sure the firmware file format and content is correct before downloading ,and please don't disconnect cable from device or PC site.", "401")},
    {402, QT_TRANSLATE_NOOP3("Kavro", "Update Firmware File(*.bin):", "402")},
    {403, QT_TRANSLATE_NOOP3("Kavro", "Download and Update", "403")},
    {404, QT_TRANSLATE_NOOP3("Kavro", "Download and Update Status", "404")},
    {405, QT_TRANSLATE_NOOP3("Kavro", "Initialize Download...", "405")},
    {406, QT_TRANSLATE_NOOP3("Kavro", "Initialize Download Agent(DA)...", "406")},
    {407, QT_TRANSLATE_NOOP3("Kavro", "Download Download Agent(DA)...", "407")},
    {408, QT_TRANSLATE_NOOP3("Kavro", "Initialize Download Firmware...", "408")},
    {409, QT_TRANSLATE_NOOP3("Kavro", "Download and Update Firmware...", "409")},
    {410, QT_TRANSLATE_NOOP3("Kavro", "Process Finish Procedure...", "410")},
    {411, QT_TRANSLATE_NOOP3("Kavro", "Download and Update Successfully", "411")},
    {412, QT_TRANSLATE_NOOP3("Kavro", "Please select firmware file(*.bin)", "412")},
    {413, QT_TRANSLATE_NOOP3("Kavro", "Open COM Port failed! Please select correct COM Port and then download again.", "413")},
    {414, QT_TRANSLATE_NOOP3("Kavro", "No support this camera photo EXIF format, and can't write track log record into this photo.", "414")},
    {415, QT_TRANSLATE_NOOP3("Kavro", "The firmware file content is wrong, please select correct firmware file and then download again.", "415")},
    {416, QT_TRANSLATE_NOOP3("Kavro", "User name is not correct! (Allow only ASCII English alphabet and symbol)", "416")},

    // serial / protocol
    {500, QT_TRANSLATE_NOOP3("Kavro", "The port %1 does not exist.", "500")},
    {501, QT_TRANSLATE_NOOP3("Kavro", "The port %1 is in use by another program.", "501")},
    {502, QT_TRANSLATE_NOOP3("Kavro", "No permission to open %1: the user must be in the \"dialout\" group.", "502")},
    {503, QT_TRANSLATE_NOOP3("Kavro", "The port %1 cannot be opened: %2", "503")},
    {504, QT_TRANSLATE_NOOP3("Kavro", "Connection to Device Failed", "504")},
    {505, QT_TRANSLATE_NOOP3("Kavro", "Not EXIF format.", "505")},
    {506, QT_TRANSLATE_NOOP3("Kavro", "Simulated T-580", "506")},
    {507, QT_TRANSLATE_NOOP3("Kavro", "Clear Failed! No Device Connected! ", "507")},
    {508, QT_TRANSLATE_NOOP3("Kavro", "read Address: Timeout!", "508")},
    {509, QT_TRANSLATE_NOOP3("Kavro", "No device available", "509")},
    {510, QT_TRANSLATE_NOOP3("Kavro", "User name is too long: at most 16 characters.", "510")},
    {520, QT_TRANSLATE_NOOP3("Kavro", "Time interval", "520")},
    {521, QT_TRANSLATE_NOOP3("Kavro", "Distance interval", "521")},
    {522, QT_TRANSLATE_NOOP3("Kavro", "Record mode", "522")},
    {523, QT_TRANSLATE_NOOP3("Kavro", "Write position", "523")},
    {524, QT_TRANSLATE_NOOP3("Kavro", "Memory wrapped", "524")},
    {525, QT_TRANSLATE_NOOP3("Kavro", "Recording basis", "525")},
    {526, QT_TRANSLATE_NOOP3("Kavro", "Time zone", "526")},
    {527, QT_TRANSLATE_NOOP3("Kavro", "Distance unit", "527")},
    {528, QT_TRANSLATE_NOOP3("Kavro", "not read", "528")},
    {529, QT_TRANSLATE_NOOP3("Kavro", "yes", "529")},
    {530, QT_TRANSLATE_NOOP3("Kavro", "no", "530")},
    {531, QT_TRANSLATE_NOOP3("Kavro", "%1 tenths of a second", "531")},
    {532, QT_TRANSLATE_NOOP3("Kavro", "%1 tenths of a metre", "532")},
    {533, QT_TRANSLATE_NOOP3("Kavro", "%1 free records", "533")},
    {534, QT_TRANSLATE_NOOP3("Kavro", "CP210x bridge", "534")},
    {535, QT_TRANSLATE_NOOP3("Kavro", "Prolific bridge", "535")},
    {536, QT_TRANSLATE_NOOP3("Kavro", "No serial port was found.", "536")},
    {537, QT_TRANSLATE_NOOP3("Kavro", "The simulated logger cannot be started: %1", "537")},
    {538, QT_TRANSLATE_NOOP3("Kavro", "%1 %2 is not in the list; choose one of: %3", "538")},
    {539, QT_TRANSLATE_NOOP3("Kavro", "The logger has 3 or fewer free records: its recording settings cannot be changed.", "539")},
    {540, QT_TRANSLATE_NOOP3("Kavro", "Name the logger's port with --port PATH, or use --simulate[=SCENARIO].", "540")},
    {541, QT_TRANSLATE_NOOP3("Kavro", "Unknown scenario \"%1\"; choose one of: %2", "541")},
    {542, QT_TRANSLATE_NOOP3("Kavro", "User name sent to the logger: %1", "542")},
    {543, QT_TRANSLATE_NOOP3("Kavro", "The logger stopped answering on %1.", "543")},

    // gui (550-599)

    // track and convert (600-649)
    {600, QT_TRANSLATE_NOOP3("Kavro", "Create File Failed %1: %2", "600")},
    {601, QT_TRANSLATE_NOOP3("Kavro", "The file %1 cannot be opened: %2", "601")},
    {602, QT_TRANSLATE_NOOP3("Kavro", "The file %1 cannot be created: %2", "602")},
    {603, QT_TRANSLATE_NOOP3("Kavro", "The file %1 could not be written completely and was not saved: %2", "603")},
    {604, QT_TRANSLATE_NOOP3("Kavro", "The file %1 holds %2 bytes; a log memory image holds exactly %3 bytes.", "604")},
    {605, QT_TRANSLATE_NOOP3("Kavro", "Text(*.txt)", "605")},
    {606, QT_TRANSLATE_NOOP3("Kavro", "Google Earth(*.kml)", "606")},
    {607, QT_TRANSLATE_NOOP3("Kavro", "NMEA(*.txt)", "607")},
    {608, QT_TRANSLATE_NOOP3("Kavro", "GPX(*.gpx)", "608")},
    {609, QT_TRANSLATE_NOOP3("Kavro", "Unknown time zone \"%1\". Use a label of the table, for example +08:00, -03:30 or 00:00.", "609")},
    {610, QT_TRANSLATE_NOOP3("Kavro", "Convert Failed!", "610")},
    {611, QT_TRANSLATE_NOOP3("Kavro", "Missing argument: %1", "611")},
    {612, QT_TRANSLATE_NOOP3("Kavro", "Unknown option: %1", "612")},
    {613, QT_TRANSLATE_NOOP3("Kavro", "No track log record was found.", "613")},
    {614, QT_TRANSLATE_NOOP3("Kavro", "The directory %1 does not exist.", "614")},
    {615, QT_TRANSLATE_NOOP3("Kavro", "The output %1 would replace its own source file.", "615")},

    // photo (650-699)
    {650, QT_TRANSLATE_NOOP3("Kavro", "The file cannot be opened: %1", "650")},
    {651, QT_TRANSLATE_NOOP3("Kavro", "The track log file %1 cannot be opened: %2", "651")},
    {652, QT_TRANSLATE_NOOP3("Kavro", "The photo directory %1 cannot be read: %2", "652")},
    {653, QT_TRANSLATE_NOOP3("Kavro", "The EXIF layout of this photo is not supported; no copy was written.", "653")},
    {654, QT_TRANSLATE_NOOP3("Kavro", "Only the first %1 photos are read.", "654")},
    {655, QT_TRANSLATE_NOOP3("Kavro", "The file %1 cannot be written: %2", "655")},
    {656, QT_TRANSLATE_NOOP3("Kavro", "The calibration must be D:H:M:S, for example 0:1:-5:30.", "656")},
    {657, QT_TRANSLATE_NOOP3("Kavro", "Unknown time zone: %1", "657")},
    {658, QT_TRANSLATE_NOOP3("Kavro", "The copy %1 cannot be written: %2", "658")},

    // command line (700-799)

    // log download (790-819)
    {790, QT_TRANSLATE_NOOP3("Kavro", "Upload Failed! No Device Connected! ", "790")},
    {791, QT_TRANSLATE_NOOP3("Kavro", "%1% received (%2 KB/s, %3 left)", "791")},
    {792, QT_TRANSLATE_NOOP3("Kavro", "%1% received", "792")},
};

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

QString StringTable::Format(int id, const std::vector<QString>& args) const {
  QString t = Text(id);
  for (const QString& a : args) t = t.arg(a);
  return t;
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

Language LanguageForLocale(const QString& localeName) {
  const QLocale locale(localeName);
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
