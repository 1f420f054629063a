#include "runtime/win32/single_instance.h"

#include <windows.h>

namespace tolvane::runtime {

SingleInstance::SingleInstance(std::wstring name) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

bool SingleInstance::AnotherIsRunning() {
  if (asked_) return another_;
  asked_ = true;
  mutex_ = CreateMutexW(nullptr, FALSE, name_.c_str());
  const DWORD error = GetLastError();
  if (mutex_ == nullptr) return another_ = error == ERROR_ACCESS_DENIED;  // held by another
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex_);
    mutex_ = nullptr;
    return another_ = true;
  }
  return another_ = false;
}

std::wstring InstanceNameForSession(const std::wstring& program) {
  return L"Local\\" + program + L".SingleInstance";
}

}  // namespace tolvane::runtime
