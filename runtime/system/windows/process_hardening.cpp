#include "runtime/system/process_hardening.h"

#include <windows.h>

namespace tolvane::system {
namespace {

// From werapi.h, which mingw-w64's headers do not compile as C++; the function lives in
// kernel32 since Vista.
constexpr DWORD kWerNoHeap = 0x1;  // WER_FAULT_REPORTING_FLAG_NOHEAP
constexpr DWORD kWerNoUi = 0x20;   // WER_FAULT_REPORTING_NO_UI
using WerSetFlagsFunction = HRESULT(WINAPI*)(DWORD);

}  // namespace

bool HardenProcess() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const auto setFlags = reinterpret_cast<WerSetFlagsFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "WerSetFlags")));
  return setFlags != nullptr && SUCCEEDED(setFlags(kWerNoHeap | kWerNoUi));
}

}  // namespace tolvane::system
