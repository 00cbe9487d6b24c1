// SPDX-License-Identifier: MIT
#include "gui/WorkerProgress.h"

#include <QMetaObject>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

namespace yawmark {

void WorkerProgress::start() {
    cancel_ = false;
    shown_ = 0;
    bar_->setValue(0);
}

bool WorkerProgress::report(double share) {
    const int percent =
        std::isfinite(share) ? static_cast<int>(std::clamp(share, 0.0, 1.0) * 100) : 0;
    if (shown_.exchange(percent) != percent)
        QMetaObject::invokeMethod(
            bar_, [bar = bar_, percent] { bar->setValue(percent); }, Qt::QueuedConnection);
    return !cancel_;
}

} // namespace yawmark
