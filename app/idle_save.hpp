#pragma once
#include <QObject>

#include "app/app_context.hpp"

namespace zta {

// Writes the settings file whenever the event loop (or a nested one) is about to wait and
// something changed, for as long as `owner` lives; not while a job is filling a clip.
void save_when_idle(QObject* owner, app_context& ctx);

}  // namespace zta
