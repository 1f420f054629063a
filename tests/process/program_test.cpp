// The built program as whole processes: one instance per user, silence of a second start, no
// other account can keep it from starting, hardening told when it fails. Every program runs
// offscreen with a runtime directory of the test's own, so the user's own Tolvane is never
// involved, and every process a test starts is killed when the test ends, however it ends.
#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace tolvane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// A started program; killed when it goes out of scope.
struct Process {
  Process() = default;
  Process(Process&& other) noexcept : pid(std::exchange(other.pid, -1)), out(other.out) {}
  ~Process() { Kill(); }
  void Kill() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
  }
  // Exit status, or -1 while it still runs after the wait.
  int WaitFor(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    do {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      }
      std::this_thread::sleep_for(10ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return -1;
  }
  // True once the program holds its instance lock (read from /proc/locks, without touching it).
  bool HoldsItsLock() const {
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
      std::istringstream fields(line);
      std::string number, kind, mode, access, holder;
      fields >> number >> kind >> mode >> access >> holder;
      if (kind == "FLOCK" && holder == std::to_string(pid)) return true;
    }
    return false;
  }
  bool WaitUntilItHoldsItsLock() const {
    return Within(30s, [&] { return HoldsItsLock(); });
  }
  // True once it has gone past the instance check and started the toolkit on its screen
  // (offscreen): a second start never gets that far. Told by the program's own output, where
  // the toolkit's remarks appear only once it has started well, and the plugin log names the
  // screen it loaded. (Its /proc files other than status are closed to the same user: it makes
  // itself non-dumpable.)
  bool WaitUntilItStartsItsToolkit() const {
    return Within(30s, [&] {
      std::istringstream lines(Output());
      std::string line;
      while (std::getline(lines, line)) {
        if (line.find("libqoffscreen") != std::string::npos &&
            line.find("loaded library") != std::string::npos) {
          return true;
        }
      }
      return false;
    });
  }
  template <typename Done>
  static bool Within(std::chrono::milliseconds limit, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(10ms);
    return done();
  }
  std::string Output() const {
    std::ifstream in(out);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  pid_t pid = -1;
  std::string out;
};

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tolvane-program-test-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "runtime");
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(dir_ / "runtime", fs::perms::owner_all);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Starts the program offscreen, or with no display at all, with no session bus, the given
  // runtime directory and user.
  enum Screen { kOffscreen, kNoDisplay };
  Process Start(const std::string& name, const fs::path& runtimeDir, uid_t user = getuid(),
                Screen screen = kOffscreen, const std::vector<std::string>& env = {}) {
    Process p;
    p.out = (dir_ / name).string();
    p.pid = fork();
    if (p.pid == 0) {
      // Another account runs a copy in the test's folder: the build's may lie where only its
      // owner can reach it (a checkout in root's home).
      const std::string program =
          user != getuid() ? (dir_ / "tolvane").string() : std::string(TOLVANE_PROGRAM);
      const int out = open(p.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      dup2(out, 1);
      dup2(out, 2);
      if (user != getuid() &&
          (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0)) {
        _exit(126);
      }
      for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
      if (screen == kOffscreen) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("QT_DEBUG_PLUGINS", "1", 1);  // the toolkit names each library it loads
      }
      for (const std::string& entry : env) {
        setenv(entry.substr(0, entry.find('=')).c_str(), entry.substr(entry.find('=') + 1).c_str(),
               1);
      }
      unsetenv("LANG");  // the toolkit would remark on the C locale, a second start must not
      unsetenv("LC_ALL");
      setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
      setenv("HOME", dir_.c_str(), 1);
      setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (dir_ / "no-bus").string()).c_str(), 1);
      execl(program.c_str(), program.c_str(), nullptr);
      _exit(127);
    }
    return p;
  }
  fs::path Runtime() const { return dir_ / "runtime"; }
  std::string Compositor() const { return (dir_ / "wayland-answers").string(); }
  // A socket that takes connections where a compositor's would be, at that path; `waiting`
  // connections fill its queue, so that the next one waits for good (a hung server).
  static int ListenAt(const std::string& path, int waiting = 0) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const auto* at = reinterpret_cast<const sockaddr*>(&address);
    if (bind(fd, at, sizeof address) != 0 || listen(fd, 0) != 0) ADD_FAILURE() << "no " << path;
    for (int i = 0; i < waiting; ++i) {
      const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
      connect(client, at, sizeof address);  // left open: it holds its place in the queue
    }
    return fd;
  }
  int ListenAsCompositor() const { return ListenAt(Compositor()); }
  // The first free X display of :40 to :99 on loopback TCP (port 6000 + n), listening.
  static int ListenAsXServer(int* display) {
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (*display = 40; *display < 100; ++*display) {
      address.sin_port = htons(static_cast<std::uint16_t>(6000 + *display));
      if (bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
    }
    if (listen(server, 4) != 0) ADD_FAILURE() << "no X display to listen as";
    return server;
  }
  fs::path dir_;
};

// The second start asks before the toolkit starts: it needs no display and says nothing.
TEST_F(Program, SecondStartEndsSilentlyAndLeavesTheFirstRunning) {
  Process first = Start("first", Runtime());
  ASSERT_TRUE(first.WaitUntilItHoldsItsLock());
  Process second = Start("second", Runtime(), getuid(), kNoDisplay);
  EXPECT_EQ(second.WaitFor(30s), 0);
  EXPECT_EQ(second.Output(), "");
  // A start after the second still finds the first holding its claim, and one with a
  // launcher's notice for an X server that accepts the connection and never answers is not
  // held by it.
  int display = 0;
  const int server = ListenAsXServer(&display);  // connections complete; none is answered
  Process third = Start(
      "third", Runtime(), getuid(), kNoDisplay,
      {"DISPLAY=127.0.0.1:" + std::to_string(display), "DESKTOP_STARTUP_ID=tolvane-test_TIME1"});
  EXPECT_EQ(third.WaitFor(30s), 0);
  EXPECT_EQ(third.Output(), "");
  close(server);
  EXPECT_EQ(first.WaitFor(0ms), -1) << "the first instance must still run";
}

// Takes each connection and closes it at once: a display that is there but will not have
// this process (an X server refusing its authorization, a broken compositor).
class ClosingServer {
 public:
  explicit ClosingServer(int fd)
      : fd_(fd), closer_([fd] {
          for (int client; (client = accept(fd, nullptr, nullptr)) >= 0;) close(client);
        }) {}
  ~ClosingServer() {
    shutdown(fd_, SHUT_RDWR);  // wakes the accept
    closer_.join();
    close(fd_);
  }

 private:
  int fd_;
  std::thread closer_;
};

// A start that cannot show its window ends with status 1 and says why in its first line: no
// display at all, in that one line; a display the toolkit cannot use, followed by the
// toolkit's own reason. A display is one whose socket takes the connection, even to refuse
// it; the default Wayland socket counts where the toolkit would try Wayland; and a display
// that does not answer is decided within a second.
TEST_F(Program, AFailedStartSaysWhyInItsFirstLine) {
  int x = 0;
  const ClosingServer refusingX(ListenAsXServer(&x));
  const ClosingServer defaultCompositor(ListenAt((Runtime() / "wayland-0").string()));
  const ClosingServer namedCompositor(ListenAt((Runtime() / "wayland-named").string()));
  const std::string hung = (dir_ / "wayland-hung").string();
  const int hungCompositor = ListenAt(hung, 1);
  const std::string noPlugin = "QT_QPA_PLATFORM=tolvane-no-such-plugin";
  const std::string noDisplay = "нет доступного дисплея", failed = "окно показать не удалось";
  struct Case {
    std::string what;
    std::vector<std::string> env;
    std::string firstLine, reason;
    long lines;  // 0: any number
  };
  const int compositor = ListenAsCompositor();
  for (const Case& c : {
           Case{"none", {}, noDisplay, "", 1},
           Case{"a compositor, no plugin",
                {"WAYLAND_DISPLAY=" + Compositor(), noPlugin},
                failed,
                "tolvane-no-such-plugin",
                0},
           Case{"an X server refusing",
                {"QT_QPA_PLATFORM=xcb", "DISPLAY=127.0.0.1:" + std::to_string(x)},
                failed,
                "could not connect to display",
                0},
           Case{"the default socket, Wayland not tried", {}, noDisplay, "", 1},
           Case{"the default socket, Wayland tried",
                {"QT_QPA_PLATFORM=wayland-tolvane-none"},
                failed,
                "wayland-tolvane-none",
                0},
           Case{"a relative WAYLAND_DISPLAY",
                {"WAYLAND_DISPLAY=wayland-named", noPlugin},
                failed,
                "tolvane-no-such-plugin",
                0},
           Case{"a hung compositor", {"WAYLAND_DISPLAY=" + hung, noPlugin}, failed, "", 0},
       }) {
    Process alone = Start("alone", Runtime(), getuid(), kNoDisplay, c.env);
    EXPECT_EQ(alone.WaitFor(30s), 1) << c.what << ": an ordinary failure, not an abort";
    const std::string output = alone.Output();
    EXPECT_NE(output.substr(0, output.find('\n')).find(c.firstLine), std::string::npos)
        << c.what << ": " << output;
    EXPECT_NE(output.find(c.reason), std::string::npos) << c.what << ": " << output;
    if (c.lines != 0) {
      EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), c.lines)
          << c.what << ": " << output;
    }
  }
  close(compositor);
  close(hungCompositor);
}

// The toolkit's remarks while it starts are held back in case it fails; a good start still
// makes them.
TEST_F(Program, AGoodStartKeepsTheToolkitsRemarks) {
  Process p = Start("remarks", Runtime(), getuid(), kOffscreen,
                    {"QT_STYLE_OVERRIDE=tolvane-no-such-style"});
  ASSERT_TRUE(p.WaitUntilItStartsItsToolkit());
  EXPECT_TRUE(Process::Within(30s, [&] {
    return p.Output().find("tolvane-no-such-style") != std::string::npos;
  })) << p.Output();
}

TEST_F(Program, AKilledInstanceNeverBlocksTheNextStart) {
  Process first = Start("first", Runtime());
  ASSERT_TRUE(first.WaitUntilItHoldsItsLock());
  first.Kill();
  Process next = Start("next", Runtime());
  ASSERT_TRUE(next.WaitUntilItHoldsItsLock());
  EXPECT_TRUE(next.WaitUntilItStartsItsToolkit()) << "the next start must run";
}

// A process that cannot be hardened says so in one line and runs on: the program hardens
// itself as it starts (what hardening does: ProcessHardening.NoCoreFileAndNotDumpable).
TEST_F(Program, AFailedHardeningIsToldAndTheProgramRunsOn) {
  Process p = Start("unhardened", Runtime(), getuid(), kOffscreen,
                    {std::string("LD_PRELOAD=") + TOLVANE_PRCTL_SHIM, "TOLVANE_REFUSE_DUMPABLE=1",
                     "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0"});
  EXPECT_TRUE(p.WaitUntilItStartsItsToolkit()) << p.Output();
  EXPECT_NE(p.Output().find("трассировку"), std::string::npos) << p.Output();
}

// Another account holds the lock in a runtime directory that is not the user's own: that
// does not keep the user's Tolvane from starting, and a start in the user's own directory
// holds the lock there.
TEST_F(Program, AnotherAccountCannotKeepItFromStarting) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root, to run the program as another user";
  const fs::path own = dir_ / "nobody-runtime";
  fs::create_directory(own);
  ASSERT_EQ(chown(own.c_str(), kNobody, kNobody), 0);
  fs::permissions(own, fs::perms::owner_all);
  const fs::path shared = dir_ / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  fs::permissions(dir_, fs::perms::all);             // the program's output files, as nobody
  fs::copy_file(TOLVANE_PROGRAM, dir_ / "tolvane");  // the program, where nobody reaches it

  const int lock = open((shared / "tolvane.lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);

  Process inOwn = Start("in-own", own, kNobody);
  EXPECT_TRUE(inOwn.WaitUntilItHoldsItsLock());
  EXPECT_TRUE(inOwn.WaitUntilItStartsItsToolkit()) << inOwn.Output();
  Process inShared = Start("in-shared", shared, kNobody);
  EXPECT_TRUE(inShared.WaitUntilItStartsItsToolkit())
      << "a lock in a shared directory kept it from starting: " << inShared.Output();
  close(lock);
}

}  // namespace
}  // namespace tolvane
