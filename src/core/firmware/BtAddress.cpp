#include "firmware/BtAddress.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <cstdio>
#include <thread>

#include "protocol/ProtocolNumbers.h"
#include "protocol/Sentence.h"
#include "serial/SerialPort.h"

namespace kavro {
namespace {

constexpr std::string_view kReplyWord = word::kBtAddress;
constexpr std::string_view kAckWord = word::kBtAccepted;
// One read takes at most about one sentence.
constexpr std::size_t kReadSize = 80;
// What is kept between reads, so a reply split over two reads is still found.
constexpr std::size_t kKeep = 4 * kReadSize;

void ReadMore(SerialPort& port, std::string& text) {
  char buf[kReadSize];
  std::size_t got = 0;
  if (port.Read(buf, sizeof buf, got) && got > 0) text.append(buf, got);
  if (text.size() > kKeep) text.erase(0, text.size() - kKeep);
}

bool OpenPort(SerialPort& port, const std::string& name, int baud) {
  port.SetPortName(name);
  if (baud > 0) port.SetBaudRate(baud);
  return port.Open();
}

}  // namespace

std::optional<BtAddress> ParseBtAddressReply(std::string_view text) {
  for (std::size_t at = text.find(kReplyWord); at != std::string_view::npos; at = text.find(kReplyWord, at + 1)) {
    const std::string_view sentence = text.substr(at);
    if (!HasValidChecksum(sentence)) continue;
    std::string_view digits = sentence.substr(kReplyWord.size());
    if (digits.empty() || digits.front() != ',') continue;
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == ',') digits.remove_prefix(1);
    digits = digits.substr(0, digits.find('*'));
    BtAddress address{};
    if (digits.size() != 12 || !HexPairsToBytes(digits, address.data(), address.size())) continue;
    return address;
  }
  return std::nullopt;
}

std::string SavedBtText(const BtAddress& a) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X", a[5], a[4], a[3], a[2], a[1], a[0]);
  return buf;
}

std::optional<BtAddress> ParseSavedBtText(std::string_view text) {
  if (text.size() < 17) return std::nullopt;
  BtAddress a{};
  for (std::size_t i = 0; i < 6; ++i) {
    std::uint8_t byte = 0;
    if (!HexPairsToBytes(text.substr(3 * i, 2), &byte, 1)) return std::nullopt;
    a[5 - i] = byte;
  }
  return a;
}

std::string BtAddressText(const BtAddress& a) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return buf;
}

std::string BtSetSentence(const BtAddress& a) {
  char body[32];
  std::snprintf(body, sizeof body, "%.*s,%02X%02X%02X,%02X%02X%02X", static_cast<int>(word::kBtSet.size()),
                word::kBtSet.data(), a[0], a[1], a[2], a[3], a[4], a[5]);
  return AppendChecksum(body);
}

std::optional<std::string> BtAddressStore::Load() const {
  const QSettings settings(QStringLiteral("Kavro"), QStringLiteral("T580"));
  const QVariant v = settings.value(QLatin1String(kValueName));
  if (v.typeId() != QMetaType::QString) return std::nullopt;
  const std::string text = v.toString().toStdString();
  if (text.empty()) return std::nullopt;
  return text;
}

bool BtAddressStore::Save(const std::string& text) {
  QSettings settings(QStringLiteral("Kavro"), QStringLiteral("T580"));
  settings.setValue(QLatin1String(kValueName), QString::fromStdString(text));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

BtQuery QueryBtAddress(const std::string& portName, int baudRate, const BtTiming& timing) {
  BtQuery q;
  SerialPort port;
  if (!OpenPort(port, portName, baudRate)) {
    q.openError = port.LastOpenError();
    q.openErrorText = port.LastErrorText();
    return q;
  }
  q.portOpened = true;
  std::size_t written = 0;
  port.Write(kBtAddressRequest.data(), kBtAddressRequest.size(), written);
  std::string text;
  ReadMore(port, text);
  q.address = ParseBtAddressReply(text);
  for (int i = 0; !q.address && i < timing.readPolls && !port.Lost(); ++i) {
    std::this_thread::sleep_for(timing.readPoll);
    ReadMore(port, text);
    q.address = ParseBtAddressReply(text);
  }
  port.Close();
  return q;
}

BtReadResult ReadBtAddress(const std::string& portName, int baudRate, BtAddressStore& store, const BtTiming& timing) {
  BtReadResult result;
  const BtQuery q = QueryBtAddress(portName, baudRate, timing);
  if (!q.portOpened) return result;
  result.portOpened = true;
  std::optional<BtAddress> saved;
  if (const auto savedText = store.Load()) saved = ParseSavedBtText(*savedText);
  if (q.address && *q.address != kNoBtAddress) {
    result.address = *q.address;
    result.source = BtSource::Logger;
  } else if (saved) {
    result.address = *saved;
    result.source = BtSource::Saved;
  } else {
    result.address = kNoBtAddress;
    result.source = BtSource::None;
  }
  store.Save(SavedBtText(result.address));
  return result;
}

bool WriteBtAddress(const std::string& portName, int baudRate, const BtAddress& address, const BtTiming& timing) {
  SerialPort port;
  if (!OpenPort(port, portName, baudRate)) return false;
  const std::string sentence = BtSetSentence(address);
  std::this_thread::sleep_for(timing.writeDelay);
  std::size_t written = 0;
  port.Write(sentence.data(), sentence.size(), written);
  std::string text;
  ReadMore(port, text);
  bool acknowledged = text.find(kAckWord) != std::string::npos;
  for (int i = 0; !acknowledged && i < timing.ackPolls && !port.Lost(); ++i) {
    std::this_thread::sleep_for(timing.ackPoll);
    ReadMore(port, text);
    acknowledged = text.find(kAckWord) != std::string::npos;
  }
  if (acknowledged) std::this_thread::sleep_for(timing.afterAck);
  port.Close();
  return acknowledged;
}

}  // namespace kavro
