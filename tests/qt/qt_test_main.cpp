// Qt runtime tests run on one QApplication, on the offscreen platform unless told otherwise.
// Arguments --env=NAME=VALUE set variables for the toolkit before it starts (a test variant's
// screen, which ctest's ENVIRONMENT of discovered tests cannot hold more than one of).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto equals = arg.find('=', 6);
    if (arg.rfind("--env=", 0) == 0 && equals != std::string::npos) {
      setenv(arg.substr(6, equals - 6).c_str(), arg.substr(equals + 1).c_str(), 1);
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
    // Qt 6.4's Wayland plugin can wait forever for its event thread while it shuts down;
    // the results are in, and leaks are looked for in the other tests.
    std::fflush(nullptr);
    std::_Exit(result);
  }
  return result;
}
