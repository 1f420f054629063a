#include "runtime/system/display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace tolvane::system {
namespace {

// WAYLAND_DISPLAY as libwayland reads it: a full path, or a name in XDG_RUNTIME_DIR;
// "wayland-0" when unset.
bool WaylandAnswers() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  std::string path = name != nullptr && *name != '\0' ? name : "wayland-0";
  if (path.front() != '/') {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir == nullptr || *dir == '\0') return false;
    path = std::string(dir) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answered =
      connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return answered;
}

bool X11Answers() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answered = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answered;
}

}  // namespace

bool AnyDisplayAnswers() {
  return WaylandAnswers() || X11Answers();
}

}  // namespace tolvane::system
