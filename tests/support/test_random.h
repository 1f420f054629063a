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
  std::uint32_t NextWord() override {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
  }

 private:
  std::uint64_t state_;
};

// Counts the words another source hands out.
class CountingSource final : public RandomSource {
 public:
  explicit CountingSource(RandomSource& inner) : inner_(inner) {}
  std::uint32_t NextWord() override {
    ++count;
    return inner_.NextWord();
  }
  std::uint64_t count = 0;

 private:
  RandomSource& inner_;
};

// Hands out the given words in order and fails the test when it runs dry.
class ScriptedSource final : public RandomSource {
 public:
  ScriptedSource(std::initializer_list<std::uint32_t> words) : words_(words) {}
  void Push(std::uint32_t word) { words_.push_back(word); }
  std::uint32_t NextWord() override {
    if (words_.empty()) throw std::logic_error("scripted source ran dry");
    const std::uint32_t word = words_.front();
    words_.pop_front();
    return word;
  }
  std::size_t Left() const { return words_.size(); }

 private:
  std::deque<std::uint32_t> words_;
};

// The smallest word that UniformBelow(n) maps to value (for n where nothing is rejected
// below it): value itself when value >= 2^32 mod n, else value + n.
inline std::uint32_t WordFor(std::uint32_t value, std::uint32_t n) {
  const std::uint32_t rejectBelow = (0u - n) % n;
  return value >= rejectBelow ? value : value + n;
}

}  // namespace tolvane::testing
