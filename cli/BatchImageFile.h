// SPDX-License-Identifier: MIT
// The PNG file a batch image goes to. It is opened before the run, so that a
// file that cannot be written is reported before any work is done, and it
// replaces the old file only once the whole image is written.
#pragma once

#include <QImage>
#include <QSaveFile>

#include <optional>
#include <string>

namespace yawmark {

class BatchImageFile {
public:
    // `option` names the option in messages ("--png", "--svg").
    explicit BatchImageFile(const std::string& path, std::string option = "--png");

    // Opens the file for writing; the message if it cannot be.
    std::optional<std::string> open();
    // Writes the image as PNG and puts the file in place; the message if that fails.
    std::optional<std::string> write(const QImage& image);
    // What a drawing is written to before commit().
    QIODevice& device() { return file_; }
    // Puts the file written through device() in place, if `drawn` (else drops
    // it); the message if that fails.
    std::optional<std::string> commit(bool drawn);

private:
    std::string message(const QString& reason) const;

    std::string path_, option_;
    QSaveFile file_;
};

} // namespace yawmark
