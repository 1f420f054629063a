#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/control_layout.h"
#include "runtime/controls.h"
#include "runtime/event_port.h"
#include "runtime/win32/annotations.h"

namespace tolvane::runtime {

class Win32CheckBox final : public CheckBox {
 public:
  Win32CheckBox(HWND box, std::size_t slot, EventPort& port, const FormLayout& layout,
                Annotations& annotations)
      : box_(box),
        slot_(slot),
        port_(port),
        layout_(layout),
        foreColor_(layout.controls[slot].foreColor),
        annotations_(annotations) {}
  std::int16_t Value() const override;
  void SetValue(std::int16_t value) override;
  Color ForeColor() const override { return foreColor_; }
  void SetForeColor(Color color) override;

 private:
  HWND box_;
  std::size_t slot_;
  EventPort& port_;
  const FormLayout& layout_;
  Color foreColor_;
  Annotations& annotations_;
};

class Win32ComboBox final : public ComboBox {
 public:
  Win32ComboBox(HWND list, std::size_t slot, EventPort& port)
      : list_(list), slot_(slot), port_(port) {}
  void AddItem(std::string_view text) override;
  int ListCount() const override;
  int ListIndex() const override;
  void SetListIndex(int index) override;

 private:
  HWND list_;
  std::size_t slot_;
  EventPort& port_;
};

class Win32TextBox final : public TextBox {
 public:
  explicit Win32TextBox(HWND edit) : edit_(edit) {}
  std::string Text() const override;
  void SetText(std::string_view utf8) override;

 private:
  HWND edit_;
};

// A window timer that never fires early: the system's timers run on a coarse tick, so a
// tick that comes before the interval is up re-arms for the rest instead of being reported.
class Win32Timer final : public Timer {
 public:
  Win32Timer(HWND owner, UINT_PTR id, unsigned intervalMs, std::size_t slot, EventPort& port)
      : owner_(owner), id_(id), intervalMs_(intervalMs), slot_(slot), port_(port) {}
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override;
  void OnTick();  // WM_TIMER with this timer's id

 private:
  void Arm(unsigned ms);
  double ElapsedMs() const;

  HWND owner_;
  UINT_PTR id_;
  unsigned intervalMs_;
  std::size_t slot_;
  EventPort& port_;
  bool enabled_ = false;
  LARGE_INTEGER started_{};
};

}  // namespace tolvane::runtime
