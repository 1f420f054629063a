#pragma once

#include <string>

namespace tolvane::runtime {

// Tells whether another instance runs in this logon session. The first instance creates a
// named mutex in the session namespace; the system destroys it when the last handle closes,
// however the process ends, so a killed instance never blocks the next start, and of two
// simultaneous starts exactly one creates it.
class SingleInstance {
 public:
  explicit SingleInstance(std::wstring name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Claims the name on the first call; true when another process holds it.
  bool AnotherIsRunning();

 private:
  std::wstring name_;
  void* mutex_ = nullptr;
  bool asked_ = false;
  bool another_ = false;
};

// The name the program uses: "Local\<program>.SingleInstance".
std::wstring InstanceNameForSession(const std::wstring& program);

}  // namespace tolvane::runtime
