#include "ui/main_window_controls.hpp"

namespace zta::ui {

namespace {

using k = control_kind;
const control_layout controls[] = {
    {id_none, k::group, {4, 4, 92, 124}, " &Announcements", 0, ""},
    {id_list, k::list, {6, 14, 88, 112}, "", 0, "Double click to Play Announcement"},
    {id_play,
     k::glyph_button,
     {100, 4, 124, 16},
     "&Play Announcement",
     7,
     "Play Selected Announcement"},
    {id_stop, k::glyph_button, {100, 22, 124, 16}, "Stop", 8, "Stop playing announcement"},
    {id_load,
     k::glyph_button,
     {100, 40, 124, 16},
     "&Load",
     3,
     "Load Announcements on Disk, CD or Download"},
    {id_announcement_control,
     k::glyph_button,
     {100, 58, 124, 16},
     "A&nnouncement Control",
     10,
     "Schedule, Delete or Record Announcements"},
    {id_settings,
     k::glyph_button,
     {100, 76, 124, 16},
     "Se&ttings",
     4,
     "Setup Sound Devices, Volume and Run Mode"},
    {id_help, k::glyph_button, {100, 94, 124, 16}, "&Help", 1, "Display Manual"},
    {id_close,
     k::glyph_button,
     {100, 112, 124, 16},
     "&Close",
     5,
     "Close this box and continue to autoplay announcements"},
    {id_script, k::script_text, {4, 131, 220, 48}, "", 0, ""},
    {id_page, k::page_button, {4, 182, 220, 16}, "&Microphone Page", 6, ""},
    {id_icon, k::icon, {8, 202, 21, 20}, "", 0, ""},
};

}  // namespace

std::span<const control_layout> main_window_controls() {
  return controls;
}

QRect dialog_units_to_pixels(const QRect& dlu, int base_x, int base_y) {
  return {dlu.x() * base_x / 4, dlu.y() * base_y / 8, dlu.width() * base_x / 4,
          dlu.height() * base_y / 8};
}

}  // namespace zta::ui
