#include "ui/resource_paths.hpp"

// Q_INIT_RESOURCE must be used outside any namespace. Referencing it from here also keeps the
// linker from dropping the resources of this static library.
static void zta_init_qrc() {
  Q_INIT_RESOURCE(resources);
}

namespace zta::ui {

void ensure_resources() {
  static const bool done = (zta_init_qrc(), true);
  (void)done;
}

QString bitmap_path(int number) {
  ensure_resources();
  if (number == logo_bitmap) return QStringLiteral(":/zta/logo9.png");
  return QStringLiteral(":/zta/glyphs/glyph%1.png").arg(number);
}

QIcon app_icon() {
  ensure_resources();
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addFile(QStringLiteral(":/zta/icons/app-%1.png").arg(size));
  return icon;
}

}  // namespace zta::ui
