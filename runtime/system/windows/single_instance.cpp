#include "runtime/system/single_instance.h"

#include <windows.h>

namespace tolvane::system {

// A named mutex in the session namespace; the system destroys it when the last handle
// closes.
struct SingleInstance::Claim {
  ~Claim() { CloseHandle(mutex); }
  HANDLE mutex;
};

SingleInstance::SingleInstance(std::string program) : program_(std::move(program)) {}
SingleInstance::~SingleInstance() = default;

std::optional<bool> SingleInstance::Ask() {
  const std::wstring name =
      L"Local\\" + std::wstring(program_.begin(), program_.end()) + L".SingleInstance";
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  const DWORD error = GetLastError();
  if (mutex == nullptr) return error == ERROR_ACCESS_DENIED;  // held by another
  std::unique_ptr<Claim> claim(new Claim{mutex});
  if (error == ERROR_ALREADY_EXISTS) return true;
  claim_ = std::move(claim);
  return false;
}

}  // namespace tolvane::system
