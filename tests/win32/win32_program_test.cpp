// The built tolvane.exe as whole processes under Wine: its resources and the single-instance
// rule.
#include "win32_program.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/system/single_instance.h"

namespace tolvane {
namespace {

std::wstring VersionString(const std::wstring& name) {
  const std::wstring path = ProgramPath();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return L"";
  std::wstring data(size, L'\0');
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return L"";
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = L"\\StringFileInfo\\041904B0\\" + name;
  if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
    return L"";
  return std::wstring(value);
}

// The version record carries the build's version, written once for the whole project.
TEST(Win32Program, VersionRecordCarriesTheBuildVersion) {
  EXPECT_EQ(VersionString(L"ProductVersion"), L"" TOLVANE_VERSION);
  EXPECT_EQ(VersionString(L"FileVersion"), L"" TOLVANE_VERSION);
}

// The program as a data file: its resources, read as Explorer and the loader read them.
struct ProgramImage {
  ProgramImage()
      : module(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramImage() { FreeLibrary(module); }
  std::string Resource(LPCWSTR type, int id) const {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
  }
  HMODULE module;
};

// What the system picks for each size Explorer and the taskbar ask for: an image of that size,
// and at 16 x 16 the designed one in 16 colours.
TEST(Win32Program, OffersTheSixteenColorIconAndLargerSizes) {
  const ProgramImage program;
  std::string dir = program.Resource(RT_GROUP_ICON, 1);
  ASSERT_FALSE(dir.empty());
  for (int size : {16, 32, 48, 256}) {
    const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(dir.data()), TRUE, size,
                                               size, LR_DEFAULTCOLOR);
    const std::string image = program.Resource(RT_ICON, id);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << size;
    if (image.compare(0, 4, "\x89PNG") == 0) {  // the width is the header chunk's first field
      const auto byte = [&](int at) { return static_cast<unsigned char>(image[at]); };
      EXPECT_EQ(byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19), size);
      continue;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, size);
    EXPECT_TRUE(size != 16 || header.biBitCount == 4) << "16 colours at 16 x 16";
  }
}

TEST(Win32Program, ManifestAsksForPerMonitorDpiAndNoElevationAndTheHeaderIsTerminalServerAware) {
  const std::string manifest = ProgramImage().Resource(MAKEINTRESOURCEW(24), 1);
  for (const char* part : {"PerMonitorV2", "true/pm", "level=\"asInvoker\"",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
  HMODULE image = LoadLibraryExW(ProgramPath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(image, nullptr);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
      reinterpret_cast<const BYTE*>(image) + dos->e_lfanew);
  EXPECT_TRUE(nt->OptionalHeader.DllCharacteristics &
              IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
  FreeLibrary(image);
}

bool NameHeld() {
  system::SingleInstance probe("Tolvane");
  return probe.AnotherIsRunning();
}

bool WaitUntilHeld() {
  for (int i = 0; i < 200 && !NameHeld(); ++i) Sleep(50);
  return NameHeld();
}

TEST(Win32Program, SecondStartEndsAtOnceAndAKilledInstanceNeverBlocks) {
  ASSERT_FALSE(NameHeld()) << "another Tolvane runs in this session";
  Process first = Start();
  ASSERT_TRUE(first.started);
  ASSERT_TRUE(WaitUntilHeld());

  Process second = Start();
  ASSERT_TRUE(second.started);
  EXPECT_EQ(WaitForSingleObject(second.info.hProcess, 20000), WAIT_OBJECT_0);
  DWORD status = 1;
  GetExitCodeProcess(second.info.hProcess, &status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(WaitForSingleObject(first.info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the first instance must still run";
  Close(second);

  TerminateProcess(first.info.hProcess, 9);
  WaitForSingleObject(first.info.hProcess, 10000);
  Close(first);
  EXPECT_FALSE(NameHeld());
}

// Twips are physical units: at 144 dots per inch the client area of 6765 x 6045 twips is
// 677 x 605 pixels, and each result box 6405 x 255 twips is 641 x 26 (halves round up).
// Windows reads the screen's DPI setting when a session starts, at sign-in, and so does Wine
// 10: tests/wine/windows_tests.sh runs this test (labelled screen144) in a session of its own
// begun at 144 dpi.
TEST(Win32Program, LaysItselfOutForA144DpiScreen) {
  // Read the program's window in its own pixels, not scaled to this test's DPI.
  const auto perMonitorAware = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  ASSERT_NE(perMonitorAware, nullptr);
  perMonitorAware(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  HDC screen = GetDC(nullptr);
  const int sessionDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(sessionDpi, 144) << "runs in a session begun at 144 dpi";
  Process program = Start();
  const HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);

  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 677);
  EXPECT_EQ(client.bottom, 605);
  std::vector<RECT> boxes;
  for (const Control& c : Controls(window)) {
    RECT r;
    GetWindowRect(c.window, &r);
    if (c.kind == L"Edit") boxes.push_back(r);
  }
  ASSERT_EQ(boxes.size(), 10u);
  for (const RECT& r : boxes) {
    EXPECT_EQ(r.right - r.left, 641);
    EXPECT_EQ(r.bottom - r.top, 26);
  }
  End(program);
}

// Wine's major version, or 0 on Windows itself.
int WineMajorVersion() {
  const auto version = reinterpret_cast<const char* (*)()>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  return version ? std::atoi(version()) : 0;
}

// What a screen reader hears through Active Accessibility, read from the running window as
// far as Wine's accessibility layer shows it: names taken from the controls' own text, so the
// labels' character sets and the check boxes' captions, and the lists' bounds where Windows
// hears them as values; each result box's value, the whole password it shows. (Wine, 10 included,
// keeps no annotations, which give the lists and result boxes their names on Windows; before Wine
// 10 its names lost Cyrillic text read from another process.)
TEST(Win32Program, ControlsCarryTheirSpokenNamesAndTheWholePasswords) {
  Process program = Start();
  const HWND window = WaitForWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  struct Heard {
    std::vector<std::wstring> names;
    std::vector<std::pair<std::wstring, std::wstring>> passwords;  // value, text shown
  } heard;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) {
        auto& heard = *reinterpret_cast<Heard*>(found);
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), kAccessible,
                                              reinterpret_cast<void**>(&accessible))))
          return TRUE;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (accessible->get_accName(self, &text) == S_OK && text) {
          heard.names.emplace_back(text);
          SysFreeString(text);
        }
        wchar_t kind[16] = {}, shown[64] = {};
        GetClassNameW(child, kind, 16);
        if (std::wstring(kind) == L"Edit" && accessible->get_accValue(self, &text) == S_OK) {
          // Another process's text: asked of the control itself.
          SendMessageW(child, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
          heard.passwords.emplace_back(text ? text : L"", shown);
          SysFreeString(text);
        }
        accessible->Release();
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&heard));
  CoUninitialize();
  End(program);
  ASSERT_EQ(heard.passwords.size(), 10u);
  for (const auto& [value, shown] : heard.passwords) {
    EXPECT_GE(value.size(), 8u);
    EXPECT_EQ(value, shown);
  }
  const std::vector<std::wstring>& names = heard.names;
  std::vector<std::wstring> expected = {L"0123456789", L"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                        L"abcdefghijklmnopqrstuvwxyz", L"8", L"12"};
  const int wine = WineMajorVersion();
  if (wine == 0 || wine >= 10) {
    expected.insert(expected.end(),
                    {L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", L"абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
                     L"Цифры", L"ENG Прописные буквы", L"ENG Строчные буквы",
                     L"Специальные символы", L"РУС Прописные буквы", L"РУС Строчные буквы"});
  }
  for (const std::wstring& name : expected) {
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end())
        << "no control is named " << testing::PrintToString(name);
  }
}

}  // namespace
}  // namespace tolvane
