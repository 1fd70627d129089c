#pragma once
// What the widget tests share: a simulated T-580 on a real pseudo-terminal, offered in the
// Device page's port list, and the steps to connect to it through the real buttons.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DevicePage.h"
#include "MainWindow.h"
#include "Simulator.h"
#include "support/PortEntries.h"

namespace kavro::test {

using gui::DevicePage;
using gui::MainWindow;

struct SimulatedLogger {
  std::unique_ptr<sim::Simulator> sim;
  std::string path;

  // Starts the named scenario, changed by `edit` first.
  template <typename Edit>
  static SimulatedLogger Start(const std::string& scenario, Edit edit, sim::SimulatorOptions options = {}) {
    SimulatedLogger s;
    std::optional<sim::Scenario> sc = sim::ScenarioByName(scenario);
    if (!sc) return s;
    edit(*sc);
    options.eraseDelay = std::chrono::milliseconds(50);
    s.sim = std::make_unique<sim::Simulator>(*sc, options);
    std::string error;
    if (!s.sim->Start(&error)) {
      s.sim.reset();
      return s;
    }
    s.path = s.sim->SlavePath();
    return s;
  }
  static SimulatedLogger Start(const std::string& scenario = "demo") {
    return Start(scenario, [](sim::Scenario&) {});
  }

  PortInfo Port(const std::string& description = "Test logger") const {
    PortInfo p;
    p.devicePath = path;
    p.portName = path;
    p.description = description;
    p.isVirtual = true;
    CompletePortInfo(p);
    return p;
  }

  // The same port as the discovery reports a CP210x bridge.
  PortInfo Cp210xPort() const { return Cp210xEntry(path); }

  // Sentences received so far that begin with prefix.
  std::vector<std::string> ReceivedWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& s : sim->Received())
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
  }
};

// Lets the window run until cond holds, at most ms; false when it never did.
template <typename Cond>
inline bool WaitFor(Cond cond, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!cond()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

inline QPushButton* Button(QWidget* root, const char* name) { return root->findChild<QPushButton*>(QString::fromLatin1(name)); }

// Offers the ports in the port list, chooses the one of `path` and clicks Connect; returns
// whether the page is connected once the connect job has ended and its results are on show.
inline bool ConnectThrough(DevicePage* page, const std::vector<PortInfo>& offered, const std::string& path) {
  page->SetExtraPorts(offered);
  if (!page->SelectPort(path)) return false;
  Button(page, "connectButton")->click();
  page->WaitForIdle();
  QApplication::processEvents();
  return page->IsConnected();
}

inline void ClickConnect(DevicePage* page, const SimulatedLogger& logger) { ConnectThrough(page, {logger.Port()}, logger.path); }

inline void ClickDisconnect(DevicePage* page) {
  Button(page, "connectButton")->click();
  page->WaitForIdle();
  QApplication::processEvents();
}

}  // namespace kavro::test

// The widget tests name these kavro::gui::test:: as well.
namespace kavro::gui {
namespace test = ::kavro::test;
}
