#pragma once
#include "common/OutputSink.h"
#include "track/TrackFileReader.h"
#include "track/ZoneClock.h"

namespace kavro {

// The KML 2.1 document of a track: the head with its styles, one path through every valid point
// and a folder with a placemark per point named by its local time. Lines end with CR LF.
// The head and the path pieces are shared with the photo KML.

inline constexpr const char* kKmlNamespace = "http://earth.google.com/kml/2.1";
inline constexpr const char* kKmlIconBase = "http://maps.google.com/mapfiles/kml/pal4/";

// XML declaration (with the given encoding name), kml start tag, "<Document>", the Start,
// Finish, Normal and Photo style groups, the road style, "<Open>1</Open>", the description and
// the document name.
void WriteKmlHead(OutputSink& out, const char* encoding = "UTF-8");

// The path placemark: its opening lines up to and including "<coordinates>", then one tuple per
// point ("%4.7f,%4.7f,%4.2f " of longitude, latitude, height, all on one line), then the closing
// lines starting with "</coordinates>".
void WriteKmlPathOpen(OutputSink& out);
// "%4.7f,%4.7f,%4.2f" of a point (longitude, latitude, height) into p, at most
// 3 * kFormatBufferSize + 2 bytes; returns the end.
char* FormatKmlPoint(char* p, float longitude, float latitude, float height);
void WriteKmlPathPoint(OutputSink& out, float longitude, float latitude, float height);
void WriteKmlPathClose(OutputSink& out);

// "<Folder>" and "<name>waypoints</name>"; and the closing "</Folder>", "</Document>", "</kml>".
void WriteKmlFolderOpen(OutputSink& out);
void WriteKmlTail(OutputSink& out);

// Style references of the point placemarks.
inline constexpr const char* kKmlStyleStart = "#styleMap_TLP_Start";
inline constexpr const char* kKmlStyleFinish = "#styleMap_TLP_Finish";
inline constexpr const char* kKmlStyleNormal = "#styleMap_TLP_Normal";
inline constexpr const char* kKmlStylePhoto = "#styleMap_TLP_Photo";
// The style of the valid record at position k of n.
const char* KmlPointStyle(long long k, long long n);

// One point placemark (12 lines) with the given name text and style reference.
void WriteKmlPointPlacemark(OutputSink& out, std::string_view name, const char* style, float longitude,
                            float latitude, float height);

// The whole document of a track log file, local times in the clock's zone. Reads the source
// twice from its start and leaves it rewound. False when the source could not be read through or
// the output refused a write.
bool WriteKmlTrack(TrackFileReader& source, OutputSink& out, const ZoneClock& clock);

}  // namespace kavro
