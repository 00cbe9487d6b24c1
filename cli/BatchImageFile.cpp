// SPDX-License-Identifier: MIT
#include "cli/BatchImageFile.h"

#include <QFileInfo>
#include <QImageWriter>

namespace yawmark {

BatchImageFile::BatchImageFile(const std::string& path)
    : path_(path), file_(QString::fromStdString(path)) {}

std::optional<std::string> BatchImageFile::open() {
    if (QFileInfo(file_.fileName()).isDir()) return message(QStringLiteral("it is a folder"));
    if (!file_.open(QIODevice::WriteOnly)) return message(file_.errorString());
    return std::nullopt;
}

std::optional<std::string> BatchImageFile::write(const QImage& image) {
    QImageWriter writer(&file_, "png");
    if (!writer.write(image)) {
        file_.cancelWriting();
        return message(writer.errorString());
    }
    if (!file_.commit()) return message(file_.errorString());
    return std::nullopt;
}

std::string BatchImageFile::message(const QString& reason) const {
    return "--png: cannot write \"" + path_ + "\": " + reason.toStdString() + ".";
}

} // namespace yawmark
