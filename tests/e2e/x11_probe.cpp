// What the Xvfb session test needs to know of the window, from the window's own layout and
// from the screen:
//   x11_probe rect NAME                      the control's rectangle in the client area: X Y W H
//   x11_probe client                         the client area: WxH
//   x11_probe reddish WINDOW X Y WIDTH HEIGHT  how many pixels there are clearly red
//   x11_probe startup-message SECONDS        the next start-up notification message sent to
//                                            the root window, within the time
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/control_layout.h"
#include "window/frm_main_layout.h"

namespace {

using tolvane::runtime::ToPixels;

int PrintRect(std::string_view name) {
  const auto& layout = tolvane::window::FrmMainLayout();
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    if (layout.controls[slot].name != name) continue;
    const auto r = tolvane::runtime::InClientArea(layout, slot);
    std::printf("%d %d %d %d\n", ToPixels(r.left), ToPixels(r.top), ToPixels(r.width),
                ToPixels(r.height));
    return 0;
  }
  std::fprintf(stderr, "no control named %.*s\n", static_cast<int>(name.size()), name.data());
  return 2;
}

int CountReddish(char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  const Window window = std::strtoul(argv[0], nullptr, 0);
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const unsigned width = std::atoi(argv[3]), height = std::atoi(argv[4]);
  XImage* image = XGetImage(display, window, x, y, width, height, AllPlanes, ZPixmap);
  if (!image) return 4;
  int reddish = 0;
  for (unsigned row = 0; row < height; ++row) {
    for (unsigned col = 0; col < width; ++col) {
      const unsigned long pixel = XGetPixel(image, col, row);
      const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF;
      reddish += red > green + 60;
    }
  }
  std::printf("%d\n", reddish);
  XDestroyImage(image);
  XCloseDisplay(display);
  return 0;
}

int PrintStartupMessage(int seconds) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, PropertyChangeMask);
  const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
  const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
  std::printf("listening\n");
  std::fflush(stdout);
  std::string message;
  for (int waited = 0; waited < seconds * 100;) {
    if (XPending(display) == 0) {
      usleep(10000);
      ++waited;
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != ClientMessage || event.xclient.format != 8) continue;
    if (event.xclient.message_type == begin) message.clear();
    if (event.xclient.message_type != begin && event.xclient.message_type != more) continue;
    for (int i = 0; i < 20; ++i) {
      const char c = event.xclient.data.b[i];
      if (c == '\0') {
        std::printf("%s\n", message.c_str());
        XCloseDisplay(display);
        return 0;
      }
      message += c;
    }
  }
  XCloseDisplay(display);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view verb = argc > 1 ? argv[1] : "";
  if (verb == "rect" && argc == 3) return PrintRect(argv[2]);
  if (verb == "client" && argc == 2) {
    const auto& layout = tolvane::window::FrmMainLayout();
    std::printf("%dx%d\n", ToPixels(layout.clientWidth), ToPixels(layout.clientHeight));
    return 0;
  }
  if (verb == "reddish" && argc == 7) return CountReddish(argv + 2);
  if (verb == "startup-message" && argc == 3) return PrintStartupMessage(std::atoi(argv[2]));
  std::fprintf(stderr, "usage: x11_probe rect NAME | client | reddish WINDOW X Y W H\n");
  return 2;
}
