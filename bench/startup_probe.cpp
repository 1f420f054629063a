// Starts a program and reports how long it takes until its top-level window titled TITLE is
// mapped on the X display, and the program's resident memory once its first frame is drawn:
//   startup_probe TITLE PROGRAM
// prints "<milliseconds> <resident kB>".
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

bool Titled(Display* display, Window window, const char* title) {
  char* name = nullptr;
  const bool match = XFetchName(display, window, &name) && name && std::strcmp(name, title) == 0;
  if (name) XFree(name);
  return match;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: startup_probe TITLE PROGRAM\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  char* args[] = {argv[2], nullptr};
  if (posix_spawn(&pid, argv[2], nullptr, nullptr, args, environ) != 0) return 4;

  double ms = -1;
  while (ms < 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && Titled(display, event.xmap.window, argv[1])) {
      ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
               .count();
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the first frame is drawn
  std::printf("%.1f %ld\n", ms, ResidentKb(pid));
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  return 0;
}
