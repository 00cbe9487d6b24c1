// SPDX-License-Identifier: MIT
#include "gui/CaseDocument.h"

#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QUndoStack>

namespace yawmark {

// One step of Undo: the case before and after. Redo, the first time, finds
// the change already made by the user's hand.
class CaseChange : public QUndoCommand {
public:
    CaseChange(CaseDocument& doc, const QString& text, io::CaseFile before, io::CaseFile after,
               int mergeId)
        : QUndoCommand(text), doc_(doc), before_(std::move(before)), after_(std::move(after)),
          id_(mergeId) {}

    void undo() override { doc_.show(before_); }
    void redo() override {
        if (!std::exchange(done_, true)) return;
        doc_.show(after_);
    }
    int id() const override { return id_; }
    bool mergeWith(const QUndoCommand* other) override {
        after_ = static_cast<const CaseChange*>(other)->after_;
        // Typing that came back to where it began is no step at all.
        setObsolete(after_ == before_);
        return true;
    }

private:
    CaseDocument& doc_;
    io::CaseFile before_, after_;
    int id_;
    bool done_ = false;
};

CaseDocument::CaseDocument(QObject* parent)
    : QObject(parent), file_(io::startupCaseFile()), stack_(new QUndoStack(this)),
      recoveryTimer_(new QTimer(this)) {
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(kRecoveryDelayMs);
    connect(recoveryTimer_, &QTimer::timeout, this, &CaseDocument::writeRecovery);
    connect(stack_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

CaseDocument::~CaseDocument() = default;

bool CaseDocument::isModified() const {
    return !stack_->isClean();
}

void CaseDocument::change(const QString& text, const io::CaseFile& after, int mergeId) {
    if (after == file_) return;
    auto* command = new CaseChange(*this, text, file_, after, mergeId);
    const io::CaseFile before = std::exchange(file_, after);
    stack_->push(command);
    stateChanged();
    tellChanges(before);
}

void CaseDocument::setSpread(int box, const std::optional<model::Spread>& spread) {
    io::CaseFile after = file_;
    after.spreads.at(box) = spread;
    const std::string_view caption = model::boxInfo(box, file_.form).caption;
    change((spread ? QStringLiteral("Set Spread of %1") : QStringLiteral("Clear Spread of %1"))
               .arg(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()))),
           after);
}

void CaseDocument::tellChanges(const io::CaseFile& before) {
    if (before.marks != file_.marks) emit marksChanged();
    if (before.spreads != file_.spreads) emit spreadsChanged();
    if (before.scene != file_.scene) emit sceneChanged();
}

void CaseDocument::show(const io::CaseFile& file) {
    const io::CaseFile before = std::exchange(file_, file);
    emit shown(file_);
    stateChanged();
    tellChanges(before);
}

void CaseDocument::replace(const io::CaseFile& file, const QString& path) {
    seed_.reset();
    stack_->clear();
    // clear() leaves an empty stack as it was: a restored case stays unclean without this.
    stack_->setClean();
    show(file);
    setPath(path);
    dropRecovery();
}

std::variant<std::vector<std::string>, std::string> CaseDocument::open(const QString& path) {
    // All or nothing: a file that cannot be used leaves the case as it was.
    auto read = io::loadCase(path);
    if (auto* problem = std::get_if<std::string>(&read)) return *problem;
    auto& r = std::get<io::CaseRead>(read);
    replace(r.file, path);
    rememberFile(path);
    return std::move(r.notes);
}

std::optional<std::string> CaseDocument::saveTo(const QString& path) {
    // Only a case that can be opened again is saved: a box Draw would refuse
    // is named, and the changes stay unsaved until it is put right.
    const std::string text = io::caseText(file_);
    const auto check = io::readCaseText(text);
    if (const auto* problem = std::get_if<std::string>(&check)) return "Not saved: " + *problem;
    // A failed save keeps the old file and the unsaved changes.
    if (auto problem = io::saveCase(path, file_)) return problem;
    stack_->setClean();
    setPath(path);
    rememberFile(path);
    dropRecovery();
    return std::nullopt;
}

void CaseDocument::setPath(const QString& path) {
    path_ = path;
    emit pathChanged(path_);
}

void CaseDocument::useSettings(QSettings* settings) {
    settings_ = settings;
    emit recentFilesChanged();
}

QStringList CaseDocument::recentFiles() const {
    return settings_ ? settings_->value(QStringLiteral("recentFiles")).toStringList()
                     : QStringList();
}

QString CaseDocument::lastFolder() const {
    return settings_ ? settings_->value(QStringLiteral("lastFolder")).toString() : QString();
}

void CaseDocument::rememberFile(const QString& path) {
    if (!settings_) return;
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList recent = recentFiles();
    recent.removeAll(file);
    recent.prepend(file);
    settings_->setValue(QStringLiteral("recentFiles"), recent.mid(0, kRecentFiles));
    settings_->setValue(QStringLiteral("lastFolder"), QFileInfo(file).absolutePath());
    emit recentFilesChanged();
}

void CaseDocument::keepRecoveryIn(const QString& folder) {
    recovery_ = folder.isEmpty() ? nullptr : std::make_unique<io::RecoveryStore>(folder);
}

void CaseDocument::stateChanged() {
    // The copy follows the last change by a few seconds, merged keystrokes
    // too: a burst of typing writes it once.
    if (recovery_) recoveryTimer_->start();
}

void CaseDocument::writeRecovery() {
    if (!recovery_) return;
    if (!isModified()) return recovery_->remove();
    // A copy that cannot be written leaves the case as it is; the next change tries again.
    recovery_->write({file_, path_});
}

void CaseDocument::writeRecoveryNow() {
    recoveryTimer_->stop();
    writeRecovery();
}

void CaseDocument::dropRecovery() {
    recoveryTimer_->stop();
    if (recovery_) recovery_->remove();
}

QString CaseDocument::restoreRecovery() {
    if (!recovery_) return {};
    io::RecoveryStore::Taken taken = recovery_->takeNewest();
    if (!taken.damaged.isEmpty())
        return QStringLiteral("The unsaved case %1 could not be read (%2); it was set aside as %3.")
            .arg(taken.damaged, QString::fromStdString(taken.problem),
                 taken.setAside.isEmpty() ? QStringLiteral("nothing") : taken.setAside);
    if (!taken.unsaved) return {};
    replace(taken.unsaved->file, taken.unsaved->path);
    // Restored, not saved: modified, and kept as this program's copy until it is.
    stack_->resetClean();
    writeRecoveryNow();
    return QStringLiteral("Restored the unsaved case from your last session.");
}

} // namespace yawmark
