#pragma once

#include <string>
#include <string_view>

namespace tolvane::runtime {

// What a runtime says of the program it runs: its names and the texts of its failures. The
// program's main fills it in, so no runtime names a product.
struct ProgramInfo {
  std::string_view name;     // message titles, the window class, the version record's name
  std::string_view command;  // what each line on standard error begins with
  std::string_view version;
  std::string_view desktopId;      // the launcher's name, reverse-DNS, where a desktop uses one
  std::string_view failureNotice;  // what the user is told when it fails, before the reason
  std::string_view unknownReason;  // the reason of a failure that gives none
  std::string_view noDisplay;      // the one line of a start that finds no display
  // The line of a start whose toolkit could not use the display it found; its reason follows.
  std::string_view windowSystemFailed;
};

// What the user reads when the program fails for this reason.
inline std::string FailureMessage(const ProgramInfo& program, std::string_view reason) {
  return std::string(program.failureNotice) +
         std::string(reason.empty() ? program.unknownReason : reason);
}

}  // namespace tolvane::runtime
