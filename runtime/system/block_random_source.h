#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "generator/random_source.h"

namespace tolvane::system {

// Bytes from a platform's cryptographic generator, fetched in 4 KiB blocks so that a refresh
// costs a few requests rather than one per draw. Each byte is wiped from the block as it is
// handed out, and Discard() clears whatever is left, so no randomness outlives the refresh that
// used it. A platform supplies Fetch().
class BlockRandomSource : public RandomSource {
 public:
  static constexpr std::size_t kBlockBytes = 4096;

  BlockRandomSource() = default;
  ~BlockRandomSource() override;
  BlockRandomSource(const BlockRandomSource&) = delete;
  BlockRandomSource& operator=(const BlockRandomSource&) = delete;

  std::uint8_t NextByte() final;
  void Discard() override;

 protected:
  // Fills the block completely; throws std::runtime_error when the system cannot.
  virtual void Fetch(std::span<std::uint8_t> block) = 0;

 private:
  std::array<std::uint8_t, kBlockBytes> block_{};
  std::size_t next_ = kBlockBytes;
};

}  // namespace tolvane::system
