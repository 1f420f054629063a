#pragma once

#include <windows.h>

#include <string_view>

struct IAccPropServices;

namespace tolvane::runtime {

// Names and descriptions screen readers hear for controls whose own (the text they show) is
// not the right one: the lists and result boxes, a frame's note, a check box's warning.
// Through the Dynamic Annotation API; where the system lacks it, nothing happens.
class Annotations {
 public:
  Annotations();
  ~Annotations();
  Annotations(const Annotations&) = delete;
  Annotations& operator=(const Annotations&) = delete;

  void SetName(HWND control, std::wstring_view name);
  // An empty description takes the annotation away again.
  void SetDescription(HWND control, std::wstring_view description);

 private:
  bool comStarted_ = false;
  IAccPropServices* services_ = nullptr;
};

}  // namespace tolvane::runtime
