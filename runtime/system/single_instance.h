#pragma once

#include <memory>
#include <optional>
#include <string>

#include "runtime/services.h"

namespace tolvane::system {

// One running instance of a program per user. The first start claims an object that the
// system releases when the process ends in any way, so a killed instance never blocks the
// next start, and of simultaneous starts exactly one wins. Nothing is written to disk.
class SingleInstance final : public runtime::InstanceCheck {
 public:
  // program: a short ASCII name, the same for every start of the program.
  explicit SingleInstance(std::string program);
  ~SingleInstance() override;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool AnotherIsRunning() override;
  void GiveUp() override;

 private:
  struct Claim;  // what the system holds for this instance while it runs
  std::optional<bool> Ask();

  std::string program_;
  std::unique_ptr<Claim> claim_;
  bool asked_ = false;
  std::optional<bool> answer_;  // empty: the system could not tell
};

}  // namespace tolvane::system
