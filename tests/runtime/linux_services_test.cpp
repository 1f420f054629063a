// What only Linux can show of the system services: which runtime directory is trusted, and
// process hardening. (A killed holder: the program tests.)
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/system/process_hardening.h"
#include "runtime/system/single_instance.h"

namespace tolvane::system {
namespace {

// A runtime directory that is not this user's alone could hold anyone's lock, and a lock that
// cannot be opened tells nothing: the claim is not made, and every start goes ahead rather
// than trust it (two claims both answer that no other instance runs).
struct Untrusted {
  const char* name;
  mode_t mode;
  bool foreignOwner = false;  // owned by nobody (65534)
  bool lockIsADirectory = false;
};

class UntrustedRuntimeDirectory : public ::testing::TestWithParam<Untrusted> {};

TEST_P(UntrustedRuntimeDirectory, EveryStartGoesAhead) {
  const Untrusted& c = GetParam();
  if (c.foreignOwner && geteuid() != 0) GTEST_SKIP() << "needs root, to give a directory away";
  const std::string own = std::getenv("XDG_RUNTIME_DIR");
  const std::string dir = own + "/" + c.name;
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  ASSERT_EQ(chmod(dir.c_str(), c.mode), 0);
  if (c.foreignOwner) {
    ASSERT_EQ(chown(dir.c_str(), 65534, 65534), 0);
  }
  if (c.lockIsADirectory) {
    ASSERT_EQ(mkdir((dir + "/tolvane-test.lock").c_str(), 0700), 0);
  }
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  {
    SingleInstance first("tolvane-test");
    SingleInstance second("tolvane-test");
    EXPECT_FALSE(first.AnotherIsRunning());
    EXPECT_FALSE(second.AnotherIsRunning());
  }
  setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UntrustedRuntimeDirectory,
    ::testing::Values(Untrusted{"open_to_all", 0777}, Untrusted{"shared_sticky", 01777},
                      Untrusted{"group_may_write", 0770}, Untrusted{"group_may_read", 0750},
                      Untrusted{"others_may_enter", 0701},
                      Untrusted{"anothers", 0700, /*foreignOwner=*/true},
                      Untrusted{"lock_unopenable", 0700, false, /*lockIsADirectory=*/true}),
    [](const auto& info) { return std::string(info.param.name); });

// The first answer stands, "cannot tell" included, even once the system could tell.
TEST(SingleInstance, TheFirstAnswerStandsEvenWhenItCouldNotTell) {
  const std::string own = std::getenv("XDG_RUNTIME_DIR");
  SingleInstance holder("tolvane-test-kept");
  ASSERT_FALSE(holder.AnotherIsRunning());
  const std::string open = own + "/open";
  ASSERT_EQ(mkdir(open.c_str(), 0700), 0);
  ASSERT_EQ(chmod(open.c_str(), 0777), 0);
  setenv("XDG_RUNTIME_DIR", open.c_str(), 1);
  SingleInstance asked("tolvane-test-kept");
  EXPECT_FALSE(asked.AnotherIsRunning());  // cannot tell: it goes ahead
  setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
  EXPECT_FALSE(asked.AnotherIsRunning());
  EXPECT_TRUE(SingleInstance("tolvane-test-kept").AnotherIsRunning());  // a new claim would see it
  std::filesystem::remove_all(open);
}

// Without XDG_RUNTIME_DIR the login's runtime directory, /run/user/<uid>, holds the claim.
TEST(SingleInstance, WithoutTheVariableTheLoginsRuntimeDirectoryIsUsed) {
  const std::string dir = "/run/user/" + std::to_string(geteuid());
  // Made for the test where the system has none (a container), and removed after it.
  const bool madeParent = mkdir("/run/user", 0755) == 0;
  const bool madeDir = mkdir(dir.c_str(), 0700) == 0;
  struct stat st {};
  if (stat(dir.c_str(), &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 077) != 0)
    GTEST_SKIP() << dir << " is not this user's alone";
  const std::string own = std::getenv("XDG_RUNTIME_DIR");
  const std::string program = "tolvane-test-" + std::to_string(getpid()) + "-fallback";
  unsetenv("XDG_RUNTIME_DIR");
  {
    SingleInstance first(program), second(program);
    EXPECT_FALSE(first.AnotherIsRunning());
    EXPECT_TRUE(second.AnotherIsRunning());
  }
  setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
  std::filesystem::remove(dir + "/" + program + ".lock");
  if (madeDir) rmdir(dir.c_str());
  if (madeParent) rmdir("/run/user");
}

TEST(ProcessHardening, NoCoreFileAndNotDumpable) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit core{};
    const bool ok = HardenProcess() && getrlimit(RLIMIT_CORE, &core) == 0 && core.rlim_cur == 0 &&
                    core.rlim_max == 0 && prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tolvane::system
