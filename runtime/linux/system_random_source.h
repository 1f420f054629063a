#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "generator/random_source.h"

namespace tolvane::runtime {

// Words from the kernel's cryptographic generator (getrandom) through libsodium, fetched in
// blocks so that a refresh costs a few system calls rather than one per draw. Each word is
// wiped from the block as it is handed out, and Wipe() clears whatever is left, so no
// randomness outlives the refresh that used it.
class SystemRandomSource final : public RandomSource {
 public:
  static constexpr std::size_t kBlockWords = 1024;  // 4 KiB per request

  SystemRandomSource();  // throws std::runtime_error when libsodium cannot start
  ~SystemRandomSource() override;
  SystemRandomSource(const SystemRandomSource&) = delete;
  SystemRandomSource& operator=(const SystemRandomSource&) = delete;

  std::uint32_t NextWord() override;
  void Wipe();

  std::size_t WordsHeld() const { return kBlockWords - next_; }
  std::span<const std::uint32_t> Block() const { return block_; }
  std::uint64_t Requests() const { return requests_; }

 private:
  std::array<std::uint32_t, kBlockWords> block_{};
  std::size_t next_ = kBlockWords;
  std::uint64_t requests_ = 0;
};

}  // namespace tolvane::runtime
