#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "runtime/win32/single_instance.h"
#include "runtime/win32/system_random_source.h"

namespace tolvane::runtime {
namespace {

std::wstring TestName(const wchar_t* what) {
  return L"Local\\tolvane-instance-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + what;
}

TEST(Win32SingleInstance, SecondHolderSeesTheFirstAndTheNameFreesWithIt) {
  {
    SingleInstance first(TestName(L"same"));
    EXPECT_FALSE(first.AnotherIsRunning());
    SingleInstance second(TestName(L"same"));
    EXPECT_TRUE(second.AnotherIsRunning());
    SingleInstance other(TestName(L"other"));
    EXPECT_FALSE(other.AnotherIsRunning());
  }
  SingleInstance next(TestName(L"same"));
  EXPECT_FALSE(next.AnotherIsRunning());
}

TEST(Win32SingleInstance, OfManySimultaneousStartsExactlyOneRuns) {
  constexpr int kStarts = 16;
  std::vector<std::unique_ptr<SingleInstance>> instances;
  for (int i = 0; i < kStarts; ++i)
    instances.push_back(std::make_unique<SingleInstance>(TestName(L"race")));
  std::atomic<int> ready{0};
  std::atomic<int> firsts{0};
  std::vector<std::thread> threads;
  for (auto& instance : instances) {
    threads.emplace_back([&, raw = instance.get()] {
      ++ready;
      while (ready < kStarts) {
      }
      if (!raw->AnotherIsRunning()) ++firsts;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(firsts, 1);
}

TEST(Win32SingleInstance, NameIsInTheSessionNamespace) {
  EXPECT_EQ(InstanceNameForSession(L"Tolvane"), L"Local\\Tolvane.SingleInstance");
}

TEST(Win32SystemRandomSource, WipesEachByteAsItIsHandedOutAndTheRestOnRequest) {
  SystemRandomSource source;
  unsigned seen = 0;
  for (int i = 0; i < 40; ++i) seen |= source.NextByte();
  EXPECT_NE(seen, 0u);  // forty zero bytes from a real source: odds 2^-320
  EXPECT_EQ(source.BytesHeld(), SystemRandomSource::kBlockBytes - 40);
  const auto block = source.Block();
  EXPECT_TRUE(std::all_of(block.begin(), block.begin() + 40, [](auto b) { return b == 0; }));
  source.Wipe();
  EXPECT_TRUE(
      std::all_of(source.Block().begin(), source.Block().end(), [](auto b) { return b == 0; }));
  EXPECT_EQ(source.Requests(), 1u);
}

}  // namespace
}  // namespace tolvane::runtime
