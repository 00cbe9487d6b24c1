// SPDX-License-Identifier: MIT
#include "gui/MessageHook.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace yawmark {

void showMessageBox(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox::warning(owner ? owner->window() : nullptr,
                         title.isEmpty() ? QApplication::applicationName() : title, text);
}

} // namespace yawmark
