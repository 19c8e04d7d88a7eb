#pragma once

#include <QString>
#include <functional>

#include "common/core/Progress.h"

class QWidget;

namespace talvor {

// Runs long work on the user-interface thread: the wait cursor at once and, once the work has
// lasted half a second, a modal progress dialog titled `title` with a "取消" button, fed by the
// work's Progress::advance() calls. Returns false when the user cancelled (the work's
// transaction has rolled back on the way out); any other error passes on to the caller.
bool runWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(Progress&)>& work);

}  // namespace talvor
