#pragma once

#include <string_view>

namespace tolvane::runtime {

// The program's version record, as the platform shows it.
struct ProgramInfo {
  std::string_view name;
  std::string_view version;
};

}  // namespace tolvane::runtime
