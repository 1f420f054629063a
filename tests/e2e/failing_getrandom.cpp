// Preloaded into the program, this makes the kernel's generator fail for the program's own
// requests (4 KiB blocks) with EIO, as a broken or missing entropy source would; the small
// requests the C library and the toolkit make for themselves still succeed.
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

extern "C" ssize_t getrandom(void* buffer, std::size_t length, unsigned int flags) {
  if (length >= 4096) {
    errno = EIO;
    return -1;
  }
  return syscall(SYS_getrandom, buffer, length, flags);
}
