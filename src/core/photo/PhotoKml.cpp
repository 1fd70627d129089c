#include "photo/PhotoKml.h"

#include <set>

#include "convert/KmlWriter.h"
#include "convert/NumberFormat.h"
#include "track/TrackFileReader.h"

namespace kavro {
namespace {

class Lines {
 public:
  explicit Lines(OutputSink& out) : out_(out) {}
  void Line(std::string_view text) {
    buffer_.assign(text);
    buffer_ += "\r\n";
    ok_ = out_.Write(buffer_) && ok_;
  }
  bool Ok() const { return ok_; }

 private:
  OutputSink& out_;
  std::string buffer_;
  bool ok_ = true;
};

std::string LocalText(const ZoneClock& zone, std::int32_t utc) {
  std::tm local{};
  if (!zone.ToLocal(utc, local)) return std::string();
  return AsctimeText(local);
}

// Photo indices into photoOrder grouped by matched point, in photo order within each point.
void GroupByPoint(const std::vector<PhotoOrderEntry>& order, std::size_t pointCount, std::vector<std::uint32_t>& first,
                  std::vector<std::uint32_t>& items) {
  first.assign(pointCount + 1, 0);
  for (const PhotoOrderEntry& p : order) {
    if (p.matched && p.pointIndex < pointCount) ++first[p.pointIndex + 1];
  }
  for (std::size_t k = 0; k < pointCount; ++k) first[k + 1] += first[k];
  items.assign(first[pointCount], 0);
  std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const PhotoOrderEntry& p = order[i];
    if (p.matched && p.pointIndex < pointCount) items[next[p.pointIndex]++] = static_cast<std::uint32_t>(i);
  }
}

}  // namespace

std::string BalloonPathText(const std::string& path) {
  std::string s;
  s.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '"') {
      s += "&quot;";
    } else if (c == '&') {
      s += "&amp;";
    } else if (c == '>' && i >= 2 && path[i - 1] == ']' && path[i - 2] == ']') {
      s += "&gt;";
    } else {
      s += c;
    }
  }
  return s;
}

bool WritePhotoKml(OutputSink& out, const PhotoKmlInput& in, const GpsCopyObserver& onCopy) {
  static const std::vector<TrackPoint> noPoints;
  static const std::vector<PhotoOrderEntry> noOrder;
  static const std::vector<PhotoEntry> noPhotos;
  const std::vector<TrackPoint>& points = in.points ? *in.points : noPoints;
  const std::vector<PhotoOrderEntry>& order = in.photoOrder ? *in.photoOrder : noOrder;
  const std::vector<PhotoEntry>& photos = in.photos ? *in.photos : noPhotos;

  Lines lines(out);
  WriteKmlHead(out, in.encoding);

  // The route from the file itself, tuple by tuple, without the table's limit.
  WriteKmlPathOpen(out);
  TrackFileReader route;
  if (route.Open(in.trlPath)) {
    TrackRecord record;
    while (route.Next(record)) WriteKmlPathPoint(out, record.Longitude(), record.Latitude(), record.Height());
  }
  WriteKmlPathClose(out);

  WriteKmlFolderOpen(out);
  std::vector<std::uint32_t> first, items;
  GroupByPoint(order, points.size(), first, items);
  const std::size_t n = points.size();
  char number[3 * kFormatBufferSize];
  std::set<std::filesystem::path> written;
  for (std::size_t k = 0; k < n; ++k) {
    const TrackPoint& point = points[k];
    lines.Line("<Placemark>");
    lines.Line("<name>");
    lines.Line(point.nameText.data());
    lines.Line("</name>");
    if (first[k] != first[k + 1]) {
      lines.Line("<description>");
      lines.Line("<![CDATA[");
      lines.Line("Photo Matched:");
      for (std::uint32_t j = first[k]; j < first[k + 1]; ++j) {
        const PhotoOrderEntry& entry = order[items[j]];
        if (entry.photoIndex >= photos.size()) continue;
        const PhotoEntry& photo = photos[entry.photoIndex];
        if (in.calibrationSeconds != 0) {
          lines.Line("<p>Original Time: " + LocalText(in.photoZone, photo.uncalibratedTime) + "</p>");
          lines.Line("<p>Adjustment Time: " + LocalText(in.photoZone, photo.captureTime) + "</p>");
        } else {
          lines.Line("<p>" + LocalText(in.photoZone, photo.captureTime) + "</p>");
        }
        lines.Line("<p><img width=\"400\" height=\"300\" src=\"" + BalloonPathText(photo.path) + "\"></p>");
        if (in.writeGps) {
          // a.jpg and a.JPG would share one copy name: the later one gets a number.
          std::filesystem::path copyPath = GpsCopyPath(photo.path);
          for (int copyNumber = 2; written.count(copyPath) != 0; ++copyNumber) {
            copyPath = GpsCopyPath(photo.path, copyNumber);
          }
          const GpsCopyResult result = WriteGpsPhotoCopy(photo.path, point, copyPath);
          if (result.status == 0 && result.supported) written.insert(copyPath);
          if (onCopy) onCopy(photo, result);
        }
      }
      lines.Line("]]>");
      lines.Line("</description>");
    }
    const char* style = k == 0                   ? kKmlStyleStart
                        : (k == n - 1 && n > 1)  ? kKmlStyleFinish
                        : first[k] != first[k + 1] ? kKmlStylePhoto
                                                 : kKmlStyleNormal;
    lines.Line("<styleUrl>");
    lines.Line(style);
    lines.Line("</styleUrl>");
    lines.Line("<Point>");
    lines.Line("<coordinates>");
    char* p = FormatFixed(number, point.lon, 7);
    *p++ = ',';
    p = FormatFixed(p, point.lat, 7);
    *p++ = ',';
    p = FormatFixed(p, point.alt, 2);
    lines.Line(std::string_view(number, static_cast<std::size_t>(p - number)));
    lines.Line("</coordinates>");
    lines.Line("</Point>");
    lines.Line("</Placemark>");
  }
  WriteKmlTail(out);
  return lines.Ok();
}

}  // namespace kavro
