// Preloaded into the program when the no-write session is traced by an ordinary account: the
// program's request to become non-dumpable is answered as done but not carried out, because
// the kernel lets only root's tracer read a non-dumpable process's memory, and the trace
// needs the paths the program passes. With TOLVANE_REFUSE_DUMPABLE set, the request is
// refused instead (EPERM), as a sandbox that filters prctl would. Every other request goes
// through.
#include <dlfcn.h>
#include <sys/prctl.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>

extern "C" int prctl(int option, ...) {
  va_list args;
  va_start(args, option);
  unsigned long arg[4];
  for (unsigned long& a : arg) a = va_arg(args, unsigned long);
  va_end(args);
  if (option == PR_SET_DUMPABLE) {
    if (std::getenv("TOLVANE_REFUSE_DUMPABLE") == nullptr) return 0;
    errno = EPERM;
    return -1;
  }
  using Prctl = int (*)(int, ...);
  static const auto real = reinterpret_cast<Prctl>(dlsym(RTLD_NEXT, "prctl"));
  return real(option, arg[0], arg[1], arg[2], arg[3]);
}
