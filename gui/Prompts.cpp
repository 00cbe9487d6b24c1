// SPDX-License-Identifier: MIT
#include "gui/Prompts.h"

#include "gui/AppInfo.h"

#include <QFileDialog>
#include <QInputDialog>

#include <algorithm>

namespace yawmark {

void Prompts::message(const QString& title, const QString& text) const {
    if (messageHook_)
        messageHook_(owner_, title, text);
    else
        showMessageBox(owner_, title, text);
}

QString Prompts::askFile(const QString& caption, const QString& filter, bool save,
                         const QString& suggestion, QString* chosenFilter) const {
    if (fileHook_) {
        if (chosenFilter) *chosenFilter = filter.section(QStringLiteral(";;"), 0, 0);
        return fileHook_(caption, filter, save);
    }
    return save ? QFileDialog::getSaveFileName(owner_, caption, suggestion, filter, chosenFilter)
                : QFileDialog::getOpenFileName(owner_, caption, suggestion, filter, chosenFilter);
}

QMessageBox::StandardButton Prompts::askSaveDiscardCancel(const QString& text) const {
    if (questionHook_) return questionHook_(text);
    return QMessageBox::question(owner_, appTitle(), text,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
}

QString Prompts::askText(const QString& title, const QString& label,
                         const QString& suggestion) const {
    if (textHook_) return textHook_(label, suggestion);
    return QInputDialog::getText(owner_, title, label, QLineEdit::Normal, suggestion);
}

QString Prompts::askItem(const QString& title, const QString& label, const QStringList& items,
                         const QString& current) const {
    if (textHook_) return textHook_(label, current);
    bool ok = false;
    const QString item = QInputDialog::getItem(owner_, title, label, items,
                                               std::max(0, int(items.indexOf(current))), false, &ok);
    return ok ? item : QString();
}

} // namespace yawmark
