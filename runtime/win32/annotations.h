#pragma once

#include <windows.h>

#include <set>
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
  // A check box's description: the note its caption's colour carries, or else the set its
  // label shows. The first note to appear among the boxes is raised as an alert, which
  // screen readers announce; nothing is raised while one stands or as the last goes.
  void SetCheckBoxNote(HWND box, std::wstring_view note, std::wstring_view set);

 private:
  std::set<HWND> noted_;  // the boxes whose note stands
  bool comStarted_ = false;
  IAccPropServices* services_ = nullptr;
};

}  // namespace tolvane::runtime
