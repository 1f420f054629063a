#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>

#include "runtime/program_info.h"
#include "runtime/qt/qt_form.h"
#include "runtime/toolkit_runtime.h"

namespace tolvane::runtime {

class ContrastPreference;

// The runtime on Qt 6 Widgets. Uses the running QApplication if there is one (tests make
// their own), otherwise makes one that sees no command line.
class QtRuntime : public ToolkitRuntime {
 public:
  explicit QtRuntime(Services services, ProgramInfo program = {});
  ~QtRuntime() override;

 protected:
  std::unique_ptr<ToolkitForm> MakeForm(const FormLayout& layout, FormEvents& events,
                                        const bool& ended, EventPort::FailHandler fail) override;
  void Loop() override;
  void Quit() override;
  void ShowFailure(const std::string& message) override;

 private:
  bool looping_ = false;
  // The toolkit's command line: the program's command alone; it keeps the pointers.
  std::string command_;
  int argc_ = 1;
  char* argv_[2] = {command_.data(), nullptr};
  std::unique_ptr<QApplication> ownApp_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<QObject> clipboardHint_;
  std::unique_ptr<QObject> discardOnIdle_;
  std::unique_ptr<ContrastPreference> contrast_;
};

}  // namespace tolvane::runtime
