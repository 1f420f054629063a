#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "generator/random_source.h"

namespace tolvane::runtime {

// Bytes from the system's preferred cryptographic generator (BCryptGenRandom), fetched in
// 4 KiB blocks. Each byte is wiped from the block as it is handed out, and Wipe() clears
// whatever is left, so no randomness outlives the refresh that used it.
class SystemRandomSource final : public RandomSource {
 public:
  static constexpr std::size_t kBlockBytes = 4096;

  SystemRandomSource() = default;
  ~SystemRandomSource() override;
  SystemRandomSource(const SystemRandomSource&) = delete;
  SystemRandomSource& operator=(const SystemRandomSource&) = delete;

  std::uint8_t NextByte() override;
  void Wipe();

  std::size_t BytesHeld() const { return kBlockBytes - next_; }
  std::span<const std::uint8_t> Block() const { return block_; }
  std::uint64_t Requests() const { return requests_; }

 private:
  void Refill();

  std::array<std::uint8_t, kBlockBytes> block_{};
  std::size_t next_ = kBlockBytes;
  std::uint64_t requests_ = 0;
};

}  // namespace tolvane::runtime
