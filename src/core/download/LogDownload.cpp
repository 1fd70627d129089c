#include "download/LogDownload.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "common/TextFile.h"
#include "common/Texts.h"
#include "download/KeptCopy.h"
#include "download/LogDecoder.h"
#include "download/LoggerIdentity.h"
#include "download/ReadPlan.h"
#include "photo/PhotoConversion.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"
#include "protocol/TrackLogSettings.h"

namespace kavro {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kChunkHex = 2 * memory::kDataChunk;
constexpr std::string_view kDataWord = word::kMemoryData;
// How long one wait on the port may last before the flags and deadlines are looked at again.
constexpr int kWaitSliceMs = 50;

// The text read from the port while sectors are read. Sentences are handed out once each: the
// search goes on after the last one taken and never scans consumed text again.
class ReplyReader {
 public:
  explicit ReplyReader(Link& link) : link_(link) { buffer_.reserve(1 << 17); }

  void Clear() {
    buffer_.clear();
    pos_ = 0;
    scanned_ = 0;
  }
  // Counts silence from now on (a request just went out).
  void Restart() { lastByte_ = Clock::now(); }
  Clock::time_point LastByte() const { return lastByte_; }
  std::uint64_t Bytes() const { return bytes_; }

  // Waits at most waitMs for bytes and takes all that are queued. False when the port is gone.
  bool Pump(int waitMs) {
    SerialPort& port = link_.Port();
    if (!port.IsOpen() || link_.LinkLost()) return false;
    if (!port.WaitReadable(waitMs)) return port.IsOpen();
    if (pos_ >= (1u << 16)) {
      buffer_.erase(0, pos_);
      scanned_ -= pos_;
      pos_ = 0;
    }
    char chunk[16384];
    for (;;) {
      std::size_t got = 0;
      if (!port.Read(chunk, sizeof chunk, got)) {
        if (port.Lost()) link_.MarkLost();
        return false;
      }
      if (got == 0) break;
      buffer_.append(chunk, got);
      bytes_ += got;
      lastByte_ = Clock::now();
      if (got < sizeof chunk) break;
    }
    return true;
  }

  // The next whole sentence from "$" up to its line end (CR LF not included), or none yet. A
  // "$" whose sentence broke off counts for nothing: the sentence begins at the last "$".
  std::optional<std::string_view> Next() {
    const std::size_t dollar = buffer_.find('$', pos_);
    if (dollar == std::string::npos) {
      pos_ = scanned_ = buffer_.size();
      return std::nullopt;
    }
    pos_ = dollar;
    const std::size_t nl = buffer_.find('\n', std::max(scanned_, dollar + 1));
    if (nl == std::string::npos) {
      scanned_ = buffer_.size();
      return std::nullopt;
    }
    const std::size_t start = buffer_.rfind('$', nl);
    std::size_t end = nl;
    if (end > start && buffer_[end - 1] == '\r') --end;
    pos_ = scanned_ = nl + 1;
    return std::string_view(buffer_).substr(start, end - start);
  }

 private:
  Link& link_;
  std::string buffer_;
  std::size_t pos_ = 0;      // where the next search begins
  std::size_t scanned_ = 0;  // text up to here holds no line end after pos_
  std::uint64_t bytes_ = 0;
  Clock::time_point lastByte_ = Clock::now();
};

enum class Wait { Got, BadChecksum, Silence, Watchdog, Cancelled, Lost };

// Address field of a data reply, or none for any other sentence.
std::optional<std::uint32_t> DataAddress(std::string_view s, std::size_t& dataStart) {
  if (s.substr(0, kDataWord.size()) != kDataWord) return std::nullopt;
  const std::size_t comma = s.find(',', kDataWord.size());
  if (comma == std::string_view::npos) return std::nullopt;
  dataStart = comma + 1;
  return ParseHexText(s.substr(kDataWord.size(), comma - kDataWord.size()));
}

class Downloader {
 public:
  Downloader(Link& link, const DownloadTiming& timing, std::stop_token stop, bool fast)
      : link_(link), timing_(timing), stop_(std::move(stop)), fast_(fast), reader_(link) {}

  // Waits for the data reply of `expected`. Replies of other addresses or kinds are passed over.
  Wait AwaitChunk(std::uint32_t expected, std::string_view& data) {
    const Clock::time_point stallDue = Clock::now() + timing_.stallLimit;
    for (;;) {
      while (const auto sentence = reader_.Next()) {
        std::size_t dataStart = 0;
        const std::optional<std::uint32_t> address = DataAddress(*sentence, dataStart);
        if (!address || *address != expected) continue;
        const std::size_t star = dataStart + kChunkHex;
        if (sentence->size() <= star || (*sentence)[star] != '*' || !ChecksumMatches(*sentence))
          return Wait::BadChecksum;
        data = sentence->substr(dataStart, kChunkHex);
        return Wait::Got;
      }
      if (const Wait wait = WaitForBytes(stallDue); wait != Wait::Got) return wait;
    }
  }

  // The keep-alive sentence and its answer; the answer is not required.
  Wait KeepAliveSentence() {
    const std::string sentence = AppendChecksum(IdentBody(ident::kKeepAlive));
    const std::string answer = std::string(word::kIdentReply) + "," + std::to_string(ident::kKeepAlive) + ",";
    if (!Write(sentence, false)) return Wait::Lost;
    reader_.Restart();
    const Clock::time_point due = Clock::now() + timing_.identWait;
    for (;;) {
      while (const auto reply = reader_.Next()) {
        if (reply->substr(0, answer.size()) == answer && ChecksumMatches(*reply)) return Wait::Got;
      }
      const Wait wait = WaitForBytes(due);
      if (wait == Wait::Silence) return Wait::Got;
      if (wait != Wait::Got) return wait;
    }
  }

  // The logger's Bluetooth address; none when it has none or does not say within the bound.
  std::optional<std::string> AskBtAddress() {
    if (!Write(AppendChecksum(word::kBtQuery), fast_)) return std::nullopt;
    reader_.Restart();
    const Clock::time_point due = Clock::now() + timing_.btWait;
    for (;;) {
      while (const auto reply = reader_.Next())
        if (reply->substr(0, word::kBtAddress.size()) == word::kBtAddress) return BtAddressOfReply(*reply);
      if (WaitForBytes(due) != Wait::Got) return std::nullopt;
    }
  }

  // A request that could not be written counts as an unanswered one, unless the port is gone.
  Wait Request(std::uint32_t address, std::uint32_t size) {
    requested_ += size;
    const bool ok = Write(LogRequestText(address, size), fast_);
    reader_.Restart();
    if (ok) return Wait::Got;
    return link_.LinkLost() ? Wait::Lost : Wait::Silence;
  }

  void ArmWatchdog() {
    if (!fast_ || watchdogArmed_) return;
    watchdogArmed_ = true;
    watchdogDue_ = Clock::now() + timing_.watchdog;
  }
  void DisarmWatchdog() { watchdogArmed_ = false; }

  ReplyReader& Reader() { return reader_; }
  std::uint64_t Requested() const { return requested_; }

 private:
  // One wait on the port, bounded by the silence limit, the watchdog and `due`.
  Wait WaitForBytes(Clock::time_point due) {
    if (stop_.stop_requested()) return Wait::Cancelled;
    const Clock::time_point now = Clock::now();
    if (watchdogArmed_ && now >= watchdogDue_) return Wait::Watchdog;
    const Clock::time_point silenceDue = reader_.LastByte() + timing_.silenceLimit;
    Clock::time_point next = std::min(due, silenceDue);
    if (watchdogArmed_) next = std::min(next, watchdogDue_);
    if (now >= next) return Wait::Silence;
    const auto left = std::chrono::ceil<milliseconds>(next - now).count();
    const int slice = static_cast<int>(std::min<long long>(left, kWaitSliceMs));
    if (!reader_.Pump(slice)) return Wait::Lost;
    return Wait::Got;
  }

  bool Write(const std::string& text, bool inPieces) {
    SerialPort& port = link_.Port();
    std::size_t written = 0;
    // No pause after the last piece: the reply is awaited on the port at once.
    const bool ok = inPieces ? WriteInPieces(port, text, timing_.piecePause, false)
                             : port.Write(text.data(), text.size(), written);
    if (!ok && port.Lost()) link_.MarkLost();
    return ok;
  }

  Link& link_;
  const DownloadTiming& timing_;
  std::stop_token stop_;
  bool fast_;
  ReplyReader reader_;
  bool watchdogArmed_ = false;
  Clock::time_point watchdogDue_{};
  std::uint64_t requested_ = 0;
};

void Pause(milliseconds pause) {
  if (pause.count() > 0) std::this_thread::sleep_for(pause);
}

// The keep-alive would talk between the sectors' requests and replies. The pause lets an
// exchange under way end first; none is needed when none was running.
void KeepAliveOff(KeepAlive* keepAlive, const DownloadTiming& timing) {
  if (!keepAlive || !keepAlive->Enabled()) return;
  keepAlive->SetEnabled(false);
  Pause(timing.keepAlivePause);
}

void KeepAliveAgain(KeepAlive* keepAlive, bool wanted) {
  if (wanted) keepAlive->SetEnabled(true);
}

// Both ends to the download speed, for a port on a bridge.
void SpeedUp(Link& link, const DownloadTiming& timing) {
  link.fastMode = true;
  PmtkExchange(link, pmtk::kSpeed, SerialPort::kFastBaud, 0);
  Pause(timing.speedPause);
  auto lock = link.Lock();
  link.Port().SetFastSpeed();
}

// Both ends back to the normal speed after a download through a bridge. Also after a declined
// dialog, before anything was sped up: the command is harmless there and leaves the logger at
// the normal speed whatever came before.
// Without `settle` when the logger is let go right after: the goodbye may follow the speed
// change at once, as it does when the program exits.
void SpeedBack(Link& link, KeepAlive* keepAlive, const DownloadTiming& timing, bool settle = true) {
  KeepAliveOff(keepAlive, timing);
  PmtkExchange(link, pmtk::kSpeed, SerialPort::kDefaultBaud, 0);
  Pause(timing.speedPause);
  {
    auto lock = link.Lock();
    link.Port().RestoreSpeed();
  }
  if (settle) Pause(timing.settlePause);
  link.fastMode = false;
}

// Progress over what this download reads. A whole read keeps the logger's own percentage
// (address over the last address read); a read that takes part from the kept copy counts bytes.
class Progress {
 public:
  Progress(DownloadListener& listener, std::uint32_t downloadSize, std::uint64_t toRead, bool byBytes)
      : listener_(listener), size_(downloadSize), total_(toRead), byBytes_(byBytes) {}
  void More(std::uint64_t bytes) { total_ += bytes; }
  // Before the chunk at `address` is stored.
  void Chunk(std::uint32_t address) {
    const int percent = byBytes_ ? static_cast<int>(std::min<std::uint64_t>(done_ * 100 / std::max<std::uint64_t>(total_, 1), 99))
                                 : ProgressPercent(address, 0, size_);
    done_ += memory::kDataChunk;
    listener_.OnProgress(percent, done_, total_);
  }

 private:
  DownloadListener& listener_;
  std::uint32_t size_;
  std::uint64_t total_;
  bool byBytes_;
  std::uint64_t done_ = 0;
};

// Reads spans of memory: a sector, or one chunk to compare. A span whose reply broke off is
// asked for again from its first chunk not yet received; the chunks received stay.
class SpanReader {
 public:
  SpanReader(Downloader& downloader, const DownloadTiming& timing, Progress& progress)
      : downloader_(downloader), timing_(timing), progress_(progress) {}

  // False when the download was interrupted; the reason goes into the result.
  bool Read(std::uint32_t address, std::uint32_t length, std::uint8_t* dest, DownloadResult& result) {
    resumeChunk_ = 0;
    retries_ = 0;
    for (;;) {
      const Wait wait = ReadRest(address, length, dest);
      if (wait == Wait::Got) return true;
      if (!MayRetry(wait, result)) return false;
    }
  }

 private:
  // The keep-alive, the request for the chunks still missing, and their replies.
  Wait ReadRest(std::uint32_t address, std::uint32_t length, std::uint8_t* dest) {
    downloader_.Reader().Clear();
    Wait wait = downloader_.KeepAliveSentence();
    downloader_.ArmWatchdog();
    const std::uint32_t first = resumeChunk_ * memory::kDataChunk;
    if (wait == Wait::Got) wait = downloader_.Request(address + first, length - first);
    for (std::uint32_t offset = first; wait == Wait::Got && offset < length; offset += memory::kDataChunk)
      wait = TakeChunk(address + offset, dest + offset);
    return wait;
  }

  Wait TakeChunk(std::uint32_t address, std::uint8_t* dest) {
    std::string_view data;
    const Wait wait = downloader_.AwaitChunk(address, data);
    if (wait != Wait::Got) return wait;
    downloader_.DisarmWatchdog();
    if (!HexPairsToBytes(data, dest, memory::kDataChunk)) return Wait::BadChecksum;
    ++resumeChunk_;
    progress_.Chunk(address);
    return Wait::Got;
  }

  bool MayRetry(Wait wait, DownloadResult& result) {
    switch (wait) {
      case Wait::BadChecksum:
      case Wait::Silence:
        if (retries_ >= timing_.retryLimit) return false;
        ++retries_;
        ++result.retries;
        return true;
      case Wait::Lost:
        result.linkLost = true;
        return false;
      case Wait::Cancelled:
        result.cancelled = true;
        return false;
      case Wait::Got:
      case Wait::Watchdog:
        return false;
    }
    return false;
  }

  Downloader& downloader_;
  const DownloadTiming& timing_;
  Progress& progress_;
  std::uint32_t resumeChunk_ = 0;  // chunks of the span received so far
  int retries_ = 0;                // of this span
};

std::uint64_t BytesToRead(std::uint32_t size) {
  const std::uint64_t sectors = (std::uint64_t{size} + memory::kSectorSize - 1) / memory::kSectorSize;
  return sectors * memory::kSectorSize;
}

int ReasonText(FullReason reason) {
  switch (reason) {
    case FullReason::Changed: return txt::KeptMemoryChanged;
    case FullReason::Wrapped: return txt::KeptMemoryWrapped;
    case FullReason::Damaged: return txt::KeptCopyDamaged;
    case FullReason::None: break;
  }
  return 0;
}

// The memory image of one download: the sectors the kept copy proves, and those read now.
class MemoryRead {
 public:
  MemoryRead(Downloader& downloader, const DownloadSetup& setup, const TransferChoice& choice, const DeviceInfo& info,
             DownloadListener& listener)
      : downloader_(downloader), setup_(setup), choice_(choice), info_(info), listener_(listener),
        store_(setup.keptFolder) {}

  // Every sector below the download size in image_; false when interrupted.
  bool Run(DownloadResult& result) {
    Plan();
    Progress progress(listener_, plan_.downloadSize, ToRead(), !setup_.keptFolder.empty() && (plan_.fromKept != 0));
    SpanReader reader(downloader_, setup_.timing, progress);
    if (!Prove(reader, result)) return false;
    image_.held = plan_.fromKept;
    const bool complete = ReadSectors(reader, progress, result);
    result.sectorsRead = readNow_;
    result.sectorsKept = plan_.KeptSectors();
    if (!complete) KeepWhatCame();
    return complete;
  }

  // After a complete read: the image to decode, and kept for the next download.
  const KeptCopy& Image() const { return image_; }
  void KeepImage() {
    if (setup_.keptFolder.empty()) return;
    if (info_.logWrapped == 1)
      store_.Drop(image_.key);  // overwritten sectors: nothing of it could be taken next time
    else
      store_.Save(image_);
  }

 private:
  void Plan() {
    const bool keep = !setup_.keptFolder.empty();
    LoggerIdentity identity{{}, info_.userName};
    if (keep) identity.btAddress = downloader_.AskBtAddress().value_or(std::string());
    image_.key = identity.Key();
    image_.writePosition = info_.logUsedSize;
    image_.wrapped = info_.logWrapped;
    KeptLoad load = KeptLoad::Missing;
    if (keep && choice_.readOnlyNew) load = store_.Load(image_.key, kept_);
    plan_ = PlanRead(info_, load == KeptLoad::Loaded ? &kept_ : nullptr, load);
    Announce(plan_.reason);
    for (std::uint32_t s = 0; s < plan_.sectorCount; ++s)
      if (plan_.FromKept(s)) std::copy_n(kept_.Sector(s), memory::kSectorSize, image_.Sector(s));
  }

  std::uint64_t ToRead() const {
    const std::uint64_t sectors = static_cast<std::uint64_t>(plan_.sectorCount - static_cast<std::uint32_t>(plan_.KeptSectors()));
    return sectors * memory::kSectorSize + plan_.proofs.size() * memory::kDataChunk;
  }

  void Announce(FullReason reason) {
    if (const int id = ReasonText(reason); id != 0) {
      listener_.OnStatus(id, {});
      listener_.OnLine(id, {});
    }
  }

  // The kept part against the logger, chunk by chunk. False when interrupted: the kept copy
  // then stays as it was, nothing new was verified.
  bool Prove(SpanReader& reader, DownloadResult& result) {
    std::vector<std::uint8_t> chunk(memory::kDataChunk);
    for (const std::uint32_t address : plan_.proofs) {
      if (!reader.Read(address, memory::kDataChunk, chunk.data(), result)) return false;
      if (!std::equal(chunk.begin(), chunk.end(), kept_.image.begin() + address)) {
        plan_.ReadAll(FullReason::Changed);
        Announce(plan_.reason);
        return true;
      }
    }
    return true;
  }

  // Lowest sector first, every one the image does not hold yet.
  bool ReadSectors(SpanReader& reader, Progress& progress, DownloadResult& result) {
    for (std::uint32_t s = 0; s < plan_.sectorCount; ++s) {
      if (image_.Has(s)) continue;
      if (!reader.Read(s * memory::kSectorSize, memory::kSectorSize, image_.Sector(s), result)) return false;
      image_.held |= 1u << s;
      ++readNow_;
      if (!OverlapHolds(s)) {
        // The kept sectors are no proof any more: read them too, from the start.
        progress.More(std::uint64_t{memory::kSectorSize} * static_cast<std::uint64_t>(plan_.KeptSectors()));
        image_.held &= ~plan_.fromKept;
        plan_.ReadAll(FullReason::Changed);
        Announce(plan_.reason);
        s = static_cast<std::uint32_t>(-1);
      }
    }
    return true;
  }

  // The part of sector s that was written before the last download must not have changed.
  bool OverlapHolds(std::uint32_t s) const {
    if (!plan_.overlapFrom || *plan_.overlapFrom != s * memory::kSectorSize || plan_.fromKept == 0) return true;
    const auto from = static_cast<std::ptrdiff_t>(*plan_.overlapFrom);
    const auto to = static_cast<std::ptrdiff_t>(plan_.overlapTo);
    return std::equal(image_.image.begin() + from, image_.image.begin() + to, kept_.image.begin() + from);
  }

  // An interrupted download keeps the sectors that came whole (and the kept ones it proved),
  // so the next one reads only the rest.
  void KeepWhatCame() {
    if (setup_.keptFolder.empty() || info_.logWrapped == 1 || image_.held == 0) return;
    store_.Save(image_);
  }

  Downloader& downloader_;
  const DownloadSetup& setup_;
  const TransferChoice& choice_;
  const DeviceInfo& info_;
  DownloadListener& listener_;
  KeptCopyStore store_;
  KeptCopy kept_;
  KeptCopy image_;
  ReadPlan plan_;
  int readNow_ = 0;
};

// The memory, with the line held all along. False when interrupted.
bool ReadMemory(Link& link, Downloader& downloader, MemoryRead& read, DownloadResult& result) {
  auto lock = link.Lock();
  link.Port().DiscardInput();
  const bool complete = read.Run(result);
  result.replyBytes = downloader.Reader().Bytes();
  result.bytesRequested = downloader.Requested();
  return complete;
}

class PhotoLines : public PhotoConversionListener {
 public:
  explicit PhotoLines(DownloadListener& listener) : listener_(listener) {}
  void OnLine(const std::string& line) override { listener_.OnPhotoLine(line); }
  void OnSummary(const std::string&) override {}
  void OnProblem(const std::string& message) override { listener_.OnPhotoLine(message); }

 private:
  DownloadListener& listener_;
};

std::filesystem::path KmlPathFor(const std::filesystem::path& trl) {
  std::filesystem::path kml = trl;
  kml.replace_extension(".kml");
  return kml;
}

// The photo KML of one track file, UTF-16LE, written whole or not at all.
bool CombineOne(const StringTable& strings, TimeZoneState& zone, const DownloadSetup& setup,
                const std::filesystem::path& trl, const std::filesystem::path& photoDir, DownloadListener& listener) {
  const std::filesystem::path kml = KmlPathFor(trl);
  TextFile file;
  std::string reason;
  if (!file.Open(kml, TextFile::ModeWrite | TextFile::ModeCreate | TextFile::ModeWriteUnicode | TextFile::ModeReplace,
                 &reason)) {
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, reason});
    return false;
  }
  PhotoLines lines(listener);
  const PhotoConversionResult r = CombinePhotosForTrack(strings, trl, file, photoDir, setup.photoZoneRow,
                                                        setup.photoClock, setup.writeGps, &lines, &zone,
                                                        setup.ignorePhotoZone);
  if (!r.outputOk) {
    file.Discard();
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, std::strerror(EIO)});
    return false;
  }
  if (!file.Close(&reason)) {
    listener.OnFile(TrackFileReport{txt::CreateFileFailed, kml, reason});
    return false;
  }
  listener.OnFile(TrackFileReport{txt::CreateFileOk, kml, {}});
  return true;
}

// The track log files, and beside each its KML or its photo combination.
void WriteFiles(LogDecoder& decoder, const TransferChoice& choice, const std::string& userName, TimeZoneState& zone,
                const StringTable& strings, const DownloadSetup& setup, DownloadListener& listener,
                DownloadResult& result) {
  TrackFilesOptions options;
  options.directory = choice.directory;
  options.writeTotal = choice.writeTotal;
  options.userName = userName;
  options.clock = zone.Clock();
  auto report = [&](const TrackFileReport& r) { listener.OnFile(r); };
  result.files = WriteTrackFiles(decoder, options, report);
  result.failedFiles = result.files.failed;
  result.validRecords = decoder.ValidCount();
  result.weekFixedRecords = decoder.WeekFixedCount();
  if (choice.combinePhotos) {
    for (const auto& trl : result.files.Written())
      if (!CombineOne(strings, zone, setup, trl, choice.photoDirectory, listener)) ++result.failedFiles;
  } else {
    result.failedFiles += WriteKmlForTrackFiles(result.files, options.clock, report);
  }
}

// Every sector came, but a file that is missing makes it no success. Corrected dates are said.
void ReportCompletion(const DownloadResult& result, DownloadListener& listener) {
  if (result.failedFiles > 0)
    listener.OnStatus(txt::UploadFilesFailed, {std::to_string(result.failedFiles)});
  else if (result.weekFixedRecords > 0)
    listener.OnStatus(txt::UploadSucceedWeekFixed, {std::to_string(result.weekFixedRecords)});
  else
    listener.OnStatus(txt::UploadSucceed, {});
}

// Every sector below the download size, in address order, as a whole read hands them over.
void DecodeImage(LogDecoder& decoder, const KeptCopy& image, std::uint32_t downloadSize) {
  for (std::uint32_t m = 0; m < downloadSize; m += memory::kSectorSize) decoder.DecodeSector(image.image.data() + m);
}

// The erase the user asked for with the download: only when every file was written. The kept
// copy goes with the log.
void ClearAfterDownload(Link& link, DeviceState& device, const std::filesystem::path& keptFolder,
                        const std::string& key, DownloadListener& listener, DownloadResult& result) {
  if (result.failedFiles > 0) {
    listener.OnLine(txt::ClearAfterFilesFailed, {std::to_string(result.failedFiles)});
    return;
  }
  const StatusReport status = [&listener](int id) { listener.OnLine(id, {}); };
  if (ClearLog(link, device, status) != SettingsOutcome::Done) {
    result.clearFailed = true;
    return;
  }
  KeptCopyStore(keptFolder).Drop(key);
  result.cleared = true;
}

}  // namespace

std::uint32_t DownloadSize(std::uint32_t logUsedSize, int logWrapped) {
  if (logWrapped == 1 || logUsedSize == 0) return memory::kSize;
  return std::min<std::uint32_t>(logUsedSize, memory::kSize);
}

int ProgressPercent(std::uint32_t sector, std::uint32_t offset, std::uint32_t downloadSize) {
  const std::uint64_t divisor = downloadSize | 0xFFFFu;
  return static_cast<int>((static_cast<std::uint64_t>(sector) + offset) * 100 / divisor);
}

std::string LogRequestText(std::uint32_t address, std::uint32_t size) {
  char body[48];
  std::snprintf(body, sizeof body, "%s,%d,%X,%X", std::string(word::kPmtk182).c_str(), pmtk::kMemoryRead, address, size);
  return AppendChecksum(body);
}

DownloadResult LogDownload(Link& link, DeviceState& device, KeepAlive* keepAlive, TimeZoneState& zone,
                           const StringTable& strings, const DownloadSetup& setup, DownloadListener& listener,
                           std::stop_token stop) {
  DownloadResult result;
  const DownloadTiming& timing = setup.timing;
  const bool keepAliveWanted = keepAlive && keepAlive->Enabled();
  if (!link.portOpen || !link.Port().IsOpen()) {
    listener.OnStatus(txt::UploadFailedNoDevice, {});
    result.outcome = DownloadOutcome::NotConnected;
    return result;
  }
  const std::optional<TransferChoice> choice = setup.choose ? setup.choose() : std::nullopt;
  if (!choice || !choice->directoryChosen) {
    listener.OnStatus(txt::UploadClearStatusMessage, {});
    if (setup.bridge) {
      SpeedBack(link, keepAlive, timing);
      KeepAliveAgain(keepAlive, keepAliveWanted);
    }
    result.outcome = DownloadOutcome::Declined;
    return result;
  }

  KeepAliveOff(keepAlive, timing);
  const DeviceInfo info = device.Snapshot();
  result.downloadSize = DownloadSize(info.logUsedSize, info.logWrapped);
  if (setup.bridge) SpeedUp(link, timing);
  Downloader downloader(link, timing, std::move(stop), link.fastMode.load());
  MemoryRead reading(downloader, setup, *choice, info, listener);
  const bool complete = ReadMemory(link, downloader, reading, result);

  // The files are written while the logger and the port go back to their normal speed (the
  // pauses of that sequence are long enough to write a whole memory's files and their KML).
  // An interrupted download sets the speed back too, before the caller lets the logger go: a
  // logger left at 921600 would not answer the next connect.
  std::thread writer;
  if (complete) {
    writer = std::thread([&] {
      LogDecoder decoder;
      decoder.SetWeekFix(choice->weekFix);
      decoder.ResetDecoder(zone.Clock(), LogDecoder::CurrentUtcYear());
      DecodeImage(decoder, reading.Image(), result.downloadSize);
      WriteFiles(decoder, *choice, info.userName, zone, strings, setup, listener, result);
      reading.KeepImage();
    });
  }
  if (setup.bridge) SpeedBack(link, keepAlive, timing, !setup.releasedAfter || choice->clearAfter);
  link.fastMode = false;
  if (writer.joinable()) writer.join();

  if (!complete) {
    if (choice->clearAfter) listener.OnLine(txt::ClearAfterIncomplete, {});
    result.outcome = DownloadOutcome::Interrupted;
    return result;
  }
  const std::uint64_t total = BytesToRead(result.downloadSize);
  listener.OnProgress(100, total, total);
  if (!setup.keptFolder.empty())
    listener.OnLine(txt::KeptSectorsSummary, {std::to_string(result.sectorsRead), std::to_string(result.sectorsKept),
                                              std::to_string(result.bytesRequested)});
  if (choice->clearAfter) ClearAfterDownload(link, device, setup.keptFolder, reading.Image().key, listener, result);
  ReportCompletion(result, listener);
  result.outcome = DownloadOutcome::Complete;
  KeepAliveAgain(keepAlive, keepAliveWanted);
  return result;
}

namespace {

// The key of the connected logger's kept copy.
std::string AskLoggerKey(Link& link, const DeviceState& device, const DownloadTiming& timing) {
  LoggerIdentity identity{{}, device.Snapshot().userName};
  Downloader downloader(link, timing, {}, link.fastMode.load());
  auto lock = link.Lock();
  identity.btAddress = downloader.AskBtAddress().value_or(std::string());
  return identity.Key();
}

}  // namespace

bool HasKeptCopy(Link& link, const DeviceState& device, const std::filesystem::path& keptFolder,
                 const DownloadTiming& timing) {
  if (keptFolder.empty() || !link.Port().IsOpen()) return false;
  std::error_code ec;
  return std::filesystem::exists(KeptCopyStore(keptFolder).PathFor(AskLoggerKey(link, device, timing)), ec);
}

void DropKeptCopy(Link& link, const DeviceState& device, const std::filesystem::path& keptFolder,
                  const DownloadTiming& timing) {
  if (keptFolder.empty() || !link.Port().IsOpen()) return;
  KeptCopyStore(keptFolder).Drop(AskLoggerKey(link, device, timing));
}

}  // namespace kavro
