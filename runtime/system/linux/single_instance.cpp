#include "runtime/system/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace tolvane::system {

// An abstract-namespace Unix socket named after the program and the user id: binding is
// atomic and the kernel frees the name with the process.
struct SingleInstance::Claim {
  ~Claim() { close(socket); }
  int socket;
};

SingleInstance::SingleInstance(std::string program) : program_(std::move(program)) {}
SingleInstance::~SingleInstance() = default;

std::optional<bool> SingleInstance::Ask() {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  std::unique_ptr<Claim> claim(new Claim{fd});

  const std::string name = program_ + "-" + std::to_string(getuid());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // A leading NUL puts the name in the abstract namespace: no file, gone with the process.
  const std::size_t length = std::min(name.size(), sizeof(address.sun_path) - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);

  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0) {
    claim_ = std::move(claim);
    return false;
  }
  if (errno == EADDRINUSE) return true;
  return std::nullopt;
}

}  // namespace tolvane::system
