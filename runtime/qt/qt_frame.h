#pragma once

#include <QGroupBox>

namespace tolvane::runtime {

// A frame drawn the classic way: an etched border whose top edge runs through the middle of
// the caption, with the caption set into it near the left end.
class EtchedFrame final : public QGroupBox {
 public:
  EtchedFrame(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tolvane::runtime
