#pragma once
// A check box that does not change its state when clicked: it only reports the click, and its
// owner decides (after a question, or by enabling what the box governs) whether it changes.
#include <QCheckBox>

namespace zta::ui {

class manual_check_box : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

}  // namespace zta::ui
