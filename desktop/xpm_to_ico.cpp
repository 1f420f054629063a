// Writes the 16 x 16 window icon, kept as XPM with the window's layout, as a Windows .ico
// of 16 colors (4 bits a pixel, the standard palette) with a transparency mask, followed by
// larger images given as PNG files (drawn from the project's SVG), stored as PNG:
//   xpm_to_ico OUTPUT.ico [LARGER.png ...]
// Plain C++, so it builds for the machine that builds the Windows program.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "window/tolvane_icon.xpm"

namespace {

// The standard 16-color palette, in its usual order.
constexpr std::array<std::uint32_t, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xpm_to_ico OUTPUT.ico [LARGER.png ...]\n");
    return 2;
  }
  int width = 0, height = 0, colors = 0, perPixel = 0;
  if (std::sscanf(tolvane_icon_xpm[0], "%d %d %d %d", &width, &height, &colors, &perPixel) != 4 ||
      width != 16 || height != 16 || perPixel != 1) {
    std::fprintf(stderr, "the icon must be 16 x 16, one character a pixel\n");
    return 1;
  }
  std::map<char, int> index;  // -1: transparent
  for (int i = 1; i <= colors; ++i) {
    const char* line = tolvane_icon_xpm[i];
    const char key = line[0];
    const char* value = std::strstr(line, " c ") + 3;
    if (std::strcmp(value, "None") == 0) {
      index[key] = -1;
      continue;
    }
    const auto rgb = static_cast<std::uint32_t>(std::stoul(value + 1, nullptr, 16));
    int found = -1;
    for (int p = 0; p < 16; ++p) {
      if (kPalette[p] == rgb) found = p;
    }
    if (found < 0) {
      std::fprintf(stderr, "color %s is not in the 16-color palette\n", value);
      return 1;
    }
    index[key] = found;
  }

  std::vector<std::uint8_t> image;  // BITMAPINFOHEADER, palette, color rows, mask rows
  Put32(image, 40);
  Put32(image, 16);
  Put32(image, 32);  // color and mask together
  Put16(image, 1);
  Put16(image, 4);
  Put32(image, 0);
  Put32(image, 16 * 8 + 16 * 4);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 16);
  Put32(image, 0);
  for (std::uint32_t rgb : kPalette) {
    image.push_back(rgb & 0xFF);
    image.push_back((rgb >> 8) & 0xFF);
    image.push_back((rgb >> 16) & 0xFF);
    image.push_back(0);
  }
  const auto row = [colors](int y) { return tolvane_icon_xpm[1 + colors + y]; };
  for (int y = 15; y >= 0; --y) {  // rows bottom up
    for (int x = 0; x < 16; x += 2) {
      const int a = std::max(index.at(row(y)[x]), 0), b = std::max(index.at(row(y)[x + 1]), 0);
      image.push_back(static_cast<std::uint8_t>(a << 4 | b));
    }
  }
  for (int y = 15; y >= 0; --y) {
    unsigned bits = 0;
    for (int x = 0; x < 16; ++x) {
      if (index.at(row(y)[x]) < 0) bits |= 0x8000u >> x;
    }
    image.push_back(bits >> 8);
    image.push_back(bits & 0xFF);
    image.push_back(0);
    image.push_back(0);
  }

  struct Entry {
    unsigned size;    // pixels a side
    unsigned colors;  // 0: more than 256
    unsigned bits;
    std::vector<std::uint8_t> data;
  };
  std::vector<Entry> entries{{16, 16, 4, image}};
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    std::vector<std::uint8_t> png((std::istreambuf_iterator<char>(in)), {});
    if (png.size() < 24 || std::memcmp(png.data() + 1, "PNG", 3) != 0) {
      std::fprintf(stderr, "%s is no PNG\n", argv[i]);
      return 1;
    }
    const unsigned size = png[16] << 24 | png[17] << 16 | png[18] << 8 | png[19];  // IHDR width
    entries.push_back({size, 0, 32, std::move(png)});
  }

  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // an icon
  Put16(file, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const Entry& e : entries) {
    file.push_back(static_cast<std::uint8_t>(e.size));  // 256 is written as 0
    file.push_back(static_cast<std::uint8_t>(e.size));
    file.push_back(static_cast<std::uint8_t>(e.colors));
    file.push_back(0);
    Put16(file, 1);
    Put16(file, e.bits);
    Put32(file, static_cast<std::uint32_t>(e.data.size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const Entry& e : entries) file.insert(file.end(), e.data.begin(), e.data.end());

  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return out ? 0 : 1;
}
