// SPDX-License-Identifier: MIT
#include "cli/BatchGui.h"

#include <cstdio>

namespace yawmark {

namespace {

char kProgram[] = "yawmark-batch";
char kPlatformOption[] = "-platform";
char kOffscreen[] = "offscreen";

QtMessageHandler forwardHandler = nullptr;

// Drops Qt's debug output, notes and warnings; passes on what is critical.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtCriticalMsg && type != QtFatalMsg) return;
    if (forwardHandler)
        forwardHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

BatchGui::BatchGui()
    : argv_{kProgram, kPlatformOption, kOffscreen, nullptr},
      previousHandler_(qInstallMessageHandler(quietHandler)) {
    forwardHandler = previousHandler_;
    if (QCoreApplication::instance()) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            problem_ = "text cannot be drawn without a GUI application.";
        return;
    }
    // The command line's platform wins over QT_QPA_PLATFORM: a platform that
    // wants a display would end the program where there is none.
    own_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

BatchGui::~BatchGui() {
    own_.reset();
    qInstallMessageHandler(previousHandler_);
}

} // namespace yawmark
