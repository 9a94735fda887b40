// Production veil update against the step-by-step update, in one run. Before
// timing, both are run side by side from the same veil and compared.
#include "engine/veil.h"
#include "tests/oracle/veil_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

using namespace orvane::engine;
using namespace orvane::oracle;

namespace {

constexpr float kFrameStep = 0.016f;

Veil FreshVeil() {
  RandomGenerator random;
  SeedRandom(random, 20240601);
  return CreateVeil(random);
}

// Largest intensity difference over a few hundred frames; the run fails above 1e-5.
float CompareUpdates() {
  Veil fast = FreshVeil();
  Veil slow = fast;
  float worst = 0;
  for (int frame = 0; frame < 300; ++frame) {
    const float dt = frame % 50 == 0 ? 1.5f : kFrameStep;
    UpdateVeil(fast, dt);
    ReferenceUpdateVeil(slow, dt);
    for (std::size_t n = 0; n < fast.grid.size(); ++n)
      worst = std::max(worst, std::fabs(fast.grid[n].intensity - slow.grid[n].intensity));
  }
  return worst;
}

void BM_VeilUpdate(benchmark::State& state) {
  Veil veil = FreshVeil();
  for (auto _ : state) {
    UpdateVeil(veil, kFrameStep);
    benchmark::DoNotOptimize(veil.grid.data());
  }
}
BENCHMARK(BM_VeilUpdate);

void BM_VeilUpdateReference(benchmark::State& state) {
  Veil veil = FreshVeil();
  for (auto _ : state) {
    ReferenceUpdateVeil(veil, kFrameStep);
    benchmark::DoNotOptimize(veil.grid.data());
  }
}
BENCHMARK(BM_VeilUpdateReference);

// The console report, plus each benchmark's CPU time per iteration (the
// median when repetitions are asked for) to state the speed-up at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || median)
        cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
  }
  std::map<std::string, double> cpuTime;
};

}  // namespace

int main(int argc, char** argv) {
  const float worst = CompareUpdates();
  std::printf("largest intensity difference, production vs reference: %g\n", worst);
  if (!(worst <= 1e-5f)) {
    std::fprintf(stderr, "production update differs from the reference\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto fast = reporter.cpuTime.find("BM_VeilUpdate");
  const auto slow = reporter.cpuTime.find("BM_VeilUpdateReference");
  if (fast != reporter.cpuTime.end() && slow != reporter.cpuTime.end() && fast->second > 0)
    std::printf("production update is %.2f times as fast as the step-by-step update (CPU time)\n",
                slow->second / fast->second);
  return 0;
}
