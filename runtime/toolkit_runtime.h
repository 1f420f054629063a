#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/control_layout.h"
#include "runtime/event_port.h"
#include "runtime/form.h"
#include "runtime/program_info.h"
#include "runtime/runtime.h"
#include "runtime/services.h"

namespace tolvane::runtime {

// What a toolkit's form shares with every other: the controls each slot holds, the event
// port, and unloading. A toolkit builds the windows and fills in the controls.
class ToolkitForm : public Form {
 public:
  ToolkitForm(FormEvents& events, const bool& ended, EventPort::FailHandler fail)
      : port_(events, ended, std::move(fail)) {}

  CheckBox& CheckBoxAt(std::size_t slot) override;
  ComboBox& ComboBoxAt(std::size_t slot) override;
  TextBox& TextBoxAt(std::size_t slot) override;
  Timer& TimerAt(std::size_t slot) override;
  // Raises Unload, then hides the window; the runtime then hears of it.
  void Unload() override;
  bool Unloaded() const { return unloaded_; }
  void WhenUnloaded(std::function<void()> done) { whenUnloaded_ = std::move(done); }

  EventPort& Port() { return port_; }
  // Shows the window with the focus on the first control in tab order.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  void StopTimers();

 protected:
  struct SlotControls {
    std::unique_ptr<CheckBox> checkBox;
    std::unique_ptr<ComboBox> comboBox;
    std::unique_ptr<TextBox> textBox;
    std::unique_ptr<Timer> timer;
  };
  std::vector<SlotControls> controls_;  // one per slot of the layout
  // Fills controls_ with what make returns for each slot that holds a control, filed under
  // the slot's kind.
  void HoldControls(const FormLayout& layout,
                    const std::function<std::unique_ptr<AnyControl>(std::size_t)>& make);

 private:
  EventPort port_;
  bool unloaded_ = false;
  std::function<void()> whenUnloaded_;
};

// The bookkeeping of a runtime on a toolkit: the services, the forms it made, the end of the
// process and what happens when a handler fails. A toolkit supplies the forms and the loop.
class ToolkitRuntime : public Runtime {
 public:
  ToolkitRuntime(Services services, ProgramInfo program) : services_(services), program_(program) {}

  bool PrevInstance() override { return services_.instance.AnotherIsRunning(); }
  RandomSource& Random() override { return services_.random; }
  void End() override;
  Form& CreateForm(const FormLayout& layout, FormEvents& events) override;
  int Run(Form& form) override;

  // When every form has unloaded and the logic has not ended the process, it ends with
  // status 0.
  bool Ended() const { return ended_; }
  int ExitStatus() const { return status_; }
  // An error that no handler dealt with: every window goes away, so no password from a failed
  // source stays on screen, the user is told why, and the process ends with status 1.
  void Fail(std::string_view what);
  const ProgramInfo& Program() const { return program_; }

 protected:
  // Raises Load and shows the window unless the process ended; Run then runs the loop.
  void Start(Form& form);
  virtual std::unique_ptr<ToolkitForm> MakeForm(const FormLayout& layout, FormEvents& events,
                                                const bool& ended, EventPort::FailHandler fail) = 0;
  // Runs the event loop until Quit.
  virtual void Loop() = 0;
  // Makes the loop return; called once, when the process ends.
  virtual void Quit() = 0;
  // Tells the user, and waits until they have read it.
  virtual void ShowFailure(const std::string& message) = 0;
  const std::vector<std::unique_ptr<ToolkitForm>>& Forms() const { return forms_; }
  InstanceCheck& Instance() { return services_.instance; }
  // For a toolkit whose windows must go before the toolkit itself does.
  void DestroyForms() { forms_.clear(); }

 private:
  ToolkitForm& Own(Form& form);
  // Stops every event and hides every window; the loop still runs until Quit.
  void EndWith(int status);

  Services services_;
  ProgramInfo program_;
  std::vector<std::unique_ptr<ToolkitForm>> forms_;
  bool ended_ = false;
  int status_ = 0;
};

}  // namespace tolvane::runtime
