// Leaks what our own code allocates, a plain block and a QObject, while the toolkit runs: under
// LeakSanitizer with the project's suppressions both must still be reported (the QObject as an
// indirect leak: it and its private part, which the toolkit allocates, point to each other).
#include <QGuiApplication>
#include <QObject>
#include <cstring>

namespace {

void* volatile lost = nullptr;

[[gnu::noinline]] void LoseTwoBlocks() {
  lost = new int[7];
  lost = new QObject;
  lost = nullptr;
}

// No copy of the lost addresses may stay on the stack, where the leak check would find it.
[[gnu::noinline]] void ClearStack() {
  volatile char scratch[16384];
  std::memset(const_cast<char*>(scratch), 0, sizeof scratch);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  LoseTwoBlocks();
  ClearStack();
  return 0;
}
