// SPDX-License-Identifier: MIT
#include "cli/BatchImageFile.h"

#include "io/CaseFile.h"
#include "model/Text.h"

#include <QImageWriter>

namespace yawmark {

BatchImageFile::BatchImageFile(const std::string& path, std::string option)
    : path_(path), option_(std::move(option)), file_(QString::fromStdString(path)) {}

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

std::optional<std::string> BatchImageFile::commit(bool drawn) {
    if (!drawn || file_.error() != QFileDevice::NoError) {
        const QString reason = drawn ? file_.errorString() : QStringLiteral("the drawing failed");
        file_.cancelWriting();
        return message(reason);
    }
    if (!file_.commit()) return message(file_.errorString());
    return std::nullopt;
}

std::string BatchImageFile::message(const QString& reason) const {
    return option_ + ": cannot write \"" + model::printable(path_) + "\": " + reason.toStdString() + ".";
}

} // namespace yawmark
