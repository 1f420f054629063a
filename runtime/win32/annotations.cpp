#include "runtime/win32/annotations.h"

#include <initguid.h>  // the property GUIDs are defined here, not in a library
#include <oleacc.h>

#include <string>

namespace tolvane::runtime {
namespace {

// CLSID_CAccPropServices, which mingw-w64's libraries do not define.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};

void Set(IAccPropServices* services, HWND control, const MSAAPROPID& property,
         std::wstring_view text) {
  if (services == nullptr || control == nullptr) return;
  if (text.empty()) {
    services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    return;
  }
  std::wstring copy(text);  // the API takes a writable string
  services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, property, copy.data());
}

}  // namespace

Annotations::Annotations() {
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services_)))) {
    services_ = nullptr;
  }
}

Annotations::~Annotations() {
  if (services_) services_->Release();
  if (comStarted_) CoUninitialize();
}

void Annotations::SetName(HWND control, std::wstring_view name) {
  Set(services_, control, PROPID_ACC_NAME, name);
}

void Annotations::SetDescription(HWND control, std::wstring_view description) {
  Set(services_, control, PROPID_ACC_DESCRIPTION, description);
}

void Annotations::SetCheckBoxNote(HWND box, std::wstring_view note, std::wstring_view set) {
  SetDescription(box, note.empty() ? set : note);
  const bool first = noted_.empty() && !note.empty();
  if (note.empty()) {
    noted_.erase(box);
  } else {
    noted_.insert(box);
  }
  if (first) NotifyWinEvent(EVENT_SYSTEM_ALERT, box, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tolvane::runtime
