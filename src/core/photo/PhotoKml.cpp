#include "photo/PhotoKml.h"

#include <array>
#include <set>

#include "convert/KmlWriter.h"
#include "convert/NumberFormat.h"
#include "track/TrackFileReader.h"

namespace kavro {
namespace {

// Gathers the many small writes of the KML into large ones: the sink turns each write into
// UTF-16 on its own, so fewer and longer writes cost far less. A batch always ends after an
// ASCII byte, so no UTF-8 sequence is ever split and the bytes out stay the same.
class BatchingSink : public OutputSink {
 public:
  explicit BatchingSink(OutputSink& out) : out_(out) { buffer_.reserve(kBatch + 4096); }
  bool Write(std::string_view text) override {
    buffer_.append(text);
    if (buffer_.size() >= kBatch) Pass(false);
    return ok_;
  }
  // Hands over what is left; false when any write failed.
  bool Finish() {
    Pass(true);
    return ok_;
  }

 private:
  static constexpr std::size_t kBatch = 1 << 17;
  void Pass(bool all) {
    std::size_t cut = buffer_.size();
    if (!all) {
      while (cut > 0 && static_cast<unsigned char>(buffer_[cut - 1]) >= 0x80) --cut;
      if (cut == 0) return;  // no character boundary yet: gather more
    }
    if (cut == 0) return;
    ok_ = out_.Write(std::string_view(buffer_.data(), cut)) && ok_;
    buffer_.erase(0, cut);
  }
  OutputSink& out_;
  std::string buffer_;
  bool ok_ = true;
};

class Lines {
 public:
  explicit Lines(OutputSink& out) : out_(out) {}
  void Line(std::string_view text) {
    ok_ = out_.Write(text) && ok_;
    ok_ = out_.Write("\r\n") && ok_;
  }
  // Text that already holds its line ends.
  void Text(std::string_view text) { ok_ = out_.Write(text) && ok_; }
  bool Ok() const { return ok_; }

 private:
  OutputSink& out_;
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

namespace {

// The route from the file itself, tuple by tuple, without the table's limit; gathered into
// large writes.
void WriteRouteLine(OutputSink& out, const std::filesystem::path& trlPath) {
  WriteKmlPathOpen(out);
  TrackFileReader route;
  if (route.Open(trlPath)) {
    std::array<char, 1 << 14> buf;
    char* const limit = buf.data() + buf.size() - (3 * kFormatBufferSize + 4);
    char* p = buf.data();
    TrackRecord record;
    while (route.Next(record)) {
      p = FormatKmlPoint(p, record.Longitude(), record.Latitude(), record.Height());
      *p++ = ' ';
      if (p >= limit) {
        out.Write(std::string_view(buf.data(), static_cast<std::size_t>(p - buf.data())));
        p = buf.data();
      }
    }
    out.Write(std::string_view(buf.data(), static_cast<std::size_t>(p - buf.data())));
  }
  WriteKmlPathClose(out);
}

// The placemarks of the folder: one a point, the photos matched to it in its balloon.
class PlacemarkWriter {
 public:
  PlacemarkWriter(OutputSink& out, const PhotoKmlInput& in, const GpsCopyObserver& onCopy)
      : lines_(out), in_(in), onCopy_(onCopy) {
    static const std::vector<TrackPoint> noPoints;
    static const std::vector<PhotoOrderEntry> noOrder;
    static const std::vector<PhotoEntry> noPhotos;
    points_ = in.points ? in.points : &noPoints;
    order_ = in.photoOrder ? in.photoOrder : &noOrder;
    photos_ = in.photos ? in.photos : &noPhotos;
    GroupByPoint(*order_, points_->size(), first_, items_);
  }

  void WriteAll() {
    for (std::size_t k = 0; k < points_->size(); ++k) Placemark(k);
  }
  bool Ok() const { return lines_.Ok(); }

 private:
  bool HasPhotos(std::size_t k) const { return first_[k] != first_[k + 1]; }

  // Each placemark is made in one buffer and written at once; only a balloon goes line by line.
  void Placemark(std::size_t k) {
    const TrackPoint& point = (*points_)[k];
    char buf[3 * kFormatBufferSize + 256];
    char* p = PutText(buf, "<Placemark>\r\n<name>\r\n");
    p = PutText(p, point.nameText.data());
    p = PutText(p, "\r\n</name>\r\n");
    if (HasPhotos(k)) {
      lines_.Text(std::string_view(buf, static_cast<std::size_t>(p - buf)));
      Balloon(k, point);
      p = buf;
    }
    p = PutText(p, "<styleUrl>\r\n");
    p = PutText(p, Style(k));
    p = PutText(p, "\r\n</styleUrl>\r\n<Point>\r\n<coordinates>\r\n");
    p = FormatKmlPoint(p, point.lon, point.lat, point.alt);
    p = PutText(p, "\r\n</coordinates>\r\n</Point>\r\n</Placemark>\r\n");
    lines_.Text(std::string_view(buf, static_cast<std::size_t>(p - buf)));
  }

  const char* Style(std::size_t k) const {
    const std::size_t n = points_->size();
    if (k == 0) return kKmlStyleStart;
    if (k == n - 1 && n > 1) return kKmlStyleFinish;
    return HasPhotos(k) ? kKmlStylePhoto : kKmlStyleNormal;
  }

  void Balloon(std::size_t k, const TrackPoint& point) {
    lines_.Line("<description>");
    lines_.Line("<![CDATA[");
    lines_.Line("Photo Matched:");
    for (std::uint32_t j = first_[k]; j < first_[k + 1]; ++j) {
      const PhotoOrderEntry& entry = (*order_)[items_[j]];
      if (entry.photoIndex >= photos_->size()) continue;
      const PhotoEntry& photo = (*photos_)[entry.photoIndex];
      PhotoInBalloon(photo);
      if (in_.writeGps) WriteGpsCopy(photo, point);
    }
    lines_.Line("]]>");
    lines_.Line("</description>");
  }

  void PhotoInBalloon(const PhotoEntry& photo) {
    if (in_.calibrationSeconds != 0 || in_.calibrated) {
      lines_.Line("<p>Original Time: " + LocalText(in_.photoZone, photo.uncalibratedTime) + "</p>");
      lines_.Line("<p>Adjustment Time: " + LocalText(in_.photoZone, photo.captureTime) + "</p>");
    } else {
      lines_.Line("<p>" + LocalText(in_.photoZone, photo.captureTime) + "</p>");
    }
    lines_.Line("<p><img width=\"400\" height=\"300\" src=\"" + BalloonPathText(photo.path) + "\"></p>");
  }

  void WriteGpsCopy(const PhotoEntry& photo, const TrackPoint& point) {
    // a.jpg and a.JPG would share one copy name: the later one gets a number.
    std::filesystem::path copyPath = GpsCopyPath(photo.path);
    for (int copyNumber = 2; written_.count(copyPath) != 0; ++copyNumber) copyPath = GpsCopyPath(photo.path, copyNumber);
    const GpsCopyResult result = WriteGpsPhotoCopy(photo.path, point, copyPath);
    if (result.status == 0 && result.supported) written_.insert(copyPath);
    if (onCopy_) onCopy_(photo, result);
  }

  Lines lines_;
  const PhotoKmlInput& in_;
  const GpsCopyObserver& onCopy_;
  const std::vector<TrackPoint>* points_ = nullptr;
  const std::vector<PhotoOrderEntry>* order_ = nullptr;
  const std::vector<PhotoEntry>* photos_ = nullptr;
  std::vector<std::uint32_t> first_, items_;  // items_[first_[k] .. first_[k+1]): the photos of point k
  std::set<std::filesystem::path> written_;   // copy names taken so far
};

}  // namespace

bool WritePhotoKml(OutputSink& sink, const PhotoKmlInput& in, const GpsCopyObserver& onCopy) {
  BatchingSink out(sink);
  WriteKmlHead(out, in.encoding);
  WriteRouteLine(out, in.trlPath);
  WriteKmlFolderOpen(out);
  PlacemarkWriter placemarks(out, in, onCopy);
  placemarks.WriteAll();
  WriteKmlTail(out);
  const bool flushed = out.Finish();
  return placemarks.Ok() && flushed;
}

}  // namespace kavro
