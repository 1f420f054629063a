// The built tolvane.exe as whole processes under Wine: its resources and the single-instance
// rule.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/system/single_instance.h"

namespace tolvane {
namespace {

// The build hands over a Unix path; Wine shows the Unix root as drive Z:.
std::wstring ProgramPath() {
  std::wstring path = L"Z:";
  for (const char* c = TOLVANE_PROGRAM; *c; ++c)
    path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

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

TEST(Win32Program, VersionRecordNamesTolvaneOneHundredth) {
  EXPECT_EQ(VersionString(L"ProductName"), L"Tolvane");
  EXPECT_EQ(VersionString(L"ProductVersion"), L"1.00");
  EXPECT_EQ(VersionString(L"FileVersion"), L"1.00");
  EXPECT_EQ(VersionString(L"FileDescription"), L"Генератор паролей");
}

TEST(Win32Program, CarriesTheSixteenColorIcon) {
  HMODULE module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  // GRPICONDIR: reserved, type, count, then entries of width, height, colors...
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  EXPECT_EQ(dir[4], 1);   // one image
  EXPECT_EQ(dir[6], 16);  // 16 wide
  EXPECT_EQ(dir[7], 16);  // 16 high
  EXPECT_EQ(dir[8], 16);  // 16 colors
  FreeLibrary(module);
}

struct Process {
  PROCESS_INFORMATION info{};
  bool started = false;
};

Process Start() {
  Process p;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
  p.started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &p.info);
  return p;
}

void Close(Process& p) {
  if (!p.started) return;
  CloseHandle(p.info.hThread);
  CloseHandle(p.info.hProcess);
  p.started = false;
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

}  // namespace
}  // namespace tolvane
