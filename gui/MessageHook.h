// SPDX-License-Identifier: MIT
// How the panel and its dialogs tell the user something: one message with an
// OK button. Tests replace the hook so that no box waits for a click.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace yawmark {

// owner: the window the message belongs to (may be null); title: the box's
// title, empty for the program's name; text: the message.
using MessageHook = std::function<void(QWidget* owner, const QString& title, const QString& text)>;

// The real message: a box over the owner's window with the title (the
// program's name, "Yawmark", when it is empty), the text and an OK button.
void showMessageBox(QWidget* owner, const QString& title, const QString& text);

} // namespace yawmark
