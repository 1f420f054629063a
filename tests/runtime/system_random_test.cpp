#include "runtime/linux/system_random_source.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "runtime/linux/process_hardening.h"

namespace tolvane::runtime {
namespace {

bool AllZero(std::span<const std::uint32_t> words) {
  return std::all_of(words.begin(), words.end(), [](std::uint32_t w) { return w == 0; });
}

TEST(SystemRandomSource, WipesEachWordAsItIsHandedOutAndTheRestOnRequest) {
  SystemRandomSource source;
  std::uint32_t seen = 0;
  for (int i = 0; i < 10; ++i) seen |= source.NextWord();
  EXPECT_NE(seen, 0u);  // ten zero words from a real source: odds 2^-320
  EXPECT_EQ(source.WordsHeld(), SystemRandomSource::kBlockWords - 10);
  EXPECT_TRUE(AllZero(source.Block().first(10)));
  EXPECT_FALSE(AllZero(source.Block().subspan(10)));
  source.Wipe();
  EXPECT_EQ(source.WordsHeld(), 0u);
  EXPECT_TRUE(AllZero(source.Block()));
}

TEST(SystemRandomSource, FetchesInBlocks) {
  SystemRandomSource source;
  for (std::size_t i = 0; i < 8 * SystemRandomSource::kBlockWords; ++i) source.NextWord();
  EXPECT_EQ(source.Requests(), 8u);
  source.NextWord();
  EXPECT_EQ(source.Requests(), 9u);
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
}  // namespace tolvane::runtime
