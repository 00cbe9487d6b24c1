// How the panel and its dialogs tell the user something: one message with an
// OK button. Tests replace the hook so that no box waits for a click.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace yawmark {

// owner: the window the message belongs to (may be null); text: the message.
using MessageHook = std::function<void(QWidget* owner, const QString& text)>;

// The real message: a box over the owner's window, titled with the
// program's name ("Yawmark"), with the text and an OK button.
void showMessageBox(QWidget* owner, const QString& text);

} // namespace yawmark
