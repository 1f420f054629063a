#include "runtime/system/single_instance.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include <vector>

namespace tolvane::system {

// The mutex lives in a private namespace whose boundary is the user's SID: only processes
// of this user can create or open the namespace, so no other account can hold the name.
// Where the system has no private namespaces (Wine), the mutex is named after the SID, made
// for this user alone, and a mutex of that name owned by anyone else does not count.
struct SingleInstance::Claim {
  ~Claim() {
    if (mutex) CloseHandle(mutex);
    if (space) ClosePrivateNamespace(space, 0);
    if (boundary) DeleteBoundaryDescriptor(boundary);
  }
  HANDLE boundary = nullptr;
  HANDLE space = nullptr;
  HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance(std::string program) : program_(std::move(program)) {}
SingleInstance::~SingleInstance() = default;
// The claim ends as it would with the process; the answer already given stands.
void SingleInstance::GiveUp() {
  claim_.reset();
}

namespace {

// The TOKEN_USER of this process, whose User.Sid is the user's SID.
std::vector<BYTE> TokenUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, ::TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  if (size == 0 || !GetTokenInformation(token, ::TokenUser, user.data(), size, &size)) {
    user.clear();
  }
  CloseHandle(token);
  return user;
}

std::wstring SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return {};
  std::wstring out(text);
  LocalFree(text);
  return out;
}

// Security attributes that give the user, and nobody else, every right; made() is false when
// the system could not make them.
struct UserOnly {
  explicit UserOnly(const std::wstring& sid) {
    const std::wstring sddl = L"O:" + sid + L"D:P(A;;GA;;;" + sid + L")";
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            sddl.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr)) {
      attributes.lpSecurityDescriptor = nullptr;
    }
  }
  bool made() const { return attributes.lpSecurityDescriptor != nullptr; }
  ~UserOnly() { LocalFree(attributes.lpSecurityDescriptor); }
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

bool OwnedBy(HANDLE object, PSID sid) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                      nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const bool same = owner != nullptr && EqualSid(owner, sid);
  LocalFree(descriptor);
  return same;
}

}  // namespace

std::optional<bool> SingleInstance::Ask() {
  const std::vector<BYTE> user = TokenUser();
  if (user.empty()) return std::nullopt;
  PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
  const std::wstring sidText = SidText(sid);
  const std::wstring program(program_.begin(), program_.end());
  UserOnly security(sidText);
  // Without them the name would take the default rights, which other accounts may have: no
  // claim, and the start goes ahead as where the check cannot be made.
  if (!security.made()) return std::nullopt;
  std::unique_ptr<Claim> claim(new Claim);

  std::wstring mutexName;
  claim->boundary = CreateBoundaryDescriptorW(program.c_str(), 0);
  if (claim->boundary && AddSIDToBoundaryDescriptor(&claim->boundary, sid)) {
    claim->space = CreatePrivateNamespaceW(&security.attributes, claim->boundary, program.c_str());
    if (!claim->space && GetLastError() == ERROR_ALREADY_EXISTS) {
      claim->space = OpenPrivateNamespaceW(claim->boundary, program.c_str());
    }
    if (!claim->space) return std::nullopt;
    mutexName = program + L"\\SingleInstance";
  } else {
    mutexName = L"Local\\" + program + L"." + sidText;
  }

  claim->mutex = CreateMutexW(&security.attributes, FALSE, mutexName.c_str());
  const DWORD error = GetLastError();
  if (!claim->mutex) return std::nullopt;  // another account's, closed to this user: start
  if (error == ERROR_ALREADY_EXISTS) return OwnedBy(claim->mutex, sid);
  claim_ = std::move(claim);
  return false;
}

}  // namespace tolvane::system
