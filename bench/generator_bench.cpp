// The password rule with the system's cryptographic source: one password and one refresh of
// ten, for the default settings, the worst case (digits only, both bounds 50: about 16 draws
// per character) and all six classes at 50. Every run starts with an empty block, as after
// the program's wipe. Reports the randomness drawn and the 4 KiB blocks fetched for it.
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

// The system's source, counting the bytes it hands out.
class CountedSource final : public RandomSource {
 public:
  std::uint8_t NextByte() override {
    ++bytes_;
    return system_.NextByte();
  }
  // The unused rest of the block is wiped; the next byte takes a fresh block.
  void Discard() override {
    system_.Discard();
    blocks_ += (bytes_ + kBlock - 1) / kBlock;
    total_ += bytes_;
    bytes_ = 0;
  }
  double BytesPer(const benchmark::State& state) const { return Per(total_, state); }
  double BlocksPer(const benchmark::State& state) const { return Per(blocks_, state); }

 private:
  static constexpr std::uint64_t kBlock = system::SystemRandomSource::kBlockBytes;
  static double Per(std::uint64_t n, const benchmark::State& state) {
    return static_cast<double>(n) / static_cast<double>(state.iterations());
  }
  system::SystemRandomSource system_;
  std::uint64_t bytes_ = 0, total_ = 0, blocks_ = 0;
};

void OnePassword(benchmark::State& state, Case c) {
  CountedSource random;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
    random.Discard();
  }
  state.counters["random_bytes"] = random.BytesPer(state);
}

// A refresh: ten passwords, then the unused randomness wiped, as the program does.
void Refresh(benchmark::State& state, Case c) {
  CountedSource random;
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i)
      benchmark::DoNotOptimize(GeneratePassword(c.flags, c.a, c.b, random));
    random.Discard();
  }
  state.counters["random_bytes"] = random.BytesPer(state);
  state.counters["blocks"] = random.BlocksPer(state);
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
