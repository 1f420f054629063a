#include "runtime/win32/system_random_source.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <stdexcept>

namespace tolvane::runtime {

SystemRandomSource::~SystemRandomSource() {
  Wipe();
}

void SystemRandomSource::Refill() {
  const NTSTATUS status = BCryptGenRandom(nullptr, block_.data(), static_cast<ULONG>(block_.size()),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (status < 0) throw std::runtime_error("BCryptGenRandom failed");
  ++requests_;
  next_ = 0;
}

std::uint8_t SystemRandomSource::NextByte() {
  if (next_ == kBlockBytes) Refill();
  const std::uint8_t byte = block_[next_];
  // A volatile store the compiler may not drop, however dead it looks.
  static_cast<volatile std::uint8_t&>(block_[next_]) = 0;
  ++next_;
  return byte;
}

void SystemRandomSource::Wipe() {
  SecureZeroMemory(block_.data(), block_.size());
  next_ = kBlockBytes;
}

}  // namespace tolvane::runtime
