#include "runtime/system/display.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace tolvane::system {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Whether a stream socket at the address accepts a connection: a server is there, whether or
// not it would let this process in.
bool Accepts(const sockaddr* address, socklen_t size, int family) {
  const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool accepted = connect(fd, address, size) == 0;
  close(fd);
  return accepted;
}

bool UnixSocketAccepts(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t at = abstract ? 1 : 0;  // an abstract name begins with a zero byte
  if (path.size() + at >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path + at, path.c_str(), path.size() + 1);
  const auto size = static_cast<socklen_t>(
      abstract ? offsetof(sockaddr_un, sun_path) + at + path.size() : sizeof address);
  return Accepts(reinterpret_cast<const sockaddr*>(&address), size, AF_UNIX);
}

// The toolkit tries Wayland when asked to (QT_QPA_PLATFORM names it), or, left to choose,
// when the session says it is Wayland's; otherwise it never connects to the default socket.
bool ToolkitTriesWayland() {
  const std::string_view platforms = Variable("QT_QPA_PLATFORM");
  if (!platforms.empty()) {
    for (std::size_t at = 0; at != std::string_view::npos;) {
      const std::size_t next = platforms.find(';', at);
      if (platforms.substr(at, next - at).starts_with("wayland")) return true;
      at = next == std::string_view::npos ? next : next + 1;
    }
    return false;
  }
  return !Variable("WAYLAND_DISPLAY").empty() || Variable("XDG_SESSION_TYPE") == "wayland";
}

// WAYLAND_DISPLAY as libwayland reads it: a full path, or a name in XDG_RUNTIME_DIR. Without
// it the toolkit connects to "wayland-0" there, if it tries Wayland at all.
bool WaylandAnswers() {
  std::string path(Variable("WAYLAND_DISPLAY"));
  if (path.empty()) {
    if (!ToolkitTriesWayland()) return false;
    path = "wayland-0";
  }
  if (path.front() != '/') {
    const std::string_view folder = Variable("XDG_RUNTIME_DIR");
    if (folder.empty()) return false;
    path = std::string(folder) + "/" + path;
  }
  return UnixSocketAccepts(path, false);
}

// The X server of DISPLAY, reached as libxcb reaches it: its local socket (abstract or in
// /tmp/.X11-unix) or TCP port 6000 + n.
bool X11Answers() {
  const std::string display(Variable("DISPLAY"));
  char* host = nullptr;
  int number = 0;
  if (display.empty() || xcb_parse_display(display.c_str(), &host, &number, nullptr) == 0)
    return false;
  const std::unique_ptr<char, decltype(&std::free)> owned(host, &std::free);
  const std::string_view name(host);
  if (name.empty() || name == "unix") {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    return UnixSocketAccepts(socket, true) || UnixSocketAccepts(socket, false);
  }
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, std::to_string(6000 + number).c_str(), &hints, &found) != 0) return false;
  bool accepted = false;
  for (const addrinfo* a = found; a != nullptr && !accepted; a = a->ai_next)
    accepted = Accepts(a->ai_addr, a->ai_addrlen, a->ai_family);
  freeaddrinfo(found);
  return accepted;
}

}  // namespace

bool AnyDisplayAnswers() {
  // Asked aside, for at most a second: a name lookup or a server may hang, and the start
  // that asks has failed already. A display still asked about after that is one.
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> answered = answer->get_future();
  std::thread([answer] { answer->set_value(WaylandAnswers() || X11Answers()); }).detach();
  if (answered.wait_for(std::chrono::seconds(1)) != std::future_status::ready) return true;
  return answered.get();
}

}  // namespace tolvane::system
