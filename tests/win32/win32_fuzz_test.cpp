// Another program of the session, buggy or hostile, at the running tolvane.exe under Wine:
// seeded random window messages to its controls (texts asked into short buffers, selections
// and list entries out of range, check states other than 0 and 1, keys) and random Active
// Accessibility calls with child ids and points out of range. The program answers every one
// within the bound and lives; afterwards F5 gives ten passwords within the bounds the lists
// show, and Esc ends it with status 0. A failure names the seed and the call; a run is
// replayed with TOLVANE_FUZZ_SEED set to its seed.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "win32_program.h"

namespace tolvane {
namespace {

// 37, or the seed of a run to replay from TOLVANE_FUZZ_SEED.
const unsigned kSeed = [] {
  const char* seed = std::getenv("TOLVANE_FUZZ_SEED");
  return seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 37u;
}();
constexpr int kMessages = 1500;
constexpr int kAccessibleCalls = 400;
constexpr UINT kBoundMs = 2000;  // a hang is far longer; a loaded machine takes its time

std::wstring TextOf(HWND control) {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      kBoundMs, &copied);
  return text;
}

class Fuzz {
 public:
  explicit Fuzz(const Process& program) : program_(program) {}

  // Sends and waits for the answer; false (with the failure told) when none came in time.
  bool Send(HWND to, UINT message, WPARAM w, LPARAM l, const char* what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(to, message, w, l, SMTO_NORMAL, kBoundMs, &result) == 0 &&
        GetLastError() == ERROR_TIMEOUT) {
      ADD_FAILURE() << "seed " << kSeed << ": no answer to " << what << " within " << kBoundMs
                    << " ms";
      return false;
    }
    return Alive(what);
  }
  bool Alive(const char* after) {
    if (WaitForSingleObject(program_.info.hProcess, 0) != WAIT_OBJECT_0) return true;
    ADD_FAILURE() << "seed " << kSeed << ": the program ended after " << after;
    return false;
  }
  int Any() {
    static constexpr int kNumbers[] = {0,  1,  2,    3,  5,  9,       49,
                                       50, 51, 1000, -1, -2, INT_MAX, INT_MIN};
    return random_() % 4 == 0 ? static_cast<int>(random_())
                              : kNumbers[random_() % std::size(kNumbers)];
  }
  std::uint32_t Next() { return random_(); }

 private:
  const Process& program_;
  std::mt19937 random_{kSeed};  // the test's own choices, replayable by the seed
};

// One random message a program may send another's control, with what it does.
bool SendOneMessage(Fuzz& fuzz, const Control& c) {
  static constexpr UINT kKeys[] = {VK_F5,  VK_F2,     VK_TAB,  VK_SPACE, VK_UP, VK_DOWN,   VK_HOME,
                                   VK_END, VK_DELETE, VK_BACK, 'A',      '9',   VK_RETURN, VK_F4};
  switch (fuzz.Next() % 10) {
    case 0: {  // a text into a buffer of a few characters, guarded past its end
      const int size = static_cast<int>(fuzz.Next() % 4);
      std::wstring buffer(size + 8, L'#');
      const bool answered = fuzz.Send(c.window, WM_GETTEXT, size,
                                      reinterpret_cast<LPARAM>(buffer.data()), "WM_GETTEXT");
      EXPECT_EQ(buffer.substr(size), std::wstring(8, L'#')) << "written past the buffer";
      return answered;
    }
    case 1:
      return fuzz.Send(c.window, EM_SETSEL, fuzz.Any(), fuzz.Any(), "EM_SETSEL");
    case 2:
      return fuzz.Send(c.window, CB_SETCURSEL, fuzz.Any(), 0, "CB_SETCURSEL");
    case 3:
      return fuzz.Send(c.window, BM_SETCHECK, fuzz.Any(), 0, "BM_SETCHECK");
    case 4:
      return fuzz.Send(c.window, BM_CLICK, 0, 0, "BM_CLICK");
    case 5: {  // keys as the message loop gets them; Esc would end the program, F4 with Alt too
      const UINT key = kKeys[fuzz.Next() % std::size(kKeys)];
      PostMessageW(c.window, WM_KEYDOWN, key, 1);
      PostMessageW(c.window, WM_KEYUP, key, 0xC0000001);
      return fuzz.Send(c.window, WM_NULL, 0, 0, "a key");
    }
    case 6:
      return fuzz.Send(c.window, WM_CHAR, 0x20 + fuzz.Next() % 0x4A0, 1, "WM_CHAR");
    case 7:
      return fuzz.Send(c.window, CB_SHOWDROPDOWN, fuzz.Next() % 2, 0, "CB_SHOWDROPDOWN");
    case 8:
      return fuzz.Send(c.window, CB_GETLBTEXTLEN, fuzz.Any(), 0, "CB_GETLBTEXTLEN");
    default:
      return fuzz.Send(c.window, fuzz.Next() % 2 ? WM_COPY : WM_CUT, 0, 0, "WM_COPY/WM_CUT");
  }
}

// One random Active Accessibility call on the control's object, with a child id of any kind.
void CallOnce(Fuzz& fuzz, IAccessible& object) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = fuzz.Next() % 2 ? CHILDID_SELF : fuzz.Any();
  VARIANT out{};
  BSTR text = nullptr;
  long left = 0, top = 0, width = 0, height = 0;
  switch (fuzz.Next() % 9) {
    case 0:
      object.get_accName(child, &text);
      break;
    case 1:
      object.get_accValue(child, &text);
      break;
    case 2:
      object.get_accDescription(child, &text);
      break;
    case 3:
      object.get_accRole(child, &out);
      break;
    case 4:
      object.get_accState(child, &out);
      break;
    case 5:
      object.accLocation(&left, &top, &width, &height, child);
      break;
    case 6:
      object.accHitTest(fuzz.Any(), fuzz.Any(), &out);
      break;
    case 7:
      object.accNavigate(static_cast<long>(fuzz.Next() % 10), child, &out);
      break;
    default: {
      IDispatch* got = nullptr;
      if (object.get_accChild(child, &got) == S_OK && got) got->Release();
    }
  }
  SysFreeString(text);
  VariantClear(&out);
}

TEST(Win32Program, RandomMessagesAndAccessibilityCallsNeitherCrashNorHangIt) {
  Process program = Start();
  const HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  Fuzz fuzz(program);
  const std::vector<Control> controls = Controls(window);
  ASSERT_GE(controls.size(), 28u);

  for (int i = 0; i < kMessages && !testing::Test::HasFailure(); ++i)
    SendOneMessage(fuzz, controls[fuzz.Next() % controls.size()]);

  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  std::vector<IAccessible*> objects;
  for (const Control& c : controls) {
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(c.window, static_cast<DWORD>(OBJID_CLIENT),
                                             kAccessible, reinterpret_cast<void**>(&object))))
      objects.push_back(object);
  }
  for (int i = 0; i < kAccessibleCalls && !objects.empty() && fuzz.Alive("an accessibility call");
       ++i)
    CallOnce(fuzz, *objects[fuzz.Next() % objects.size()]);
  for (IAccessible* object : objects) object->Release();
  CoUninitialize();
  ASSERT_FALSE(testing::Test::HasFailure());

  // F5 from the bottom result box: ten new passwords whose lengths lie between the bounds the
  // lists show (any length of 1 to 50 for a list that shows none), with the digits on.
  std::vector<HWND> boxes, lists;
  HWND digits = nullptr;
  for (const Control& c : controls) {
    if (c.kind == L"Edit") boxes.push_back(c.window);
    if (c.kind == L"ComboBox") lists.push_back(c.window);
    if (c.kind == L"Button" && TextOf(c.window) == L"Цифры") digits = c.window;
  }
  ASSERT_EQ(boxes.size(), 10u);
  ASSERT_EQ(lists.size(), 2u);
  for (HWND list : lists) fuzz.Send(list, CB_SHOWDROPDOWN, FALSE, 0, "closing a list");
  if (digits != nullptr) {
    for (int i = 0; i < 3 && SendMessageW(digits, BM_GETCHECK, 0, 0) != BST_CHECKED; ++i)
      fuzz.Send(digits, BM_CLICK, 0, 0, "switching the digits on");
  }
  // Each box first holds a space, which no password holds, so that the refresh is told by
  // every box having been written again.
  for (HWND box : boxes) {
    fuzz.Send(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" "), "WM_SETTEXT");
  }
  PostMessageW(boxes.back(), WM_KEYDOWN, VK_F5, 1);
  std::vector<std::wstring> after;
  const auto refreshed = [&] {
    after.clear();
    for (HWND box : boxes) after.push_back(TextOf(box));
    return std::find(after.begin(), after.end(), L" ") == after.end();
  };
  for (int waited = 0; waited < 20000 && !refreshed(); waited += 50) Sleep(50);
  ASSERT_TRUE(refreshed()) << "seed " << kSeed << ": F5 did not draw ten new passwords";
  int shortest = 1, longest = 50;
  const std::wstring a = TextOf(lists[0]), b = TextOf(lists[1]);
  if (!a.empty() && !b.empty()) {
    shortest = std::min(std::stoi(a), std::stoi(b));
    longest = std::max(std::stoi(a), std::stoi(b));
  }
  for (std::size_t i = 0; i < after.size(); ++i) {
    const int length = static_cast<int>(after[i].size());
    EXPECT_TRUE(shortest <= length && length <= longest)
        << "seed " << kSeed << ": box " << i << " holds " << length
        << " characters, the lists show " << testing::PrintToString(a) << " and "
        << testing::PrintToString(b);
  }

  PostMessageW(boxes.back(), WM_KEYDOWN, VK_ESCAPE, 1);
  ASSERT_EQ(WaitForSingleObject(program.info.hProcess, 20000), WAIT_OBJECT_0) << "Esc";
  DWORD status = 1;
  GetExitCodeProcess(program.info.hProcess, &status);
  EXPECT_EQ(status, 0u);
  Close(program);
}

}  // namespace
}  // namespace tolvane
