// SPDX-License-Identifier: MIT
#include "gui/AppArt.h"

#include <QString>

// The resources live in a static library; nothing references them by symbol,
// so the linker would drop them unless they are registered from code that is
// surely linked. Q_INIT_RESOURCE has to be used outside any namespace.
static void registerYawmarkResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace yawmark {

namespace {
QString iconPath(int size) {
    return QStringLiteral(":/yawmark/icons/%1x%1/yawmark.png").arg(size);
}
} // namespace

QIcon programIcon() {
    registerYawmarkResources();
    QIcon icon;
    for (int size : kIconSizes)
        icon.addFile(iconPath(size), QSize(size, size));
    return icon;
}

QPixmap programIconPixmap(int size) {
    registerYawmarkResources();
    return QPixmap(iconPath(size));
}

QPixmap splashPicture() {
    registerYawmarkResources();
    return QPixmap(QStringLiteral(":/yawmark/splash.png"));
}

} // namespace yawmark
