#include "runtime/system/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tolvane::system {

// An exclusive flock on "<program>.lock" in the user's runtime directory. The directory
// belongs to the user and nobody else may enter it, so no other account can take the lock or
// plant a file there; the kernel drops the lock with the process however it ends; the
// directory lives in memory. A directory that is not private this way is not used, and
// without one the check cannot be made safely: the program then starts.
struct SingleInstance::Claim {
  ~Claim() { close(file); }
  int file;
};

SingleInstance::SingleInstance(std::string program) : program_(std::move(program)) {}
SingleInstance::~SingleInstance() = default;
// The claim ends as it would with the process; the answer already given stands.
void SingleInstance::GiveUp() {
  claim_.reset();
}

namespace {

// The directory if it is this user's alone: a real directory (no link), owned by the user,
// closed to group and others.
int OpenPrivateDirectory(const std::string& path) {
  if (path.empty() || path.front() != '/') return -1;
  const int dir = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return -1;
  struct stat st {};
  if (fstat(dir, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
    close(dir);
    return -1;
  }
  return dir;
}

// XDG_RUNTIME_DIR, or where the login manager puts it when the variable is not passed on.
int OpenRuntimeDirectory() {
  const char* named = std::getenv("XDG_RUNTIME_DIR");
  if (named != nullptr) return OpenPrivateDirectory(named);
  return OpenPrivateDirectory("/run/user/" + std::to_string(geteuid()));
}

}  // namespace

std::optional<bool> SingleInstance::Ask() {
  const int dir = OpenRuntimeDirectory();
  if (dir < 0) return std::nullopt;
  const std::string name = program_ + ".lock";
  const int file = openat(dir, name.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  close(dir);
  if (file < 0) return std::nullopt;
  std::unique_ptr<Claim> claim(new Claim{file});
  if (flock(file, LOCK_EX | LOCK_NB) == 0) {
    claim_ = std::move(claim);
    return false;
  }
  if (errno == EWOULDBLOCK) return true;
  return std::nullopt;
}

}  // namespace tolvane::system
