// The simulated T-580's public face: construction, start and stop, state for the tests.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "SimulatorImpl.h"

namespace kavro::sim {

Simulator::Simulator(Scenario scenario, SimulatorOptions options) : impl_(std::make_unique<Impl>()) {
  Impl& d = *impl_;
  d.options = std::move(options);
  d.faultRng.seed(d.options.faults.seed);
  d.memory = BuildMemoryImage(scenario);
  d.state.userName = scenario.userName.substr(0, 16);
  d.state.basis = scenario.basis;
  d.state.timeZone = scenario.timeZone;
  d.state.unit = scenario.unit;
  d.state.timeInterval = scenario.timeInterval;
  d.state.distanceInterval = scenario.distanceInterval;
  d.state.recordMode = scenario.recordMode;
  d.state.writePosition = sim::WritePosition(scenario);
  d.state.firmware = scenario.firmware;
  d.state.hardware = scenario.hardware;
  d.state.btAddress = scenario.btAddress;
  d.ApplyStateFaults();
  d.scenario = std::move(scenario);
}

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(std::string* error) {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    if (d.master >= 0) ::close(d.master);
    d.master = -1;
    return false;
  };
  if (d.thread.joinable() || d.stopFlag || d.unplugFlag) {
    if (error) *error = "the simulator was already started";
    return false;
  }
  d.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (d.master < 0) return fail("posix_openpt");
  if (::grantpt(d.master) != 0) return fail("grantpt");
  if (::unlockpt(d.master) != 0) return fail("unlockpt");
  char name[128];
  if (::ptsname_r(d.master, name, sizeof name) != 0) return fail("ptsname");
  termios tio{};
  if (::tcgetattr(d.master, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B38400);
    ::cfsetospeed(&tio, B38400);
    ::tcsetattr(d.master, TCSANOW, &tio);
  }
  const int flags = ::fcntl(d.master, F_GETFL);
  if (flags < 0 || ::fcntl(d.master, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
  if (::pipe2(d.wake, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
  d.slavePath = name;
  {
    std::lock_guard lock(d.mu);
    d.repliesSinceFaults = 0;
    d.bytesSinceFaults = 0;
  }
  d.running = true;
  d.thread = std::thread([&d] { d.Run(); });
  return true;
}

std::string Simulator::SlavePath() const { return impl_->slavePath; }

void Simulator::Stop() {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  d.stopFlag = true;
  d.Wake();
  if (d.thread.joinable()) d.thread.join();
  if (d.master >= 0) ::close(d.master);
  d.master = -1;
  d.running = false;
  for (int& fd : d.wake) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void Simulator::Unplug() {
  Impl& d = *impl_;
  std::lock_guard life(d.lifeMu);
  d.unplugFlag = true;
  d.Wake();
  if (d.thread.joinable()) d.thread.join();
  if (d.master >= 0) ::close(d.master);
  d.master = -1;
  d.running = false;
}

bool Simulator::Running() const { return impl_->running; }

std::vector<std::string> Simulator::Received() const {
  std::lock_guard lock(impl_->recvMu);
  return impl_->received;
}

void Simulator::ClearReceived() {
  std::lock_guard lock(impl_->recvMu);
  impl_->received.clear();
}

bool Simulator::WaitForReceived(const std::string& prefix, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->recvMu);
  return impl_->recvCv.wait_for(lock, timeout, [&] {
    return std::any_of(impl_->received.begin(), impl_->received.end(),
                       [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
  });
}

std::int64_t Simulator::BytesSent() const {
  std::lock_guard lock(impl_->mu);
  return impl_->bytesSent;
}

void Simulator::SetFaults(const Faults& faults) {
  {
    std::lock_guard lock(impl_->mu);
    impl_->options.faults = faults;
    impl_->ApplyStateFaults();
    impl_->repliesSinceFaults = 0;
    impl_->bytesSinceFaults = 0;
    impl_->faultRng.seed(faults.seed);
    impl_->silenceUntil.reset();
  }
  impl_->Wake();
}

DeviceState Simulator::State() const {
  std::lock_guard lock(impl_->mu);
  return impl_->state;
}

std::string Simulator::UserName() const { return State().userName; }
int Simulator::TimeInterval() const { return State().timeInterval; }
int Simulator::DistanceInterval() const { return State().distanceInterval; }
int Simulator::RecordMode() const { return State().recordMode; }
int Simulator::Basis() const { return State().basis; }
std::uint32_t Simulator::WritePosition() const { return State().writePosition; }
int Simulator::Baud() const { return State().baud; }

std::vector<std::uint8_t> Simulator::Memory() const {
  std::lock_guard lock(impl_->mu);
  return impl_->memory;
}

bool Simulator::Record(const std::vector<Slot>& slots) {
  std::lock_guard lock(impl_->mu);
  std::vector<std::uint8_t>& flash = impl_->memory;
  std::uint32_t& position = impl_->state.writePosition;
  for (const Slot& slot : slots) {
    if (position >= memory::kSize) return false;
    const std::uint32_t sector = position / memory::kSectorSize;
    const std::uint32_t offset = position % memory::kSectorSize;
    const std::uint32_t index =
        sector * memory::kSlotsPerSector + (offset < memory::kSectorHeaderSize ? 0 : (offset - memory::kSectorHeaderSize) / memory::kRecordSize);
    if (index % memory::kSlotsPerSector == 0) {
      // A new sector: erased, and its header written, before the first slot.
      // Its pass number is the sector's own: a memory that never wrapped.
      auto* start = flash.data() + std::size_t{sector} * memory::kSectorSize;
      std::fill(start, start + memory::kSectorSize, std::uint8_t{0xFF});
      for (int i = 0; i < 4; ++i) start[i] = static_cast<std::uint8_t>(sector >> (8 * i));
      std::copy_n("KAVRO-SECTOR", 12, start + 4);
    }
    std::copy(slot.begin(), slot.end(), flash.begin() + SlotAddress(index));
    position = index + 1 < memory::kSlotCount ? SlotAddress(index + 1) : memory::kSize;
  }
  return true;
}

void Simulator::ReplaceMemory(const Scenario& scenario) {
  std::lock_guard lock(impl_->mu);
  impl_->memory = BuildMemoryImage(scenario);
  impl_->state.writePosition = sim::WritePosition(scenario);
}

std::vector<std::uint8_t> Simulator::FirmwareImage() const {
  std::lock_guard lock(impl_->mu);
  return impl_->bootRom.Flash();
}

std::unique_ptr<Simulator> StartSimulator(const std::string& scenarioName, std::string* error,
                                          SimulatorOptions options) {
  std::optional<Scenario> scenario = ScenarioByName(scenarioName.empty() ? "demo" : scenarioName);
  if (!scenario) {
    if (error) *error = "unknown scenario \"" + scenarioName + "\"";
    return nullptr;
  }
  auto sim = std::make_unique<Simulator>(std::move(*scenario), std::move(options));
  if (!sim->Start(error)) return nullptr;
  return sim;
}

}  // namespace kavro::sim

