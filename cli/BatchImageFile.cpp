// SPDX-License-Identifier: MIT
#include "cli/BatchImageFile.h"

#include "io/CaseFile.h"
#include "model/Text.h"

#include <QImageWriter>

namespace yawmark {

BatchImageFile::BatchImageFile(const std::string& path)
    : path_(path), file_(QString::fromStdString(path)) {}

std::optional<std::string> BatchImageFile::open() {
    if (auto problem = io::outputProblem(file_.fileName()))
        return message(QString::fromStdString(*problem));
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
    return "--png: cannot write \"" + model::printable(path_) + "\": " + reason.toStdString() + ".";
}

} // namespace yawmark
