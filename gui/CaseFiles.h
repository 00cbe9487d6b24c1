// SPDX-License-Identifier: MIT
// The File menu's side of the case: New, Open, Open Recent, Save, Save As,
// Import and Clear Tyre Marks, and the question before the unsaved changes
// to a case file would be dropped. It asks the user through Prompts and
// changes the case only through its CaseDocument.
#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QMenu;

namespace yawmark {

class CaseDocument;
class Prompts;

namespace model {
struct Mark;
}

class CaseFiles : public QObject {
    Q_OBJECT
public:
    // `recent` is filled with the recent files, kept in step with the document.
    CaseFiles(CaseDocument& document, const Prompts& prompts, QMenu* recent, QObject* parent);

    // Before the case's unsaved changes would be dropped: true to go on. An
    // untitled case never asks: its changes live on in the recovery copy.
    bool maybeSave();

public slots:
    void newCase();
    // False where nothing was read or saved.
    bool openCase();
    bool openCaseFile(const QString& path);
    bool saveCase();
    bool saveCaseAs();
    // The marks of a CSV file chosen, in place of the case's; a file that
    // cannot be used is named with the line at fault, and the marks stay.
    bool importMarks();
    void clearMarks();

signals:
    // Something for the status bar: notes on a file read, the marks imported.
    void note(const QString& text);

private:
    QString askCaseFile(const QString& caption, bool save);
    void fillRecentMenu();
    void setMarks(const QString& what, std::vector<model::Mark> marks);
    bool saved(const QString& path);

    CaseDocument& document_;
    const Prompts& prompts_;
    QMenu* recent_;
};

} // namespace yawmark
