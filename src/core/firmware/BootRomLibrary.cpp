#include "firmware/BootRomLibrary.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <thread>

#include "firmware/BootRomProtocol.h"
#include "serial/SerialPort.h"

namespace kavro {
namespace {

using Clock = std::chrono::steady_clock;
using Result = BootRomLibrary::Result;

// The largest file the library reads (an agent or an image).
constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxFileSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return std::nullopt;
  return bytes;
}

std::optional<std::uint32_t> ParseNumber(const std::string& text) {
  try {
    std::size_t used = 0;
    const unsigned long v = std::stoul(text, &used, 0);
    if (used != text.size() || v > 0xFFFFFFFFul) return std::nullopt;
    return static_cast<std::uint32_t>(v);
  } catch (...) {
    return std::nullopt;
  }
}

// One update's conversation with the boot ROM on an open port.
class Session {
 public:
  Session(SerialPort& port, const BootRomTiming& timing, std::stop_token stop, DownloadReport& report)
      : port_(port), timing_(timing), stop_(std::move(stop)), report_(report) {}

  bool Sync() {
    for (int i = 0; i < timing_.syncAttempts; ++i) {
      if (Stopped()) return false;
      const std::uint8_t sync = brom::kSync;
      if (!Send(&sync, 1)) return false;
      const auto deadline = Clock::now() + timing_.syncWait;
      do {
        std::uint8_t buf[64];
        std::size_t got = 0;
        if (!port_.Read(buf, sizeof buf, got)) return false;
        if (std::find(buf, buf + got, brom::kSyncAnswer) != buf + got) return true;
        std::this_thread::sleep_for(timing_.poll);
      } while (Clock::now() < deadline);
    }
    return false;
  }

  // Sends one frame and waits for its acknowledgement, resending within the bounds. The
  // reply's payload after the status byte goes to *answer.
  Result Exchange(brom::Command command, const std::vector<std::uint8_t>& payload,
                  std::vector<std::uint8_t>* answer = nullptr, int resends = -1) {
    brom::Frame frame;
    frame.start = brom::kHostStart;
    frame.command = static_cast<std::uint8_t>(command);
    frame.seq = ++seq_;
    frame.payload = payload;
    const std::vector<std::uint8_t> bytes = brom::Encode(frame);
    const int tries = 1 + (resends < 0 ? timing_.resends : resends);
    for (int attempt = 0; attempt < tries; ++attempt) {
      if (Stopped()) return BootRomLibrary::kStopped;
      if (attempt > 0) {
        ++report_.resends;
        reader_.Resync();
      }
      if (!Send(bytes.data(), bytes.size())) return BootRomLibrary::kLinkLost;
      switch (AwaitReply(frame, answer)) {
        case Reply::Ack: return 0;
        case Reply::Refused: return BootRomLibrary::kRefused;
        case Reply::Lost: return BootRomLibrary::kLinkLost;
        case Reply::Retry: break;
      }
    }
    return BootRomLibrary::kNoReply;
  }

  bool Stopped() const { return stop_.stop_requested(); }

 private:
  enum class Reply { Ack, Refused, Retry, Lost };

  bool Send(const std::uint8_t* data, std::size_t size) {
    std::size_t written = 0;
    return port_.Write(data, size, written) && written == size;
  }

  Reply AwaitReply(const brom::Frame& sent, std::vector<std::uint8_t>* answer) {
    const auto deadline = Clock::now() + timing_.replyWait;
    while (true) {
      brom::Frame reply;
      for (auto r = reader_.Next(reply); r != brom::FrameReader::Result::None; r = reader_.Next(reply)) {
        if (r == brom::FrameReader::Result::Damaged) {
          if (reply.seq == sent.seq) return Reply::Retry;
          continue;
        }
        // Answers to earlier tries of earlier frames are stale.
        if (reply.seq != sent.seq || reply.command != sent.command || reply.payload.empty()) continue;
        const auto status = static_cast<brom::Status>(reply.payload[0]);
        if (status == brom::Status::Ack) {
          if (answer) answer->assign(reply.payload.begin() + 1, reply.payload.end());
          return Reply::Ack;
        }
        if (status == brom::Status::Refused) return Reply::Refused;
        return Reply::Retry;
      }
      if (Clock::now() >= deadline) return Reply::Retry;
      std::uint8_t buf[1024];
      std::size_t got = 0;
      if (!port_.Read(buf, sizeof buf, got)) return Reply::Lost;
      if (got > 0)
        reader_.Feed(buf, got);
      else
        std::this_thread::sleep_for(timing_.poll);
    }
  }

  SerialPort& port_;
  const BootRomTiming& timing_;
  std::stop_token stop_;
  DownloadReport& report_;
  brom::FrameReader reader_{brom::kRomStart};
  std::uint16_t seq_ = 0;
};

std::uint8_t Percent(std::uint64_t sent, std::uint64_t total) {
  return total == 0 ? std::uint8_t{100} : static_cast<std::uint8_t>(sent * 100 / total);
}

// Sends `bytes` in blocks of `blockSize` with `dataCommand`, reporting progress after each.
Result SendBlocks(Session& s, brom::Command dataCommand, const std::vector<std::uint8_t>& bytes,
                  std::uint32_t blockSize, const ProgressCallback& progress, std::uint32_t* sentOut) {
  const auto total = static_cast<std::uint32_t>(bytes.size());
  std::uint32_t sent = 0;
  while (sent < total) {
    const std::uint32_t n = std::min(blockSize, total - sent);
    std::vector<std::uint8_t> payload;
    payload.reserve(4 + n);
    brom::PutU32(payload, sent);
    payload.insert(payload.end(), bytes.begin() + sent, bytes.begin() + sent + n);
    if (const Result r = s.Exchange(dataCommand, payload); r != 0) return r;
    sent += n;
    *sentOut = sent;
    if (progress) progress(Percent(sent, total), sent, total);
  }
  return 0;
}

}  // namespace

void SerialBootRom::CreateAgent(AgentHandle& agent) { agent = std::make_unique<DownloadAgent>(); }

void SerialBootRom::CreateImage(ImageHandle& image) { image = std::make_unique<ImageSet>(); }

void SerialBootRom::SetAgentStartAddress(DownloadAgent* agent, std::uint32_t address) {
  if (agent) agent->startAddress = address;
}

BootRomLibrary::Result SerialBootRom::LoadAgent(DownloadAgent* agent, const std::filesystem::path& file) {
  if (!agent || file.empty()) return kRefusedFile;
  auto bytes = ReadWholeFile(file);
  if (!bytes) return kRefusedFile;
  const auto header = brom::CheckAgent(*bytes);
  // An agent built for another address would not run where the boot ROM puts it.
  if (!header || header->loadAddress != agent->startAddress) return kRefusedFile;
  agent->file = std::move(*bytes);
  agent->loaded = true;
  return 0;
}

BootRomLibrary::Result SerialBootRom::LoadScatter(ImageSet* image, const std::filesystem::path& file) {
  if (!image) return kRefusedFile;
  std::ifstream in(file);
  if (!in) return kRefusedFile;
  std::vector<ImageRegion> regions;
  std::string line;
  while (std::getline(in, line)) {
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::string name, start, length, extra;
    if (!(fields >> name)) continue;
    if (!(fields >> start >> length) || (fields >> extra)) return kRefusedFile;
    const auto s = ParseNumber(start);
    const auto l = ParseNumber(length);
    if (!s || !l || *l == 0) return kRefusedFile;
    ImageRegion region;
    region.name = name;
    region.start = *s;
    region.length = *l;
    regions.push_back(std::move(region));
  }
  if (regions.empty()) return kRefusedFile;
  image->regions = std::move(regions);
  return 0;
}

void SerialBootRom::SetPacketLength(ImageSet* image, std::uint32_t length) {
  if (image && length > 0) image->packetLength = std::min<std::uint32_t>(length, 4096);
}

BootRomLibrary::Result SerialBootRom::LoadImage(ImageSet* image, int region, const std::filesystem::path& file) {
  if (!image || region < 0 || static_cast<std::size_t>(region) >= image->regions.size()) return kRefusedFile;
  ImageRegion& r = image->regions[static_cast<std::size_t>(region)];
  auto bytes = ReadWholeFile(file);
  // An empty image or one larger than its region has nothing sensible to write.
  if (!bytes || bytes->empty() || bytes->size() > r.length) return kRefusedFile;
  r.bytes = std::move(*bytes);
  r.loaded = true;
  return 0;
}

void SerialBootRom::EnableRegion(ImageSet* image, int region, bool enabled) {
  if (image && region >= 0 && static_cast<std::size_t>(region) < image->regions.size())
    image->regions[static_cast<std::size_t>(region)].enabled = enabled;
}

BootRomLibrary::Result SerialBootRom::Download(const PortBlock& port, const ToolBlock& tool,
                                               const DownloadBlock& download, std::stop_token stop,
                                               DownloadReport* reportOut) {
  DownloadReport local;
  DownloadReport& report = reportOut ? *reportOut : local;
  report = {};
  const DownloadAgent* agent = tool.agent;
  const ImageSet* images = download.image;
  if (!agent || !agent->loaded || !images) return kNothingLoaded;
  const ImageRegion* region = nullptr;
  for (const ImageRegion& r : images->regions)
    if (r.loaded && r.enabled) {
      region = &r;
      break;
    }
  if (!region) return kNothingLoaded;

  SerialPort serial;
  serial.SetPortName(port.path);
  if (port.baudRate > 0) serial.SetBaudRate(port.baudRate);
  if (!serial.Open()) return kPortFailed;
  Session s(serial, timing_, std::move(stop), report);

  auto finish = [&](Result r) {
    // After a failure, ask the boot ROM to let go without writing; it may not be listening.
    if (r != kDownloadDone && r != kNoBootRom && r != kLinkLost && r != kPortFailed)
      (void)s.Exchange(brom::Command::Reset, {}, nullptr, 0);
    serial.Close();
    return r;
  };

  if (tool.agentStart) tool.agentStart();
  if (!s.Sync()) return finish(s.Stopped() ? kStopped : (serial.Lost() ? kLinkLost : kNoBootRom));
  std::vector<std::uint8_t> hello;
  if (const Result r = s.Exchange(brom::Command::Hello, {}, &hello); r != 0) return finish(r);
  std::uint32_t block = images->packetLength;
  if (hello.size() >= 2) block = std::min<std::uint32_t>(block, std::max<std::uint16_t>(1, brom::GetU16(hello.data())));

  std::vector<std::uint8_t> begin;
  brom::PutU32(begin, agent->startAddress);
  brom::PutU32(begin, static_cast<std::uint32_t>(agent->file.size()));
  brom::PutU32(begin, brom::Crc32(agent->file));
  if (const Result r = s.Exchange(brom::Command::AgentBegin, begin); r != 0) return finish(r);
  if (const Result r = SendBlocks(s, brom::Command::AgentData, agent->file, block, tool.agentProgress, &report.agentBytes);
      r != 0)
    return finish(r);
  if (const Result r = s.Exchange(brom::Command::AgentRun, {}); r != 0) return finish(r);

  if (download.imageStart) download.imageStart();
  begin.clear();
  brom::PutU32(begin, region->start);
  brom::PutU32(begin, static_cast<std::uint32_t>(region->bytes.size()));
  brom::PutU32(begin, brom::Crc32(region->bytes));
  if (const Result r = s.Exchange(brom::Command::ImageBegin, begin); r != 0) return finish(r);
  if (const Result r = SendBlocks(s, brom::Command::ImageData, region->bytes, block, download.imageProgress,
                                  &report.imageBytes);
      r != 0)
    return finish(r);
  std::vector<std::uint8_t> end;
  if (const Result r = s.Exchange(brom::Command::ImageEnd, {}, &end); r != 0) return finish(r);
  if (end.size() >= 2) report.firmwareVersion = brom::GetU16(end.data());
  return finish(kDownloadDone);
}

void SerialBootRom::UnloadAgent(DownloadAgent* agent) {
  if (!agent) return;
  agent->file.clear();
  agent->loaded = false;
}

void SerialBootRom::UnloadImage(ImageSet* image, int region) {
  if (!image || region < 0 || static_cast<std::size_t>(region) >= image->regions.size()) return;
  ImageRegion& r = image->regions[static_cast<std::size_t>(region)];
  r.bytes.clear();
  r.loaded = false;
}

void SerialBootRom::DestroyAgent(AgentHandle& agent) { agent.reset(); }

void SerialBootRom::DestroyImage(ImageHandle& image) { image.reset(); }

}  // namespace kavro
