#include "panel/MessageHook.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace yawmark {

void showMessageBox(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner ? owner->window() : nullptr, QApplication::applicationName(), text);
}

} // namespace yawmark
