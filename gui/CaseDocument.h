// SPDX-License-Identifier: MIT
// The case being edited: what a case file holds (the nineteen box texts, the
// check boxes, the vehicle, box 5's form, the tyre marks, the boxes' spreads)
// and the file it
// belongs to, with the undo stack of every change the user made to it. No
// widgets: the window shows the case and reports each change the user makes
// as the case after it, named for Edit > Undo.
//
// Modified means the undo stack is away from its clean state: undoing back
// to what was saved makes the case unmodified again.
//
// While the case has unsaved changes, a recovery copy is kept (io::RecoveryStore)
// a few seconds after the last change, and removed once it is saved or its
// changes are dropped. The next start restores a copy left by a program that
// ended without saving.
//
// Open, save and the settings that follow files (recent files, the last
// folder) live here too.
#pragma once

#include "io/CaseFile.h"
#include "io/Recovery.h"

#include <QObject>
#include <QStringList>

#include <cstdint>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class QSettings;
class QTimer;
class QUndoStack;

namespace yawmark {

class CaseDocument : public QObject {
    Q_OBJECT
public:
    // How long after the last change the recovery copy is written, ms.
    static constexpr int kRecoveryDelayMs = 2000;
    static constexpr int kRecentFiles = 8;

    explicit CaseDocument(QObject* parent = nullptr);
    ~CaseDocument() override;

    const io::CaseFile& file() const { return file_; }
    // The file the case came from or was last saved to; empty while untitled.
    const QString& path() const { return path_; }
    bool isModified() const;
    QUndoStack* undoStack() const { return stack_; }

    // The user changed the case into `after`: one step of Undo named `text`.
    // Consecutive changes with the same mergeId (0 or more) are one step.
    // Nothing happens when `after` is the case as it is.
    void change(const QString& text, const io::CaseFile& after, int mergeId = -1);
    // Box i's spread set (or cleared, with none): one step of Undo.
    void setSpread(int box, const std::optional<model::Spread>& spread);
    // The seed of the case's Monte Carlo runs, kept while the case is open
    // (a new or opened case has none until a run chooses one).
    std::optional<std::uint64_t> seed() const { return seed_; }
    void setSeed(std::uint64_t seed) { seed_ = seed; }

    // New: the case replaced, untitled, unmodified, nothing to undo.
    void replace(const io::CaseFile& file, const QString& path = {});
    // Open: the file read whole (its notes returned), or the message and nothing changed.
    std::variant<std::vector<std::string>, std::string> open(const QString& path);
    // Save to `path`: only a case that can be opened again is saved; the message otherwise.
    std::optional<std::string> saveTo(const QString& path);

    // Recent files and the last folder are kept in `settings` (nothing is, without).
    void useSettings(QSettings* settings);
    QStringList recentFiles() const;
    QString lastFolder() const;

    // Recovery copies are kept in `folder` (none are, without one).
    void keepRecoveryIn(const QString& folder);
    // The copy written now, if the case has unsaved changes (the window is closing).
    void writeRecoveryNow();
    // The changes are dropped: the copy goes.
    void dropRecovery();
    // At start: the newest copy an ended program left, as the case, modified.
    // What happened, for the status bar (empty when there was no copy).
    QString restoreRecovery();

signals:
    // The case changed other than by the user's own hand (undo, redo, open,
    // new, a restore): the widgets show it.
    void shown(const io::CaseFile& file);
    // The tyre marks are others now (by any of the above, or a change).
    void marksChanged();
    // The boxes' spreads are others now (likewise).
    void spreadsChanged();
    // The scene (photo, placement, opacity, survey lines) is another now (likewise).
    void sceneChanged();
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    void recentFilesChanged();

private:
    friend class CaseChange;
    // Undo and redo put a state back.
    void show(const io::CaseFile& file);
    // marksChanged and spreadsChanged for what differs from the case before.
    void tellChanges(const io::CaseFile& before);
    void setPath(const QString& path);
    void rememberFile(const QString& path);
    void stateChanged();
    void writeRecovery();

    io::CaseFile file_;
    QString path_;
    std::optional<std::uint64_t> seed_;
    QUndoStack* stack_ = nullptr;
    QSettings* settings_ = nullptr;
    std::unique_ptr<io::RecoveryStore> recovery_;
    QTimer* recoveryTimer_ = nullptr;
};

} // namespace yawmark
