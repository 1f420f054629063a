// What only Linux can show of the system services: which runtime directory is trusted, and
// process hardening. (A killed holder: the program tests.)
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "runtime/system/process_hardening.h"
#include "runtime/system/single_instance.h"

namespace tolvane::system {
namespace {

// A runtime directory others may write to could hold anyone's lock: it is not used, and the
// program starts rather than trust it.
TEST(SingleInstance, ADirectoryOthersCanWriteToIsNotTrusted) {
  const std::string own = std::getenv("XDG_RUNTIME_DIR");
  const std::string shared = own + "/shared";
  ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
  setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
  SingleInstance first("tolvane-test-shared");
  SingleInstance second("tolvane-test-shared");
  EXPECT_FALSE(first.AnotherIsRunning());
  EXPECT_FALSE(second.AnotherIsRunning());
  setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
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
