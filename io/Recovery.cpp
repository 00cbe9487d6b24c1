// SPDX-License-Identifier: MIT
#include "io/Recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QUuid>

namespace yawmark::io {

namespace {

const QString kUnsavedField = QStringLiteral("unsavedFile");

QString lockPathOf(const QString& copy) {
    return copy.chopped(static_cast<qsizetype>(kCaseSuffix.size())) + QStringLiteral(".lock");
}

} // namespace

std::string unsavedText(const Unsaved& unsaved) {
    QJsonObject root = caseObject(unsaved.file);
    root.insert(kUnsavedField, unsaved.path);
    return QJsonDocument(root).toJson(QJsonDocument::Compact).toStdString();
}

std::variant<Unsaved, std::string> readUnsavedText(std::string_view text) {
    auto parsed = parseObject(text);
    if (auto* e = std::get_if<std::string>(&parsed)) return *e;
    QJsonObject root = std::get<QJsonObject>(parsed);
    const QJsonValue path = root.take(kUnsavedField);
    if (!path.isString()) return "field \"" + kUnsavedField.toStdString() + "\" is missing.";
    auto read = readCaseObject(root, Boxes::AsTyped);
    if (auto* e = std::get_if<std::string>(&read)) return *e;
    return Unsaved{std::get<CaseRead>(read).file, path.toString()};
}

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {
    copy_ = QDir(folder_).absoluteFilePath(
        QStringLiteral("unsaved-%1-%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QUuid::createUuid().toString(QUuid::Id128).left(8)) +
        QString::fromLatin1(kCaseSuffix.data(), static_cast<qsizetype>(kCaseSuffix.size())));
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(lockPathOf(copy_));
    // A lock left by an ended program that had this process id is stale: taken over.
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
}

RecoveryStore::~RecoveryStore() = default;

std::optional<std::string> RecoveryStore::write(const Unsaved& unsaved) {
    QDir().mkpath(folder_);
    return saveText(copyPath(), unsavedText(unsaved));
}

void RecoveryStore::remove() {
    QFile::remove(copyPath());
}

RecoveryStore::Taken RecoveryStore::takeNewest() {
    Taken taken;
    const QString pattern =
        QStringLiteral("unsaved-*") +
        QString::fromLatin1(kCaseSuffix.data(), static_cast<qsizetype>(kCaseSuffix.size()));
    const QFileInfoList copies =
        QDir(folder_).entryInfoList({pattern}, QDir::Files, QDir::Time); // newest first
    for (const QFileInfo& copy : copies) {
        const QString path = copy.absoluteFilePath();
        // Held (this store's own copy too): its program still runs, and the copy is its own.
        QLockFile lock(lockPathOf(path));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;
        auto bytes = readSmallFile(path, kMaxMarksBytes * 2);
        std::variant<Unsaved, std::string> read = std::string();
        if (auto* e = std::get_if<std::string>(&bytes))
            read = *e;
        else
            read = readUnsavedText(std::string_view(std::get<QByteArray>(bytes).constData(),
                                                    std::get<QByteArray>(bytes).size()));
        if (auto* unsaved = std::get_if<Unsaved>(&read)) {
            taken.unsaved = std::move(*unsaved);
            QFile::remove(path);
        } else {
            taken.damaged = path;
            taken.problem = std::get<std::string>(read);
            taken.setAside =
                path + QStringLiteral(".damaged-") +
                QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
            if (!QFile::rename(path, taken.setAside)) {
                QFile::remove(path);
                taken.setAside.clear();
            }
        }
        lock.unlock();
        return taken;
    }
    return taken;
}

} // namespace yawmark::io
