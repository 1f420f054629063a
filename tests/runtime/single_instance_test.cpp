#include "runtime/linux/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace tolvane::runtime {
namespace {

std::string TestName(const char* what) {
  return "tolvane-instance-test-" + std::to_string(getpid()) + "-" + what;
}

TEST(SingleInstance, SecondHolderOfTheSameNameSeesTheFirst) {
  SingleInstance first(TestName("same"));
  EXPECT_FALSE(first.AnotherIsRunning());
  EXPECT_FALSE(first.AnotherIsRunning());  // asking again changes nothing
  SingleInstance second(TestName("same"));
  EXPECT_TRUE(second.AnotherIsRunning());
  SingleInstance other(TestName("other"));
  EXPECT_FALSE(other.AnotherIsRunning());
}

TEST(SingleInstance, NameIsFreeAgainWhenTheHolderGoes) {
  {
    SingleInstance first(TestName("released"));
    ASSERT_FALSE(first.AnotherIsRunning());
  }
  SingleInstance next(TestName("released"));
  EXPECT_FALSE(next.AnotherIsRunning());
}

TEST(SingleInstance, AKilledHolderNeverBlocksTheNextStart) {
  const std::string name = TestName("killed");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstance holder(name);
    const char answer = holder.AnotherIsRunning() ? 'y' : 'n';
    (void)!write(ready[1], &answer, 1);
    pause();
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  EXPECT_EQ(answer, 'n');
  SingleInstance whileAlive(name);
  EXPECT_TRUE(whileAlive.AnotherIsRunning());

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  SingleInstance afterKill(name);
  EXPECT_FALSE(afterKill.AnotherIsRunning());
  close(ready[0]);
  close(ready[1]);
}

TEST(SingleInstance, OfManySimultaneousStartsExactlyOneRuns) {
  constexpr int kStarts = 16;
  const std::string name = TestName("race");
  int go[2], answers[2];
  ASSERT_EQ(pipe(go), 0);
  ASSERT_EQ(pipe(answers), 0);
  std::vector<pid_t> children;
  for (int i = 0; i < kStarts; ++i) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(go[1]);
      char c;
      (void)!read(go[0], &c, 1);  // all wait here until the pipe closes, then race
      SingleInstance instance(name);
      const char answer = instance.AnotherIsRunning() ? 'y' : 'n';
      (void)!write(answers[1], &answer, 1);
      pause();  // hold the name until the parent has every answer
      _exit(0);
    }
    children.push_back(child);
  }
  close(go[0]);
  close(go[1]);
  int firsts = 0;
  for (int i = 0; i < kStarts; ++i) {
    char answer = 0;
    ASSERT_EQ(read(answers[0], &answer, 1), 1);
    firsts += answer == 'n';
  }
  EXPECT_EQ(firsts, 1);
  for (pid_t child : children) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  close(answers[0]);
  close(answers[1]);
}

TEST(SingleInstance, NameIsPerUser) {
  EXPECT_EQ(InstanceNameForUser("tolvane"), "tolvane-" + std::to_string(getuid()));
}

}  // namespace
}  // namespace tolvane::runtime
