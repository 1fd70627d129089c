#include "download/LogDownload.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

#include "common/TextFile.h"
#include "common/Texts.h"
#include "download/LogDecoder.h"
#include "photo/PhotoConversion.h"
#include "protocol/Exchange.h"
#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"

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

  // A request that could not be written counts as an unanswered one, unless the port is gone.
  Wait Request(std::uint32_t address, std::uint32_t size) {
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
void SpeedBack(Link& link, KeepAlive* keepAlive, const DownloadTiming& timing) {
  KeepAliveOff(keepAlive, timing);
  PmtkExchange(link, pmtk::kSpeed, SerialPort::kDefaultBaud, 0);
  Pause(timing.speedPause);
  {
    auto lock = link.Lock();
    link.Port().RestoreSpeed();
  }
  Pause(timing.settlePause);
  link.fastMode = false;
}

// Reads the memory sector by sector. A sector whose reply broke off is asked for again from its
// first chunk not yet received; the chunks received stay.
class SectorLoop {
 public:
  SectorLoop(Downloader& downloader, const DownloadTiming& timing, std::uint32_t size, LogDecoder& decoder,
             DownloadListener& listener)
      : downloader_(downloader), timing_(timing), size_(size), decoder_(decoder), listener_(listener),
        sector_(memory::kSectorSize) {}

  // Every sector below `size`, each handed to the decoder; false when the download was interrupted.
  bool Run(DownloadResult& result) {
    for (std::uint32_t sectorAddress = 0; sectorAddress < size_;) {
      const Wait wait = ReadRestOfSector(sectorAddress);
      if (wait == Wait::Got) {
        decoder_.DecodeSector(sector_.data());
        sectorAddress += static_cast<std::uint32_t>(memory::kSectorSize);
        StartSector();
      } else if (!MayRetry(wait, result)) {
        return false;
      }
    }
    return true;
  }

  static std::uint64_t BytesToRead(std::uint32_t size) {
    const std::uint64_t sectors = (std::uint64_t{size} + memory::kSectorSize - 1) / memory::kSectorSize;
    return sectors * memory::kSectorSize;
  }

 private:
  void StartSector() {
    std::fill(sector_.begin(), sector_.end(), std::uint8_t{0});
    resumeChunk_ = 0;
    retries_ = 0;
  }

  // The keep-alive, the request for the chunks still missing, and their replies.
  Wait ReadRestOfSector(std::uint32_t sectorAddress) {
    downloader_.Reader().Clear();
    Wait wait = downloader_.KeepAliveSentence();
    downloader_.ArmWatchdog();
    const std::uint32_t first = resumeChunk_ * memory::kDataChunk;
    if (wait == Wait::Got)
      wait = downloader_.Request(sectorAddress + first, static_cast<std::uint32_t>(memory::kSectorSize) - first);
    for (std::uint32_t offset = first; wait == Wait::Got && offset < memory::kSectorSize; offset += memory::kDataChunk)
      wait = TakeChunk(sectorAddress, offset);
    return wait;
  }

  Wait TakeChunk(std::uint32_t sectorAddress, std::uint32_t offset) {
    const int percent = ProgressPercent(sectorAddress, offset, size_);
    std::string_view data;
    const Wait wait = downloader_.AwaitChunk(sectorAddress + offset, data);
    if (wait != Wait::Got) return wait;
    downloader_.DisarmWatchdog();
    if (!HexPairsToBytes(data, sector_.data() + offset, memory::kDataChunk)) return Wait::BadChecksum;
    resumeChunk_ = offset / memory::kDataChunk + 1;
    listener_.OnProgress(percent, std::uint64_t{sectorAddress} + offset + memory::kDataChunk, BytesToRead(size_));
    return Wait::Got;
  }

  // Whether the sector is asked for again; an interruption's reason goes into the result.
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
  const std::uint32_t size_;
  LogDecoder& decoder_;
  DownloadListener& listener_;
  std::vector<std::uint8_t> sector_;
  std::uint32_t resumeChunk_ = 0;  // chunks of the sector received so far
  int retries_ = 0;                // of this sector
};

// Every sector below result.downloadSize, with the line held all along. False when interrupted.
bool ReadSectors(Link& link, const DownloadTiming& timing, std::stop_token stop, LogDecoder& decoder,
                 DownloadListener& listener, DownloadResult& result) {
  Downloader downloader(link, timing, std::move(stop), link.fastMode.load());
  auto lock = link.Lock();
  link.Port().DiscardInput();
  SectorLoop sectors(downloader, timing, result.downloadSize, decoder, listener);
  const bool complete = sectors.Run(result);
  result.replyBytes = downloader.Reader().Bytes();
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
                                                        setup.photoClock, setup.writeGps, &lines, &zone);
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
  LogDecoder decoder;
  decoder.SetWeekFix(choice->weekFix);
  decoder.ResetDecoder(zone.Clock(), LogDecoder::CurrentUtcYear());
  if (setup.bridge) SpeedUp(link, timing);
  const bool complete = ReadSectors(link, timing, std::move(stop), decoder, listener, result);

  // The files are written while the logger and the port go back to their normal speed (the
  // pauses of that sequence are long enough to write a whole memory's files and their KML).
  // An interrupted download sets the speed back too, before the caller lets the logger go: a
  // logger left at 921600 would not answer the next connect.
  std::thread writer;
  if (complete) {
    writer = std::thread(
        [&] { WriteFiles(decoder, *choice, info.userName, zone, strings, setup, listener, result); });
  }
  if (setup.bridge) SpeedBack(link, keepAlive, timing);
  link.fastMode = false;
  if (writer.joinable()) writer.join();

  if (!complete) {
    result.outcome = DownloadOutcome::Interrupted;
    return result;
  }
  const std::uint64_t total = SectorLoop::BytesToRead(result.downloadSize);
  listener.OnProgress(100, total, total);
  ReportCompletion(result, listener);
  result.outcome = DownloadOutcome::Complete;
  KeepAliveAgain(keepAlive, keepAliveWanted);
  return result;
}

}  // namespace kavro
