// The password rule with the system's cryptographic source: one password and one refresh of
// ten, for the default settings, the worst case (digits only, both bounds 50: about 16 draws
// per character) and all six classes at 50. Reports the randomness drawn per refresh.
#include <benchmark/benchmark.h>

#include "generator/password_rule.h"
#include "runtime/linux/system_random_source.h"

namespace tolvane {
namespace {

class CountingBytes final : public RandomSource {
 public:
  explicit CountingBytes(RandomSource& inner) : inner_(inner) {}
  std::uint32_t NextWord() override {
    bytes += sizeof(std::uint32_t);
    return inner_.NextWord();
  }
  std::uint64_t bytes = 0;

 private:
  RandomSource& inner_;
};

struct Case {
  OptionFlags flags;
  int a;
  int b;
};

constexpr Case kDefaults{{1, 1, 1, 1, 0, 0}, 8, 12};
constexpr Case kDigitsOnly50{{1, 0, 0, 0, 0, 0}, 50, 50};
constexpr Case kAllSix50{{1, 1, 1, 1, 1, 1}, 50, 50};

void OnePassword(benchmark::State& state, Case c) {
  runtime::SystemRandomSource system;
  CountingBytes random(system);
  for (auto _ : state) benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
  state.counters["random_bytes"] =
      benchmark::Counter(static_cast<double>(random.bytes) / state.iterations());
}

// A refresh: ten passwords, then the unused randomness wiped, as the program does.
void Refresh(benchmark::State& state, Case c) {
  runtime::SystemRandomSource system;
  CountingBytes random(system);
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
    system.Wipe();
  }
  state.counters["random_bytes"] =
      benchmark::Counter(static_cast<double>(random.bytes) / state.iterations());
  state.counters["requests"] =
      benchmark::Counter(static_cast<double>(system.Requests()) / state.iterations());
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
