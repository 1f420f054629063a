#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

#include "runtime/linux/single_instance.h"
#include "runtime/linux/system_random_source.h"
#include "runtime/program_info.h"
#include "runtime/qt/qt_form.h"
#include "runtime/runtime.h"

namespace tolvane::runtime {

// The runtime on Qt 6 Widgets. Uses the running QApplication if there is one (tests make
// their own), otherwise makes one that sees no command line.
class QtRuntime final : public Runtime {
 public:
  // random: null for the system's cryptographic source.
  explicit QtRuntime(std::string instanceName, RandomSource* random = nullptr,
                     ProgramInfo program = {});
  ~QtRuntime() override;

  bool PrevInstance() override;
  RandomSource& Random() override;
  void End() override;
  Form& CreateForm(const FormSpec& layout, FormEvents& events) override;
  int Run(Form& form) override;

  // Raises Load and shows the window unless the process ended; Run then runs the loop.
  void Start(Form& form);
  bool Ended() const { return ended_; }
  // The system source when the runtime made its own, else null.
  const SystemRandomSource* SystemRandom() const { return systemRandom_.get(); }
  // The form made last; throws std::logic_error before the first.
  QtForm& LastForm();

 private:
  QtForm& Own(Form& form);

  int argc_ = 1;
  char programName_[8] = "tolvane";
  char* argv_[2] = {programName_, nullptr};
  std::unique_ptr<QApplication> ownApp_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<QObject> clipboardHint_;
  SingleInstance instance_;
  std::unique_ptr<SystemRandomSource> systemRandom_;
  std::unique_ptr<QObject> wipeOnIdle_;  // goes before the source it wipes
  RandomSource* random_;
  std::vector<std::unique_ptr<QtForm>> forms_;
  bool ended_ = false;
};

}  // namespace tolvane::runtime
