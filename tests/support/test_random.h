#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <stdexcept>

#include "generator/random_source.h"

namespace tolvane::testing {

// SplitMix64: a small, well-mixed generator with a fixed seed, so test results are exact.
// For tests only; the program draws from the system's cryptographic source.
class SeededSource final : public RandomSource {
 public:
  explicit SeededSource(std::uint64_t seed) : state_(seed) {}
  std::uint8_t NextByte() override {
    if (left_ == 0) {
      std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      bits_ = z ^ (z >> 31);
      left_ = 8;
    }
    --left_;
    const auto byte = static_cast<std::uint8_t>(bits_);
    bits_ >>= 8;
    return byte;
  }
  void Discard() override { ++discards; }
  int discards = 0;  // how often the program let go of held randomness

 private:
  std::uint64_t state_;
  std::uint64_t bits_ = 0;
  int left_ = 0;
};

// Counts the bytes another source hands out.
class CountingSource final : public RandomSource {
 public:
  explicit CountingSource(RandomSource& inner) : inner_(inner) {}
  std::uint8_t NextByte() override {
    ++count;
    return inner_.NextByte();
  }
  std::uint64_t count = 0;

 private:
  RandomSource& inner_;
};

// Hands out the given bytes in order and fails the test when it runs dry.
class ScriptedSource final : public RandomSource {
 public:
  ScriptedSource(std::initializer_list<std::uint8_t> bytes) : bytes_(bytes) {}
  // Draws of UniformBelow(n) for small n: a value below n comes out as itself.
  static ScriptedSource OfDraws(std::initializer_list<std::uint16_t> values) {
    ScriptedSource source{};
    for (std::uint16_t v : values) source.PushDraw(v);
    return source;
  }
  void PushDraw(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes_.push_back(static_cast<std::uint8_t>(value));
  }
  std::uint8_t NextByte() override {
    if (bytes_.empty()) throw std::logic_error("scripted source ran dry");
    const std::uint8_t byte = bytes_.front();
    bytes_.pop_front();
    return byte;
  }
  std::size_t Left() const { return bytes_.size(); }

 private:
  std::deque<std::uint8_t> bytes_;
};

}  // namespace tolvane::testing
