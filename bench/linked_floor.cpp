// The floor for the memory of a served copy: a program linked with Qt Widgets, as Tolvane is,
// that returns at once. Its resident memory is what loading the libraries costs.
#include <QApplication>

int main() {
  // Taken by address, so that the linker keeps Qt Widgets among the program's libraries.
  void (*volatile widgets)() = &QApplication::beep;
  return widgets == nullptr ? 1 : 0;
}
