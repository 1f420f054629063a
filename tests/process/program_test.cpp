// The built program as whole processes: single instance and silence of a second start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "runtime/system/single_instance.h"

extern char** environ;

namespace tolvane {
namespace {

using namespace std::chrono_literals;

struct Process {
  pid_t pid = -1;
  std::string outPath;
};

// Starts the program on the offscreen platform with its output captured in a file.
Process Start(const std::string& outPath) {
  Process p{-1, outPath};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  char* argv[] = {const_cast<char*>(TOLVANE_PROGRAM), nullptr};
  EXPECT_EQ(posix_spawn(&p.pid, TOLVANE_PROGRAM, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return p;
}

// Exit status, or -1 if the process is still running after the wait.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(10ms);
  }
  return -1;
}

bool NameHeld() {
  system::SingleInstance probe("tolvane");
  return probe.AnotherIsRunning();
}

bool WaitUntilHeld() {
  for (int i = 0; i < 1000 && !NameHeld(); ++i) std::this_thread::sleep_for(10ms);
  return NameHeld();
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Stop(Process& p) {
  if (p.pid > 0) {
    kill(p.pid, SIGKILL);
    waitpid(p.pid, nullptr, 0);
    p.pid = -1;
  }
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(NameHeld()) << "another Tolvane runs for this user; close it first";
    dir_ = std::filesystem::temp_directory_path() /
           ("tolvane-program-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_ / "runtime");
    std::filesystem::permissions(dir_ / "runtime", std::filesystem::perms::owner_all);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", (dir_ / "runtime").c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Out(const char* name) { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(Program, SecondStartEndsSilentlyAndLeavesTheFirstRunning) {
  Process first = Start(Out("first"));
  ASSERT_TRUE(WaitUntilHeld());
  Process second = Start(Out("second"));
  EXPECT_EQ(WaitFor(second.pid, 10s), 0);
  EXPECT_EQ(Slurp(second.outPath), "");
  EXPECT_EQ(WaitFor(first.pid, 0ms), -1) << "the first instance must still run";
  EXPECT_TRUE(NameHeld());
  Stop(first);
}

TEST_F(Program, AKilledInstanceNeverBlocksTheNextStart) {
  Process first = Start(Out("first"));
  ASSERT_TRUE(WaitUntilHeld());
  Stop(first);
  EXPECT_FALSE(NameHeld());
  Process next = Start(Out("next"));
  ASSERT_TRUE(WaitUntilHeld());
  EXPECT_EQ(WaitFor(next.pid, 300ms), -1) << "the next start must run";
  Stop(next);
}

TEST_F(Program, OfSimultaneousStartsExactlyOneKeepsRunning) {
  constexpr int kStarts = 6;
  std::vector<Process> starts;
  for (int i = 0; i < kStarts; ++i)
    starts.push_back(Start(Out(("start" + std::to_string(i)).c_str())));
  int ended = 0;
  for (Process& p : starts) {
    const int status = WaitFor(p.pid, 5s);
    if (status != -1) {
      EXPECT_EQ(status, 0);
      p.pid = -1;
      ++ended;
    }
  }
  EXPECT_EQ(ended, kStarts - 1);
  EXPECT_TRUE(NameHeld());
  for (Process& p : starts) Stop(p);
}

TEST_F(Program, RunsWithCoreFilesOff) {
  Process p = Start(Out("limits"));
  ASSERT_TRUE(WaitUntilHeld());  // past start-up
  std::string line;
  std::ifstream limits("/proc/" + std::to_string(p.pid) + "/limits");
  while (std::getline(limits, line) && line.rfind("Max core file size", 0) != 0) {
  }
  std::istringstream fields(line.substr(std::string("Max core file size").size()));
  std::string soft, hard;
  fields >> soft >> hard;
  EXPECT_EQ(soft, "0");
  EXPECT_EQ(hard, "0");
  Stop(p);
}

}  // namespace
}  // namespace tolvane
