// How long the logger link takes at its real pace (38 ms polls) against the simulated T-580:
// one identification exchange, one settings query, a whole Connect (with the extra values)
// and Disconnect, unpaced and paced at 38400 baud.
//   bench_link [--runs N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Simulator.h"
#include "protocol/ConnectFlow.h"
#include "protocol/Disconnect.h"
#include "protocol/Exchange.h"

using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

template <typename Fn>
double TimeMs(Fn&& fn) {
  const auto t0 = Clock::now();
  fn();
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

bool Bench(bool paced, int runs) {
  kavro::sim::SimulatorOptions options;
  options.paced = paced;
  std::string error;
  auto sim = kavro::sim::StartSimulator("demo", &error, options);
  if (!sim) {
    std::fprintf(stderr, "bench_link: %s\n", error.c_str());
    return false;
  }
  std::vector<double> ident, query, connect, disconnect;
  for (int i = 0; i < runs; ++i) {
    kavro::Link link;
    kavro::DeviceState device;
    kavro::ConnectResult r;
    connect.push_back(TimeMs([&] { r = kavro::Connect(link, device, sim->SlavePath(), 38400, {}); }));
    if (r.outcome != kavro::ConnectOutcome::Connected) {
      std::fprintf(stderr, "bench_link: connect failed\n");
      return false;
    }
    ident.push_back(TimeMs([&] { kavro::IdentExchange(link, 6); }));
    query.push_back(TimeMs([&] { kavro::PmtkRequest(link, 2, 3, 0); }));
    disconnect.push_back(TimeMs([&] { kavro::Disconnect(link, device, {}, {}); }));
  }
  std::printf("%-8s ident exchange %7.1f ms   query %7.1f ms   connect %7.1f ms   disconnect %7.1f ms  (median of %d)\n",
              paced ? "paced" : "unpaced", Median(ident), Median(query), Median(connect), Median(disconnect), runs);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
  return Bench(false, runs) && Bench(true, runs) ? 0 : 1;
}
