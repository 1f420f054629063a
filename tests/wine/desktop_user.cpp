// Keeps Wine's desktop open for a whole test run. Wine closes the desktop, and ends the
// explorer.exe that manages it, a second after its last program leaves; the next program
// starts a new one, which inherits that program's output. Under ctest that held each test's
// output open for a second after the test, and a test started while the old desktop was
// closing could fail before it ran. With this program on the desktop from before the first
// test to after the last, there is one desktop, started outside ctest.
#include <windows.h>

#include <cstdio>

int main() {
  // A window that is never shown makes this thread a user of the desktop.
  if (CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr) ==
      nullptr) {
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
