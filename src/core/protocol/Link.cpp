#include "protocol/Link.h"

namespace kavro {

Link::Link(ExchangeTiming timing) : timing_(timing) {}

Link::~Link() = default;

bool Link::OpenSelected(const std::string& portPath, int baudRate) {
  auto lock = Lock();
  if (!port_.IsOpen()) {
    port_.SetPortName(portPath);
    if (baudRate > 0) port_.SetBaudRate(baudRate);
  }
  const bool wasOpen = port_.IsOpen();
  const bool open = port_.EnsureOpen();
  if (open && !wasOpen) {
    linkLost_ = false;
    carry_.Clear();
  }
  portOpen = open;
  return open;
}

void Link::ClosePort() {
  auto lock = Lock();
  if (port_.IsOpen()) port_.Close();
  carry_.Clear();
  portOpen = false;
}

void Link::BeginSession() {
  auto lock = Lock();
  sessionActive_ = true;
}

void Link::EndSession() {
  auto lock = Lock();
  sessionActive_ = false;
}

void Link::MarkLost() {
  linkLost_ = true;
  portOpen = false;
}

void Link::SetPortSelection(const PortSelection& selection) {
  std::lock_guard<std::mutex> lock(selectionMutex_);
  selection_ = selection;
}

PortSelection Link::GetPortSelection() const {
  std::lock_guard<std::mutex> lock(selectionMutex_);
  return selection_;
}

}  // namespace kavro
