// The simulated logger's boot ROM on the line: a sync byte wakes it, and from then on every
// byte goes to it until it leaves.
#include "SimulatorImpl.h"

namespace kavro::sim {

void Simulator::Impl::ApplyStateFaults() {
  if (options.faults.blankBtAddress) state.btAddress.fill(0xFF);
}

bool Simulator::Impl::BootRomTakes(const char* p, std::size_t n) {
  std::lock_guard lock(mu);
  const auto now = Clock::now();
  std::string answer;
  if (!bootRom.Active()) {
    if (n == 0 || static_cast<std::uint8_t>(*p) != brom::kSync || options.faults.bootRomSilent) return false;
    // Whatever half line came before belongs to the old firmware.
    line.clear();
    bootRom.stopAfterImageBlocks = options.faults.bootRomStopAfterBlocks;
    bootRom.Enter(answer, now);
    state.inBootRom = true;
    ++p;
    --n;
    if (options.trace) options.trace("< boot ROM sync");
  }
  BootRom::Events events;
  bootRom.Feed(reinterpret_cast<const std::uint8_t*>(p), n, answer, events, now);
  if (events.erased) {
    // The address lives in the flash the image overwrites.
    state.btAddress.fill(0xFF);
    if (options.trace) options.trace("  boot ROM: flash erased");
  }
  if (events.committed) {
    if (*events.committed > 0) state.firmware = *events.committed;
    ++state.firmwareUpdates;
    if (options.trace) options.trace("  boot ROM: image written, firmware " + std::to_string(*events.committed));
  }
  if (events.left || !bootRom.Active()) state.inBootRom = false;
  if (!answer.empty()) {
    OutItem item;
    item.bytes = std::move(answer);
    out.push_back(std::move(item));
  }
  return true;
}

std::chrono::milliseconds Simulator::Impl::BootRomIdle() {
  if (!bootRom.Active()) return std::chrono::milliseconds(200);
  if (bootRom.ExpireIfIdle(Clock::now())) {
    state.inBootRom = false;
    if (options.trace) options.trace("  boot ROM: host went quiet, back to the firmware");
    return std::chrono::milliseconds(200);
  }
  return std::chrono::milliseconds(100);
}

}  // namespace kavro::sim
