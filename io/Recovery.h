// SPDX-License-Identifier: MIT
// Recovery copies: a case with unsaved changes, kept in a folder of its own so
// that closing the window or a crash loses nothing.
//
// Each running program keeps at most one copy, `unsaved-PID-TAG.yawmark`, and
// holds `unsaved-PID-TAG.lock` (a QLockFile) for as long as it runs (TAG sets
// apart the stores of one process, and a process id used again). A copy whose
// lock nobody holds belonged to a program that has ended, closed or killed:
// the next start takes the newest of those. Two programs running at once
// never write the same copy, and neither takes the other's.
//
// A copy is a case file with one more field, "unsavedFile": the file the case
// came from, empty for an untitled one. Its boxes are kept as typed, even
// those Draw would refuse: a half-typed case is still the user's work.
#pragma once

#include "io/CaseFile.h"

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace yawmark::io {

struct Unsaved {
    CaseFile file;
    QString path; // the file it belongs to; empty: untitled
};

std::string unsavedText(const Unsaved& unsaved);
std::variant<Unsaved, std::string> readUnsavedText(std::string_view text);

class RecoveryStore {
public:
    // Copies in `folder` (made when first needed). This store's copy is
    // named after the process id; its lock is taken at once.
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const QString& folder() const { return folder_; }
    // This program's copy.
    const QString& copyPath() const { return copy_; }
    // Writes this program's copy atomically; why not, naming the file.
    std::optional<std::string> write(const Unsaved& unsaved);
    // This program's copy gone (the case was saved, or its changes dropped).
    void remove();

    struct Taken {
        std::optional<Unsaved> unsaved; // the newest copy no running program holds
        QString damaged;                // or the copy that could not be read...
        QString setAside;               // ...and where it was moved
        std::string problem;            // why it could not be read
    };
    // The newest copy of a program that has ended, out of the folder (a
    // damaged one is renamed, not deleted); the others are left as they are.
    Taken takeNewest();

private:
    QString folder_;
    QString copy_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace yawmark::io
