#pragma once
// Where the compiled-in pictures live (resources/resources.qrc, prefix ":/zta").
#include <QIcon>
#include <QString>

namespace zta::ui {

inline constexpr int logo_bitmap = 9;

// Registers the compiled-in resources; safe to call any number of times.
void ensure_resources();
// ":/zta/glyphs/glyphN.png" for the glyph bitmaps 1-8 and 10, ":/zta/logo9.png" for 9.
QString bitmap_path(int number);
// The program's icon (16, 32 and 48 pixel images: the tray takes 16, windows the larger).
QIcon app_icon();

}  // namespace zta::ui
