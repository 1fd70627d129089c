#pragma once
// What the widget tests share: a simulated T-580 on a real pseudo-terminal, offered in the
// Device page's port list, and the steps to connect to it through the real buttons.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DevicePage.h"
#include "MainWindow.h"
#include "Simulator.h"

namespace kavro::gui::test {

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

  // Sentences received so far that begin with prefix.
  std::vector<std::string> ReceivedWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& s : sim->Received())
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
  }
};

inline QPushButton* Button(QWidget* root, const char* name) { return root->findChild<QPushButton*>(QString::fromLatin1(name)); }

// Offers the logger in the port list, chooses it and clicks Connect; returns when the
// connect job has ended and its results are on show.
inline void ClickConnect(DevicePage* page, const SimulatedLogger& logger) {
  std::vector<PortInfo> ports{logger.Port()};
  page->SetExtraPorts(ports);
  page->SelectPort(logger.path);
  Button(page, "connectButton")->click();
  page->WaitForIdle();
  QApplication::processEvents();
}

inline void ClickDisconnect(DevicePage* page) {
  Button(page, "connectButton")->click();
  page->WaitForIdle();
  QApplication::processEvents();
}

}  // namespace kavro::gui::test
