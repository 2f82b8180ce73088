#include "app/idle_save.hpp"

#include <QAbstractEventDispatcher>
#include <QThread>

namespace zta {

void save_when_idle(QObject* owner, app_context& ctx) {
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(owner->thread());
  if (d == nullptr) return;
  QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, owner, [&ctx] {
    if (ctx.dirty()) ctx.save();
  });
}

}  // namespace zta
