// SPDX-License-Identifier: MIT
// The GUI application a batch image needs for its fonts. The batch runner
// never shows a window, so it draws on the offscreen platform and needs no
// display; an application that already exists (a test's) is used as it is.
// While it lives, Qt's own notes and warnings stay off standard error, so
// that a failing run says one line there and a good one nothing.
#pragma once

#include <QGuiApplication>

#include <memory>
#include <string>

namespace yawmark {

class BatchGui {
public:
    // Starts an offscreen GUI application unless one is running already.
    BatchGui();
    ~BatchGui();
    BatchGui(const BatchGui&) = delete;
    BatchGui& operator=(const BatchGui&) = delete;

    // Whether text can be drawn; otherwise what stands in the way.
    bool ready() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

private:
    int argc_ = 3;
    char* argv_[4];
    QtMessageHandler previousHandler_;
    std::unique_ptr<QGuiApplication> own_;
    std::string problem_;
};

} // namespace yawmark
