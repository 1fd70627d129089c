#include "convert/KmlWriter.h"

#include <string>

#include "convert/NumberFormat.h"

namespace kavro {
namespace {

struct StyleGroup {
  const char* name;
  const char* normalIcon;
  const char* highlightIcon;
};

constexpr StyleGroup kGroups[] = {
    {"Start", "icon15", "icon7"},
    {"Finish", "icon15", "icon7"},
    {"Normal", "icon31", "icon23"},
    {"Photo", "icon46", "icon38"},
};

void Line(std::string& s, std::string_view text) {
  s.append(text);
  s.append("\r\n");
}

void AppendStyleGroup(std::string& s, const StyleGroup& g) {
  const std::string name = g.name;
  const std::string iconBase = std::string("<href>") + kKmlIconBase;
  Line(s, "<Style id=\"normalState_TLP_" + name + "\">");
  Line(s, "<IconStyle>");
  Line(s, "<scale>1.0</scale>");
  Line(s, "<Icon>");
  Line(s, iconBase + g.normalIcon + ".png</href>");
  Line(s, "</Icon>");
  Line(s, "</IconStyle>");
  Line(s, "<LabelStyle>");
  Line(s, "<scale>1.0</scale>");
  Line(s, "</LabelStyle>");
  Line(s, "</Style>");
  Line(s, "<Style id=\"highlightState_TLP_" + name + "\">");
  Line(s, "<IconStyle>");
  Line(s, "<scale>1.1</scale>");
  Line(s, "<Icon>");
  Line(s, iconBase + g.highlightIcon + ".png</href>");
  Line(s, "</Icon>");
  Line(s, "</IconStyle>");
  Line(s, "<LabelStyle>");
  Line(s, "<scale>1.1</scale>");
  Line(s, "<color>ff0000ff</color>");
  Line(s, "</LabelStyle>");
  Line(s, "</Style>");
  Line(s, "<StyleMap id=\"styleMap_TLP_" + name + "\">");
  Line(s, "<Pair>");
  Line(s, "<key>normal</key>");
  Line(s, "<styleUrl>#normalState_TLP_" + name + "</styleUrl>");
  Line(s, "</Pair>");
  Line(s, "<Pair>");
  Line(s, "<key>highlight</key>");
  Line(s, "<styleUrl>#highlightState_TLP_" + name + "</styleUrl>");
  Line(s, "</Pair>");
  Line(s, "</StyleMap>");
}

}  // namespace

char* FormatKmlPoint(char* p, float longitude, float latitude, float height) {
  p = FormatFixed(p, longitude, 7);
  *p++ = ',';
  p = FormatFixed(p, latitude, 7);
  *p++ = ',';
  return FormatFixed(p, height, 2);
}

void WriteKmlHead(OutputSink& out, const char* encoding) {
  std::string s;
  s.reserve(6000);
  Line(s, std::string("<?xml version=\"1.0\" encoding=\"") + (encoding ? encoding : "UTF-8") + "\"?>");
  Line(s, std::string("<kml xmlns=\"") + kKmlNamespace + "\">");
  Line(s, "<Document>");
  for (const StyleGroup& g : kGroups) AppendStyleGroup(s, g);
  Line(s, "<Style id=\"roadStyle\">");
  Line(s, "<LineStyle>");
  Line(s, "<color>ffffff00</color>");
  Line(s, "<width>6</width>");
  Line(s, "</LineStyle>");
  Line(s, "</Style>");
  Line(s, "<Open>1</Open>");
  Line(s, "<description>Route</description>");
  Line(s, "<name>Track Log</name>");
  out.Write(s);
}

void WriteKmlPathOpen(OutputSink& out) {
  out.Write(
      "<Placemark>\r\n<name>Route</name>\r\n<styleUrl>#roadStyle</styleUrl>\r\n<MultiGeometry>\r\n"
      "<LineString>\r\n<coordinates>\r\n");
}

void WriteKmlPathPoint(OutputSink& out, float longitude, float latitude, float height) {
  char buf[3 * kFormatBufferSize + 4];
  char* p = FormatKmlPoint(buf, longitude, latitude, height);
  *p++ = ' ';
  out.Write(std::string_view(buf, static_cast<std::size_t>(p - buf)));
}

void WriteKmlPathClose(OutputSink& out) {
  out.Write("</coordinates>\r\n</LineString>\r\n</MultiGeometry>\r\n</Placemark>\r\n");
}

void WriteKmlFolderOpen(OutputSink& out) { out.Write("<Folder>\r\n<name>waypoints</name>\r\n"); }

void WriteKmlTail(OutputSink& out) { out.Write("</Folder>\r\n</Document>\r\n</kml>\r\n"); }

const char* KmlPointStyle(long long k, long long n) {
  if (k == 0) return kKmlStyleStart;
  if (k == n - 1) return kKmlStyleFinish;
  return kKmlStyleNormal;
}

void WriteKmlPointPlacemark(OutputSink& out, std::string_view name, const char* style, float longitude,
                            float latitude, float height) {
  char buf[3 * kFormatBufferSize + 512];
  char* p = buf;
  auto put = [&p](std::string_view t) {
    for (char c : t) *p++ = c;
  };
  put("<Placemark>\r\n<name>\r\n");
  put(name.size() > 256 ? name.substr(0, 256) : name);
  put("\r\n</name>\r\n<styleUrl>\r\n");
  put(style);
  put("\r\n</styleUrl>\r\n<Point>\r\n<coordinates>\r\n");
  p = FormatKmlPoint(p, longitude, latitude, height);
  put("\r\n</coordinates>\r\n</Point>\r\n</Placemark>\r\n");
  out.Write(std::string_view(buf, static_cast<std::size_t>(p - buf)));
}

bool WriteKmlTrack(TrackFileReader& source, OutputSink& out, const ZoneClock& clock) {
  WriteKmlHead(out);
  WriteKmlPathOpen(out);
  source.Rewind();
  TrackRecord r;
  long long n = 0;
  while (source.Next(r)) {
    WriteKmlPathPoint(out, r.Longitude(), r.Latitude(), r.Height());
    ++n;
  }
  bool readOk = !source.Failed();
  source.Rewind();
  WriteKmlPathClose(out);
  WriteKmlFolderOpen(out);
  long long k = 0;
  char name[32];
  while (source.Next(r)) {
    std::tm local;
    if (clock.ToLocal(r.Time(), local)) {
      const int len = AsctimeText(local, name);
      WriteKmlPointPlacemark(out, std::string_view(name, static_cast<std::size_t>(len > 0 ? len : 0)),
                             KmlPointStyle(k, n), r.Longitude(), r.Latitude(), r.Height());
    }
    ++k;
  }
  readOk = readOk && !source.Failed();
  source.Rewind();
  WriteKmlTail(out);
  return readOk && out.Write({});
}

}  // namespace kavro
