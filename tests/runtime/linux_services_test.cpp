// What only Linux can show of the system services: a killed holder, process hardening.
#include <gtest/gtest.h>
#include <signal.h>
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

TEST(SingleInstance, AKilledHolderNeverBlocksTheNextStart) {
  const std::string program = "tolvane-test-" + std::to_string(getpid()) + "-killed";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstance holder(program);
    const char answer = holder.AnotherIsRunning() ? 'y' : 'n';
    (void)!write(ready[1], &answer, 1);
    pause();
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  EXPECT_EQ(answer, 'n');
  SingleInstance whileAlive(program);
  EXPECT_TRUE(whileAlive.AnotherIsRunning());

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  SingleInstance afterKill(program);
  EXPECT_FALSE(afterKill.AnotherIsRunning());
  close(ready[0]);
  close(ready[1]);
}

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
