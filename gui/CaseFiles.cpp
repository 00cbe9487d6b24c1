// SPDX-License-Identifier: MIT
#include "gui/CaseFiles.h"

#include "gui/AppInfo.h"
#include "gui/CaseDocument.h"
#include "gui/Prompts.h"
#include "model/Marks.h"

#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace yawmark {

namespace {

const QString kCaseFilter = QStringLiteral("Yawmark cases (*.yawmark)");
const QString kMarksFilter = QStringLiteral("Tyre marks (*.csv);;All files (*)");

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CaseFiles::CaseFiles(CaseDocument& document, const Prompts& prompts, QMenu* recent, QObject* parent)
    : QObject(parent), document_(document), prompts_(prompts), recent_(recent) {
    connect(&document_, &CaseDocument::recentFilesChanged, this, &CaseFiles::fillRecentMenu);
    fillRecentMenu();
}

void CaseFiles::fillRecentMenu() {
    recent_->clear();
    const QStringList recent = document_.recentFiles();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action =
            recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (maybeSave()) openCaseFile(path);
        });
    }
    recent_->setEnabled(!recent.isEmpty());
}

QString CaseFiles::askCaseFile(const QString& caption, bool save) {
    const QString folder = document_.lastFolder();
    const QString name = document_.path().isEmpty() ? QStringLiteral("skid.yawmark")
                                                    : QFileInfo(document_.path()).fileName();
    return prompts_.askFile(
        caption, kCaseFilter, save,
        (folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                          : folder) +
            QLatin1Char('/') + (save ? name : QString()));
}

bool CaseFiles::maybeSave() {
    if (document_.path().isEmpty() || !document_.isModified()) return true;
    const auto answer = prompts_.askSaveDiscardCancel(
        QStringLiteral("Save the changes to %1?").arg(QFileInfo(document_.path()).fileName()));
    if (answer == QMessageBox::Save) return saveCase();
    if (answer == QMessageBox::Discard) document_.dropRecovery();
    return answer == QMessageBox::Discard;
}

void CaseFiles::newCase() {
    if (maybeSave()) document_.replace(io::startupCaseFile());
}

bool CaseFiles::openCase() {
    if (!maybeSave()) return false;
    const QString path = askCaseFile(QStringLiteral("Open Case"), false);
    return !path.isEmpty() && openCaseFile(path);
}

bool CaseFiles::openCaseFile(const QString& path) {
    auto opened = document_.open(path);
    if (const auto* problem = std::get_if<std::string>(&opened)) {
        prompts_.message(appTitle(), qs(*problem));
        return false;
    }
    QStringList notes;
    for (const std::string& n : std::get<std::vector<std::string>>(opened))
        notes << qs(n);
    emit note(notes.join(QLatin1Char(' ')));
    return true;
}

bool CaseFiles::saved(const QString& path) {
    if (auto problem = document_.saveTo(path)) {
        prompts_.message(appTitle(), qs(*problem));
        return false;
    }
    return true;
}

bool CaseFiles::saveCase() {
    return document_.path().isEmpty() ? saveCaseAs() : saved(document_.path());
}

bool CaseFiles::saveCaseAs() {
    QString path = askCaseFile(QStringLiteral("Save Case As"), true);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QString::fromLatin1(io::kCaseSuffix.data(), io::kCaseSuffix.size());
    return saved(path);
}

void CaseFiles::setMarks(const QString& what, std::vector<model::Mark> marks) {
    io::CaseFile file = document_.file();
    file.marks = std::move(marks);
    document_.change(what, file);
}

bool CaseFiles::importMarks() {
    const QString path = prompts_.askFile(QStringLiteral("Import Tyre Marks"), kMarksFilter, false,
                                          document_.lastFolder());
    if (path.isEmpty()) return false;
    const auto bytes = io::readSmallFile(path, io::kMaxMarksBytes);
    if (const auto* problem = std::get_if<std::string>(&bytes)) {
        prompts_.message(appTitle(), qs(*problem));
        return false;
    }
    const QByteArray& b = std::get<QByteArray>(bytes);
    auto read =
        model::parseMarks(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
    if (const auto* problem = std::get_if<std::string>(&read)) {
        prompts_.message(appTitle(), path + QStringLiteral(": ") + qs(*problem));
        return false;
    }
    auto& marks = std::get<std::vector<model::Mark>>(read);
    std::size_t points = 0;
    for (const model::Mark& m : marks)
        points += m.points.size();
    emit note(QStringLiteral("%1 tyre marks, %2 points, from %3.")
                  .arg(marks.size())
                  .arg(points)
                  .arg(QFileInfo(path).fileName()));
    setMarks(QStringLiteral("Import Tyre Marks"), std::move(marks));
    return true;
}

void CaseFiles::clearMarks() {
    setMarks(QStringLiteral("Clear Tyre Marks"), {});
}

} // namespace yawmark
