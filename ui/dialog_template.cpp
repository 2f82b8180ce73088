#include "ui/dialog_template.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "ui/ldb_edit.hpp"
#include "ui/manual_check_box.hpp"

namespace zta::ui {

QRect dialog_base::pixels(const QRect& units) const {
  return {units.x() * x / 4, units.y() * y / 8, units.width() * x / 4, units.height() * y / 8};
}

QSize dialog_base::pixels(const QSize& units) const {
  return {units.width() * x / 4, units.height() * y / 8};
}

dialog_base dialog_base_of(const QWidget& w) {
  const QFontMetrics fm = w.fontMetrics();
  const int avg =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(avg / 26 + 1) / 2, fm.height()};
}

void dialog_controls::build(QWidget& owner, QSize units, std::span<const dialog_item> items) {
  const dialog_base base = dialog_base_of(owner);
  owner.setFixedSize(base.pixels(units));
  std::map<QLabel*, int> buddies;
  for (const dialog_item& item : items) {
    const QString text = QString::fromLatin1(item.text);
    QWidget* w = nullptr;
    switch (item.kind) {
      case item_kind::group:
        w = new QGroupBox(text, &owner);
        break;
      case item_kind::label: {
        auto* label = new QLabel(text, &owner);
        if (item.buddy >= 0) buddies[label] = item.buddy;
        w = label;
        break;
      }
      case item_kind::push:
      case item_kind::default_push: {
        auto* b = new QPushButton(text, &owner);
        b->setAutoDefault(false);
        if (item.kind == item_kind::default_push) b->setDefault(true);
        w = b;
        break;
      }
      case item_kind::check:
        w = new QCheckBox(text, &owner);
        break;
      case item_kind::manual_check:
        w = new manual_check_box(text, &owner);
        break;
      case item_kind::radio:
        w = new QRadioButton(text, &owner);
        break;
      case item_kind::edit:
        w = new QLineEdit(&owner);
        break;
      case item_kind::combo:
        w = new QComboBox(&owner);
        break;
      case item_kind::list:
        w = new QListWidget(&owner);
        break;
      case item_kind::level:
        w = new LDBEdit(&owner);
        break;
    }
    w->setGeometry(base.pixels(item.units));
    if (item.id >= 0) {
      w->setObjectName(QString::number(item.id));
      by_id_[item.id] = w;
    }
  }
  for (auto [label, id] : buddies) label->setBuddy(at(id));
}

QWidget* dialog_controls::at(int id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? nullptr : it->second;
}

}  // namespace zta::ui
