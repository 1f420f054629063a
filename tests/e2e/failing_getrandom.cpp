// Preloaded into the program, this makes the kernel's generator fail for the program's own
// requests (4 KiB blocks) with EIO, as a broken or missing entropy source would; the small
// requests the C library and the toolkit make for themselves still succeed. With
// FAILING_GETRANDOM_ONCE_EXISTS set to a path, it fails only once that file exists.
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>

extern "C" ssize_t getrandom(void* buffer, std::size_t length, unsigned int flags) {
  const char* trigger = std::getenv("FAILING_GETRANDOM_ONCE_EXISTS");
  struct stat file {};
  if (length >= 4096 && (trigger == nullptr || stat(trigger, &file) == 0)) {
    errno = EIO;
    return -1;
  }
  return syscall(SYS_getrandom, buffer, length, flags);
}
