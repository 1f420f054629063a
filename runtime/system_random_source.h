#pragma once

// The platform's cryptographic random source, for code built on every platform.
#if defined(_WIN32)
#include "runtime/win32/system_random_source.h"
#else
#include "runtime/linux/system_random_source.h"
#endif
