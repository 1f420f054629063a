#include "runtime/control_layout.h"

#include <algorithm>
#include <stdexcept>

namespace tolvane::runtime {

TwipRect InClientArea(const FormLayout& layout, std::size_t slot) {
  TwipRect r = layout.controls[slot].bounds;
  for (std::size_t c = layout.controls[slot].container; c != kOnForm;
       c = layout.controls[c].container) {
    if (c >= slot) throw std::logic_error("a container must come before its controls");
    r.left += layout.controls[c].bounds.left;
    r.top += layout.controls[c].bounds.top;
  }
  return r;
}

std::vector<std::size_t> TabOrder(const FormLayout& layout) {
  std::vector<std::size_t> order;
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    if (TakesFocus(layout.controls[slot].kind)) order.push_back(slot);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
  });
  return order;
}

namespace {

void StackChildren(const FormLayout& layout, std::size_t container,
                   std::vector<std::size_t>& order) {
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlLayout& control = layout.controls[slot];
    if (control.container != container || control.kind == ControlKind::Timer) continue;
    StackChildren(layout, slot, order);  // what a frame holds lies above the frame
    order.push_back(slot);
  }
}

}  // namespace

std::vector<std::size_t> StackingOrder(const FormLayout& layout) {
  std::vector<std::size_t> order;
  StackChildren(layout, kOnForm, order);
  return order;
}

std::string_view LabelCaption(const FormLayout& layout, std::size_t slot) {
  for (const ControlLayout& control : layout.controls) {
    if (control.labelFor == slot) return control.caption;
  }
  return {};
}

std::string_view CaptionColourNote(const FormLayout& layout, std::size_t slot, Color caption) {
  const ControlLayout& control = layout.controls[slot];
  if (caption == control.foreColor || control.colourNote == kNoControl) return {};
  return layout.controls[control.colourNote].caption;
}

}  // namespace tolvane::runtime
