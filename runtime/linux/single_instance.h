#pragma once

#include <string>
#include <utility>

namespace tolvane::runtime {

// Tells whether another instance runs for the same user. The first instance binds an
// abstract-namespace Unix socket named after the program and the user id: the kernel frees
// the name when the process dies in any way, binding is atomic, so of two simultaneous
// starts exactly one wins, and nothing is written to disk.
class SingleInstance {
 public:
  explicit SingleInstance(std::string name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Claims the name on the first call; true when another process holds it.
  bool AnotherIsRunning();

 private:
  std::string name_;
  int socket_ = -1;
  bool asked_ = false;
  bool another_ = false;
};

// The name the program uses: "tolvane-<uid>".
std::string InstanceNameForUser(const std::string& program);

}  // namespace tolvane::runtime
