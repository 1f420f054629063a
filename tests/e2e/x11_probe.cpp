// Reads pixels of a window on the X display for the Xvfb session test:
//   x11_probe reddish WINDOW X Y WIDTH HEIGHT
// prints how many pixels of that rectangle (window coordinates) are clearly red.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 7 || std::strcmp(argv[1], "reddish") != 0) {
    std::fprintf(stderr, "usage: x11_probe reddish WINDOW X Y WIDTH HEIGHT\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  const Window window = std::strtoul(argv[2], nullptr, 0);
  const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
  const unsigned width = std::atoi(argv[5]), height = std::atoi(argv[6]);
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
