#pragma once
// The controls of the main window as laid out in its dialog resource: id, kind, place in dialog
// units (226 x 226, MS Sans Serif 8), text, glyph bitmap and tooltip. The main window builds
// itself from this table.
#include <QRect>
#include <span>

namespace zta::ui {

enum class control_kind { group, list, glyph_button, page_button, script_text, icon };

// Control identifiers of the main window.
enum control_id : int {
  id_none = -1,  // the group frame
  id_announcement_control = 101,
  id_play = 102,
  id_page = 103,
  id_stop = 104,
  id_list = 105,
  id_script = 106,
  id_close = 109,
  id_load = 110,
  id_settings = 111,
  id_icon = 130,
  id_help = 150,
};

struct control_layout {
  control_id id;
  control_kind kind;
  QRect dialog_units;
  const char* text;     // with mnemonic markers; "" when none
  int bitmap;           // glyph bitmap number; 0 when none
  const char* tooltip;  // "" when none
};

inline constexpr QSize main_window_dialog_units{226, 226};

std::span<const control_layout> main_window_controls();
// Dialog units to pixels for a font whose average character is base_x wide and base_y high
// (x * base_x / 4, y * base_y / 8); MS Sans Serif 8 has 6 x 13.
QRect dialog_units_to_pixels(const QRect& dlu, int base_x = 6, int base_y = 13);

}  // namespace zta::ui
