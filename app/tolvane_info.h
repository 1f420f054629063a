#pragma once

#include "runtime/program_info.h"

namespace tolvane::app {

inline constexpr runtime::ProgramInfo kTolvane{
    .name = "Tolvane",
    .command = "tolvane",
    .version = TOLVANE_VERSION,
    .desktopId = "ru.tolvane.Tolvane",
    .failureNotice = "Tolvane не может продолжить работу и будет закрыт.\n\nПричина: ",
    .unknownReason = "непредвиденная ошибка",
    .noDisplay = "окно негде показать: нет доступного дисплея (X11 или Wayland)",
    .windowSystemFailed = "дисплей есть, но окно показать не удалось. Ответ Qt:",
};

// Said on stderr when core files or tracing could not be switched off.
inline constexpr std::string_view kHardeningFailed =
    "предупреждение: система не дала запретить дампы памяти и трассировку; программа "
    "работает, но пароли в её памяти защищены слабее обычного";

}  // namespace tolvane::app
