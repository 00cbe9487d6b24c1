// The real message: a box with the text, an OK button and the program's title.
#pragma once

#include "gui/SysInfoMessage.h"

#include <QPointer>
#include <QWidget>

namespace yawmark {

class SysInfoMessageBox : public SysInfoMessage {
public:
    // parent: the window the box belongs to (the About box), may be null.
    explicit SysInfoMessageBox(QWidget* parent = nullptr) : parent_(parent) {}

    void showUnavailable() override;

private:
    QPointer<QWidget> parent_;
};

} // namespace yawmark
