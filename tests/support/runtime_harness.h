#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "runtime/services.h"
#include "runtime/toolkit_runtime.h"

namespace tolvane::testing {

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

// A toolkit's runtime as a user meets it, the same questions for every toolkit, so that the
// contract and the window are tested once and run on each runtime. Everything acts on the
// form the runtime made last; slots are that form's.
class RuntimeHarness {
 public:
  virtual ~RuntimeHarness() = default;
  virtual runtime::ToolkitRuntime& Runtime() = 0;
  // Raises the last form's Load and shows its window, without entering the event loop.
  virtual void StartLastForm() = 0;
  // False for a runtime that draws nothing: what only a screen shows is not asked of it.
  virtual bool HasScreen() const { return true; }
  // Lets the toolkit deliver events until done() holds or the time is up; done() once more.
  virtual bool WaitFor(const std::function<bool()>& done, int ms) = 0;
  // The sentinel of every "nothing happens" check: lets the toolkit run until a timer of ms,
  // started now, has fired, so that whatever was due or queued before it has been delivered.
  // False if it never fires (within a deadline a loaded machine meets).
  virtual bool Settle(int ms) = 0;

  // The user.
  virtual void ClickCheckBox(std::size_t slot) = 0;  // the mouse, on the box
  virtual void ClickLabel(std::size_t slot, bool rightButton = false) = 0;
  virtual void DoubleClickLabel(std::size_t slot) = 0;  // left button, as the system sends it
  virtual void ChooseNextEntry(std::size_t list) = 0;   // Down in the focused list
  virtual void PressKey(std::size_t slot, std::int16_t virtualKey) = 0;  // focus, then key
  virtual void PressKeyWhereFocused(std::int16_t virtualKey) = 0;        // an open list has it
  virtual void OpenList(std::size_t list) = 0;
  virtual void CloseWindow() = 0;
  // Runs act; a message box it shows is read, whileShown runs while it is up, and it is
  // closed as the user would. Its text, if any.
  virtual std::string ReadMessageDuring(const std::function<void()>& act,
                                        const std::function<void()>& whileShown = {}) = 0;

  // What the user sees.
  virtual bool WindowVisible() = 0;
  virtual std::string Title() = 0;
  virtual PixelRect ClientArea() = 0;
  virtual PixelRect RectOf(std::size_t slot) = 0;                  // in the client area
  virtual std::optional<std::size_t> ControlAt(int x, int y) = 0;  // the topmost there
  virtual std::optional<std::size_t> FocusAfterTab(std::size_t from) = 0;
  virtual bool Checked(std::size_t box) = 0;
  virtual bool ListOpen(std::size_t list) = 0;
  virtual std::string ShownText(std::size_t slot) = 0;  // caption, entry or text as drawn
  virtual runtime::Color CaptionColor(std::size_t slot) = 0;
};

// The program the harness's runtime runs: a name and texts of the tests' own, so that what a
// runtime shows is seen to come from its program, not from the runtime.
inline constexpr runtime::ProgramInfo kTestProgram{
    .name = "Проба",
    .command = "proba",
    .failureNotice = "Проба остановлена. Причина: ",
    .unknownReason = "неизвестно",
    .noDisplay = "нет дисплея",
};

// The runtime of the toolkit this test program is built for, on the given services, running
// kTestProgram.
std::unique_ptr<RuntimeHarness> MakeHarness(runtime::Services services);

// An instance check with a fixed answer.
struct FixedInstance final : runtime::InstanceCheck {
  explicit FixedInstance(bool another = false) : another(another) {}
  bool AnotherIsRunning() override { return another; }
  bool another;
};

}  // namespace tolvane::testing
