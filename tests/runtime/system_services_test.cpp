// The operating system's services, the same checks on every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "runtime/system/single_instance.h"
#include "runtime/system/system_random_source.h"

#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on
#else
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#endif

namespace tolvane::system {
namespace {

#if !defined(_WIN32)
// Every claim goes to a runtime directory of this test program's own, never the user's.
class PrivateRuntimeDirectory final : public ::testing::Environment {
 public:
  void SetUp() override {
    char path[] = "/tmp/tolvane-services-test-XXXXXX";
    ASSERT_NE(mkdtemp(path), nullptr);  // made 0700, as a login's runtime directory is
    dir_ = path;
    setenv("XDG_RUNTIME_DIR", path, 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

 private:
  std::string dir_;
};
const auto* const kRuntimeDirectory =
    ::testing::AddGlobalTestEnvironment(new PrivateRuntimeDirectory);
#endif

std::string TestProgram(const char* what) {
#if defined(_WIN32)
  const unsigned long pid = GetCurrentProcessId();
#else
  const unsigned long pid = getpid();
#endif
  return "tolvane-test-" + std::to_string(pid) + "-" + what;
}

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

TEST(SingleInstance, ASecondClaimSeesTheFirstUntilItGoes) {
  {
    SingleInstance first(TestProgram("same"));
    EXPECT_FALSE(first.AnotherIsRunning());
    EXPECT_FALSE(first.AnotherIsRunning());  // asking again changes nothing
    SingleInstance second(TestProgram("same"));
    EXPECT_TRUE(second.AnotherIsRunning());
    SingleInstance other(TestProgram("other"));
    EXPECT_FALSE(other.AnotherIsRunning());
  }
  SingleInstance next(TestProgram("same"));
  EXPECT_FALSE(next.AnotherIsRunning());
}

TEST(SingleInstance, OfManySimultaneousClaimsExactlyOneWins) {
  constexpr int kStarts = 16;
  std::vector<std::unique_ptr<SingleInstance>> instances;
  for (int i = 0; i < kStarts; ++i) {
    instances.push_back(std::make_unique<SingleInstance>(TestProgram("race")));
  }
  std::latch allReady(kStarts);  // they wait asleep, not spinning, until every one is there
  std::atomic<int> firsts{0};
  std::vector<std::thread> threads;
  for (auto& instance : instances) {
    threads.emplace_back([&, raw = instance.get()] {
      allReady.arrive_and_wait();
      if (!raw->AnotherIsRunning()) ++firsts;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(firsts, 1);
}

#if defined(_WIN32)
// Another account's object under the name this user's claim would take, open to everyone
// (here: owned by the system account) does not count as an instance of this user.
TEST(SingleInstance, AnObjectOwnedByAnotherAccountDoesNotCount) {
  const std::string program = TestProgram("squatted");
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  BYTE user[256];
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &size));
  CloseHandle(token);
  wchar_t* sid = nullptr;
  ASSERT_TRUE(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
  const std::wstring name = L"Local\\" + std::wstring(program.begin(), program.end()) + L"." + sid;
  LocalFree(sid);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"O:SYD:(A;;GA;;;WD)", SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr));
  HANDLE squatter = CreateMutexW(&attributes, FALSE, name.c_str());
  LocalFree(attributes.lpSecurityDescriptor);
  if (squatter == nullptr) GTEST_SKIP() << "this system lets no one give an object away";

  SingleInstance mine(program);
  EXPECT_FALSE(mine.AnotherIsRunning());
  CloseHandle(squatter);
}
#endif

// Blocks of a known pattern, kept where the source asked for them, so that wiping shows.
struct PatternSource final : BlockRandomSource {
  void Fetch(std::span<std::uint8_t> into) override {
    std::fill(into.begin(), into.end(), 0xA5);
    block = into;
    ++fetches;
  }
  std::span<const std::uint8_t> block;
  int fetches = 0;
};

TEST(BlockRandomSource, WipesEachByteAsItIsHandedOutAndTheRestWhenDiscarded) {
  PatternSource source;
  for (int i = 0; i < 40; ++i) ASSERT_EQ(source.NextByte(), 0xA5);
  EXPECT_TRUE(AllZero(source.block.first(40)));
  EXPECT_EQ(std::count(source.block.begin(), source.block.end(), 0xA5),
            static_cast<long>(BlockRandomSource::kBlockBytes - 40));
  source.Discard();
  EXPECT_TRUE(AllZero(source.block));
  source.NextByte();  // after a discard, a fresh block
  EXPECT_EQ(source.fetches, 2);
}

TEST(BlockRandomSource, FetchesAWholeBlockOnlyWhenTheLastIsSpent) {
  PatternSource source;
  for (std::size_t i = 0; i < 8 * BlockRandomSource::kBlockBytes; ++i) source.NextByte();
  EXPECT_EQ(source.fetches, 8);
  source.NextByte();
  EXPECT_EQ(source.fetches, 9);
}

TEST(SystemRandomSource, GivesTheSystemsBytes) {
  SystemRandomSource source;
  unsigned seen = 0;
  for (std::size_t i = 0; i < 8 * SystemRandomSource::kBlockBytes; ++i) seen |= source.NextByte();
  EXPECT_NE(seen, 0u);  // 32 KiB of zero bytes from a real source: odds 2^-262144
}

}  // namespace
}  // namespace tolvane::system
