// What the Xvfb session test needs to know of the window, from the window's own layout and
// from the screen:
//   x11_probe rect NAME                      the control's rectangle in the client area: X Y W H
//   x11_probe client                         the client area: WxH
//   x11_probe reddish WINDOW X Y WIDTH HEIGHT  how many pixels there are clearly red
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
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
  std::fprintf(stderr, "usage: x11_probe rect NAME | client | reddish WINDOW X Y W H\n");
  return 2;
}
