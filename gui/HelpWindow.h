// SPDX-License-Identifier: MIT
// Help > Yawmark Guide (F1): the guide's pages, built into the program, in a
// browser window of their own. The page on the boxes is written from the box
// table, so it always says what the panel and its refusals say. The window
// opens centred on the main window and wholly on its screen; Escape closes it.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace yawmark {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }
    // Shows a page of the guide: "index.html", "boxes.html", ...
    void showPage(const QString& page);

    // The page on the boxes, as HTML.
    static QString boxesPage();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
    bool placed_ = false;
};

} // namespace yawmark
