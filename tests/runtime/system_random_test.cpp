#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "runtime/linux/process_hardening.h"
#include "runtime/linux/system_random_source.h"

namespace tolvane::runtime {
namespace {

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

TEST(SystemRandomSource, WipesEachByteAsItIsHandedOutAndTheRestOnRequest) {
  SystemRandomSource source;
  unsigned seen = 0;
  for (int i = 0; i < 40; ++i) seen |= source.NextByte();
  EXPECT_NE(seen, 0u);  // forty zero bytes from a real source: odds 2^-320
  EXPECT_EQ(source.BytesHeld(), SystemRandomSource::kBlockBytes - 40);
  EXPECT_TRUE(AllZero(source.Block().first(40)));
  EXPECT_FALSE(AllZero(source.Block().subspan(40)));  // odds 2^-32448
  source.Wipe();
  EXPECT_EQ(source.BytesHeld(), 0u);
  EXPECT_TRUE(AllZero(source.Block()));
}

TEST(SystemRandomSource, FetchesInBlocks) {
  SystemRandomSource source;
  for (std::size_t i = 0; i < 8 * SystemRandomSource::kBlockBytes; ++i) source.NextByte();
  EXPECT_EQ(source.Requests(), 8u);
  source.NextByte();
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
