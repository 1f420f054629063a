#include "runtime/linux/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace tolvane::runtime {

SingleInstance::SingleInstance(std::string name) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (socket_ >= 0) close(socket_);
}

bool SingleInstance::AnotherIsRunning() {
  if (asked_) return another_;
  asked_ = true;

  socket_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0) return another_ = false;  // cannot tell: let this start go ahead

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // A leading NUL puts the name in the abstract namespace: no file, gone with the process.
  const std::size_t length = std::min(name_.size(), sizeof(address.sun_path) - 1);
  std::memcpy(address.sun_path + 1, name_.data(), length);
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

  if (bind(socket_, reinterpret_cast<const sockaddr*>(&address), size) == 0) {
    return another_ = false;
  }
  const bool inUse = errno == EADDRINUSE;
  close(socket_);
  socket_ = -1;
  return another_ = inUse;
}

std::string InstanceNameForUser(const std::string& program) {
  return program + "-" + std::to_string(getuid());
}

}  // namespace tolvane::runtime
