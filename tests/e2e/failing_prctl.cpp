// Preloaded into the program, this makes PR_SET_DUMPABLE fail with EPERM, as a sandbox that
// filters prctl would; every other prctl goes to the kernel.
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

extern "C" int prctl(int option, ...) {
  va_list args;
  va_start(args, option);
  unsigned long a[4];
  for (unsigned long& arg : a) arg = va_arg(args, unsigned long);
  va_end(args);
  if (option == PR_SET_DUMPABLE) {
    errno = EPERM;
    return -1;
  }
  return static_cast<int>(syscall(SYS_prctl, option, a[0], a[1], a[2], a[3]));
}
