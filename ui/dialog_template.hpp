#pragma once
// Dialogs built from a table of controls placed in dialog units, as a dialog resource describes
// them: each control has its id (also its object name, so tests and help find it), kind, place
// and text. Dialog units follow the dialog's font: x * base_x / 4, y * base_y / 8.
#include <QRect>
#include <QSize>
#include <map>
#include <span>

class QWidget;

namespace zta::ui {

enum class item_kind {
  group,         // QGroupBox frame with its caption
  label,         // static text; `buddy` names the control its mnemonic focuses
  push,          // QPushButton
  default_push,  // the default QPushButton
  check,         // QCheckBox that toggles itself
  manual_check,  // manual_check_box: the owner decides
  radio,         // QRadioButton (all radios of a dialog form one group)
  edit,          // QLineEdit
  combo,         // drop-down list (QComboBox, not editable)
  list,          // QListWidget
  level,         // LDBEdit percentage slider
};

struct dialog_item {
  int id;  // -1 for frames and texts nobody refers to
  item_kind kind;
  QRect units;
  const char* text = "";
  int buddy = -1;
};

struct dialog_base {
  int x = 6;   // average character width
  int y = 13;  // character height
  QRect pixels(const QRect& units) const;
  QSize pixels(const QSize& units) const;
};
dialog_base dialog_base_of(const QWidget& w);

class dialog_controls {
 public:
  // Makes the controls as children of `owner`, in table order (which is also the tab order),
  // and gives `owner` the fixed size `units`.
  void build(QWidget& owner, QSize units, std::span<const dialog_item> items);
  QWidget* at(int id) const;
  template <typename T>
  T* get(int id) const {
    return static_cast<T*>(at(id));
  }

 private:
  std::map<int, QWidget*> by_id_;
};

}  // namespace zta::ui
