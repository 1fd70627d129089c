#include "BootRom.h"

#include <algorithm>

namespace kavro::sim {

using brom::Command;
using brom::Status;

void BootRom::Enter(std::string& out, Clock::time_point now) {
  active_ = true;
  silent_ = false;
  lastInput_ = now;
  reader_.Clear();
  haveSeq_ = false;
  agent_.clear();
  agentRunning_ = false;
  imageOpen_ = false;
  image_.clear();
  imageBlocks_ = 0;
  out += static_cast<char>(brom::kSyncAnswer);
}

void BootRom::Leave() {
  active_ = false;
  reader_.Clear();
  agent_.clear();
  image_.clear();
  agentRunning_ = false;
  imageOpen_ = false;
}

bool BootRom::ExpireIfIdle(Clock::time_point now) {
  if (!active_ || now - lastInput_ < kIdleExit) return false;
  Leave();
  return true;
}

void BootRom::Answer(const brom::Frame& frame, Status status, const std::vector<std::uint8_t>& extra, std::string& out) {
  brom::Frame reply;
  reply.start = brom::kRomStart;
  reply.command = frame.command;
  reply.seq = frame.seq;
  reply.payload.push_back(static_cast<std::uint8_t>(status));
  reply.payload.insert(reply.payload.end(), extra.begin(), extra.end());
  const std::vector<std::uint8_t> bytes = brom::Encode(reply);
  std::string answer(bytes.begin(), bytes.end());
  if (status != Status::Nak) {
    haveSeq_ = true;
    lastSeq_ = frame.seq;
    lastAnswer_ = answer;
  }
  out += answer;
}

void BootRom::Feed(const std::uint8_t* data, std::size_t size, std::string& out, Events& events, Clock::time_point now) {
  if (!active_) return;
  if (now - lastInput_ >= kResyncGap) reader_.Resync();
  lastInput_ = now;
  reader_.Feed(data, size);
  brom::Frame frame;
  for (auto r = reader_.Next(frame); r != brom::FrameReader::Result::None && active_; r = reader_.Next(frame)) {
    if (silent_) {
      if (r == brom::FrameReader::Result::Frame && frame.command == static_cast<std::uint8_t>(Command::Reset)) {
        Leave();
        events.left = true;
      }
      continue;
    }
    if (r == brom::FrameReader::Result::Damaged) {
      Answer(frame, Status::Nak, {}, out);
      continue;
    }
    if (haveSeq_ && frame.seq == lastSeq_) {
      // The host missed our answer and sent the frame again: answer again, do nothing twice.
      out += lastAnswer_;
      continue;
    }
    Handle(frame, out, events);
  }
  if (active_ && !silent_) out.append(reader_.TakeSyncBytes(), static_cast<char>(brom::kSyncAnswer));
}

void BootRom::Handle(const brom::Frame& frame, std::string& out, Events& events) {
  const std::vector<std::uint8_t>& p = frame.payload;
  auto refuse = [&] { Answer(frame, Status::Refused, {}, out); };
  switch (static_cast<Command>(frame.command)) {
    case Command::Hello: {
      std::vector<std::uint8_t> extra;
      brom::PutU16(extra, kMaxBlock);
      extra.push_back(1);
      return Answer(frame, Status::Ack, extra, out);
    }
    case Command::AgentBegin: {
      if (p.size() != 12 || brom::GetU32(p.data()) != kAgentAddress || brom::GetU32(p.data() + 4) > 0x10000)
        return refuse();
      agentLength_ = brom::GetU32(p.data() + 4);
      agentCrc_ = brom::GetU32(p.data() + 8);
      agent_.clear();
      agentRunning_ = false;
      return Answer(frame, Status::Ack, {}, out);
    }
    case Command::AgentData: {
      if (p.size() < 4 || brom::GetU32(p.data()) != agent_.size() || agent_.size() + p.size() - 4 > agentLength_)
        return refuse();
      agent_.insert(agent_.end(), p.begin() + 4, p.end());
      return Answer(frame, Status::Ack, {}, out);
    }
    case Command::AgentRun: {
      if (agent_.size() != agentLength_ || brom::Crc32(agent_) != agentCrc_ || !brom::CheckAgent(agent_))
        return refuse();
      agentRunning_ = true;
      return Answer(frame, Status::Ack, {}, out);
    }
    case Command::ImageBegin: {
      if (!agentRunning_ || p.size() != 12 || brom::GetU32(p.data()) != kFlashStart) return refuse();
      const std::uint32_t length = brom::GetU32(p.data() + 4);
      if (length == 0 || length > kFlashLength) return refuse();
      imageLength_ = length;
      imageCrc_ = brom::GetU32(p.data() + 8);
      image_.clear();
      imageBlocks_ = 0;
      imageOpen_ = true;
      events.erased = true;
      return Answer(frame, Status::Ack, {}, out);
    }
    case Command::ImageData: {
      if (!imageOpen_ || p.size() < 4 || brom::GetU32(p.data()) != image_.size() ||
          image_.size() + p.size() - 4 > imageLength_)
        return refuse();
      if (stopAfterImageBlocks >= 0 && imageBlocks_ >= stopAfterImageBlocks) {
        silent_ = true;
        return;
      }
      image_.insert(image_.end(), p.begin() + 4, p.end());
      ++imageBlocks_;
      return Answer(frame, Status::Ack, {}, out);
    }
    case Command::ImageEnd: {
      if (!imageOpen_ || image_.size() != imageLength_ || brom::Crc32(image_) != imageCrc_) return refuse();
      flash_ = image_;
      const int version = brom::ImageFirmwareVersion(flash_.data(), flash_.size()).value_or(0);
      events.committed = version;
      std::vector<std::uint8_t> extra;
      brom::PutU16(extra, static_cast<std::uint16_t>(version));
      Answer(frame, Status::Ack, extra, out);
      Leave();
      events.left = true;
      return;
    }
    case Command::Reset: {
      Answer(frame, Status::Ack, {}, out);
      Leave();
      events.left = true;
      return;
    }
  }
  refuse();
}

std::vector<std::uint8_t> SampleFirmwareFile(int version, std::size_t imageSize) {
  const std::string head = "T-580 firmware " + std::string(brom::kVersionMark) + std::to_string(version % 1000 + 1000).substr(1);
  std::vector<std::uint8_t> file(std::max(imageSize, head.size()));
  std::copy(head.begin(), head.end(), file.begin());
  std::uint32_t x = static_cast<std::uint32_t>(version) * 2654435761u;
  for (std::size_t i = head.size(); i < file.size(); ++i) {
    x = x * 1103515245u + 12345u;
    file[i] = static_cast<std::uint8_t>(x >> 16);
  }
  const std::uint32_t crc = brom::Crc32(file);
  brom::PutU32(file, crc);
  return file;
}

}  // namespace kavro::sim
