// The password rule with the system's cryptographic source: one password and one refresh of
// ten, for the default settings, the worst case (digits only, both bounds 50: about 16 draws
// per character) and all six classes at 50. Every run starts with an empty block, as after
// the program's wipe. Reports the randomness drawn and the system calls made.
#include <benchmark/benchmark.h>

#include "generator/password_rule.h"
#include "runtime/system/system_random_source.h"

namespace tolvane {
namespace {

struct Case {
  OptionFlags flags;
  int a;
  int b;
};

constexpr Case kDefaults{{1, 1, 1, 1, 0, 0}, 8, 12};
constexpr Case kDigitsOnly50{{1, 0, 0, 0, 0, 0}, 50, 50};
constexpr Case kAllSix50{{1, 1, 1, 1, 1, 1}, 50, 50};

// Bytes the source handed out: all it fetched less what it still holds.
double BytesUsed(const system::SystemRandomSource& random, std::uint64_t requestsBefore) {
  return static_cast<double>((random.Requests() - requestsBefore) *
                                 system::SystemRandomSource::kBlockBytes -
                             random.BytesHeld());
}

void OnePassword(benchmark::State& state, Case c) {
  system::SystemRandomSource random;
  double bytes = 0;
  for (auto _ : state) {
    const std::uint64_t before = random.Requests();
    benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
    bytes += BytesUsed(random, before);
    random.Discard();
  }
  state.counters["random_bytes"] = bytes / static_cast<double>(state.iterations());
}

// A refresh: ten passwords, then the unused randomness wiped, as the program does.
void Refresh(benchmark::State& state, Case c) {
  system::SystemRandomSource random;
  double bytes = 0;
  for (auto _ : state) {
    const std::uint64_t before = random.Requests();
    for (int i = 0; i < 10; ++i)
      benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
    bytes += BytesUsed(random, before);
    random.Discard();
  }
  state.counters["random_bytes"] = bytes / static_cast<double>(state.iterations());
  state.counters["requests"] =
      static_cast<double>(random.Requests()) / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(OnePassword, defaults, kDefaults);
BENCHMARK_CAPTURE(OnePassword, digits_only_50, kDigitsOnly50);
BENCHMARK_CAPTURE(OnePassword, all_six_50, kAllSix50);
BENCHMARK_CAPTURE(Refresh, defaults, kDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Refresh, digits_only_50, kDigitsOnly50)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Refresh, all_six_50, kAllSix50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tolvane

BENCHMARK_MAIN();
