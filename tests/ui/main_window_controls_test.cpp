// The main window's control table: what must hold for any layout of it, rather than a copy of it.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "ui/main_window_controls.hpp"

namespace zta::ui {
namespace {

// Every identifier of the enum; the group frame has none of its own.
const std::set<int> enum_ids = {id_announcement_control,
                                id_play,
                                id_page,
                                id_stop,
                                id_list,
                                id_script,
                                id_close,
                                id_load,
                                id_settings,
                                id_icon,
                                id_help};

TEST(MainWindowControls, IdsAreUniqueAndAreTheEnumsOwn) {
  std::map<int, int> seen;
  for (const control_layout& c : main_window_controls()) ++seen[c.id];
  std::set<int> ids;
  for (const auto& [id, count] : seen) {
    EXPECT_EQ(count, 1) << "id " << id << " appears " << count << " times";
    if (id != id_none) ids.insert(id);
  }
  EXPECT_EQ(ids, enum_ids);
}

TEST(MainWindowControls, EveryControlLiesInsideTheWindowAndNoneOverlap) {
  const QRect window(QPoint(0, 0), main_window_dialog_units);
  const auto controls = main_window_controls();
  for (const control_layout& c : controls) {
    EXPECT_FALSE(c.dialog_units.isEmpty()) << c.id;
    EXPECT_TRUE(window.contains(c.dialog_units)) << c.id;
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const control_layout& a = controls[i];
      const control_layout& b = controls[j];
      // A group frame holds the controls inside it; anything else that meets it overlaps.
      if (a.kind == control_kind::group && a.dialog_units.contains(b.dialog_units)) continue;
      if (b.kind == control_kind::group && b.dialog_units.contains(a.dialog_units)) continue;
      EXPECT_FALSE(a.dialog_units.intersects(b.dialog_units)) << a.id << " and " << b.id;
    }
  }
}

TEST(MainWindowControls, ButtonsHaveTextGlyphAndDistinctMnemonics) {
  std::map<char, int> mnemonic_of;
  for (const control_layout& c : main_window_controls()) {
    const std::string text = c.text;
    if (c.kind == control_kind::glyph_button || c.kind == control_kind::page_button) {
      EXPECT_FALSE(text.empty()) << c.id;
      EXPECT_GT(c.bitmap, 0) << c.id;
    }
    const std::size_t amp = text.find('&');
    if (amp == std::string::npos || amp + 1 >= text.size()) continue;
    const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
    const auto [at, fresh] = mnemonic_of.emplace(key, c.id);
    EXPECT_TRUE(fresh) << "Alt+" << key << " on " << at->second << " and " << c.id;
  }
  EXPECT_FALSE(mnemonic_of.empty());
}

TEST(MainWindowControls, DialogUnitsScaleByTheFontsAverageCharacter) {
  EXPECT_EQ(dialog_units_to_pixels(QRect(100, 4, 124, 16)), QRect(150, 6, 186, 26));
  EXPECT_EQ(dialog_units_to_pixels(QRect(4, 8, 8, 16), 8, 16), QRect(8, 16, 16, 32));
}

}  // namespace
}  // namespace zta::ui
