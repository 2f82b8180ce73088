#include "app/idle_save.hpp"

#include <QAbstractEventDispatcher>
#include <QThread>

#include "announcements/clip_files.hpp"

namespace zta {

void save_when_idle(QObject* owner, app_context& ctx) {
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(owner->thread());
  if (d == nullptr) return;
  QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, owner, [&ctx] {
    // Inside a load's or an import's loop the save (and its clip clean-up) waits for the job to
    // let go of its clip; the changed mark stays, so the first idle moment after it saves.
    if (ctx.dirty() && !clips_being_filled(ctx.st)) ctx.save();
  });
}

}  // namespace zta
