// SPDX-License-Identifier: MIT
// How the window asks and tells the user: a message, a file to open or save,
// Save / Discard / Cancel, a line of text. Each goes to a dialog over the
// window unless a hook stands in for it (tests answer without a click).
#pragma once

#include "gui/MessageHook.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace yawmark {

class Prompts {
public:
    // caption, name filter, whether to save, the suggested path; empty cancels.
    using FileHook =
        std::function<QString(const QString& caption, const QString& filter, bool save)>;
    using QuestionHook = std::function<QMessageBox::StandardButton(const QString& text)>;
    // label, suggestion; empty cancels.
    using TextHook = std::function<QString(const QString& label, const QString& suggestion)>;

    explicit Prompts(QWidget* owner) : owner_(owner) {}

    void message(const QString& title, const QString& text) const;
    // With `chosenFilter`, the dialog starts on it and leaves there the one picked
    // (the first of `filter`, under a hook).
    QString askFile(const QString& caption, const QString& filter, bool save,
                    const QString& suggestion, QString* chosenFilter = nullptr) const;
    QMessageBox::StandardButton askSaveDiscardCancel(const QString& text) const;
    QString askText(const QString& title, const QString& label, const QString& suggestion) const;
    // One of `items`, `current` first offered; empty cancels. The text hook answers it too.
    QString askItem(const QString& title, const QString& label, const QStringList& items,
                    const QString& current) const;

    const MessageHook& messageHook() const { return messageHook_; }
    void setMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    void setFileHook(FileHook hook) { fileHook_ = std::move(hook); }
    void setQuestionHook(QuestionHook hook) { questionHook_ = std::move(hook); }
    void setTextHook(TextHook hook) { textHook_ = std::move(hook); }

private:
    QWidget* owner_;
    MessageHook messageHook_;
    FileHook fileHook_;
    QuestionHook questionHook_;
    TextHook textHook_;
};

} // namespace yawmark
