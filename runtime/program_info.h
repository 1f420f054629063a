#pragma once

#include <string_view>

namespace tolvane::runtime {

// The program's version record, as the platform shows it.
struct ProgramInfo {
  std::string_view name;
  std::string_view version;
  std::string_view desktopId;  // the launcher's name, reverse-DNS, where a desktop uses one
};

}  // namespace tolvane::runtime
