// Writes the 16 x 16 window icon, kept as XPM with the window's layout, as a PNG for the
// desktop's icon theme: xpm_to_png OUTPUT.png
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "window/tolvane_icon.xpm"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xpm_to_png OUTPUT.png\n");
    return 2;
  }
  const QImage icon(tolvane_icon_xpm);
  return !icon.isNull() && icon.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
