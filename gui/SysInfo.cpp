// SPDX-License-Identifier: MIT
#include "gui/SysInfo.h"

#include "gui/AppInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace yawmark {

namespace {
const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolValue = QStringLiteral("PATH");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kFolderValue = QStringLiteral("MSINFO");

// What the stand-in offers as the tool, in order of preference.
const QStringList kStandInPrograms = {QStringLiteral("hardinfo2"),
                                      QStringLiteral("hardinfo"),
                                      QStringLiteral("kinfocenter"),
                                      QStringLiteral("lshw-gtk"),
                                      QStringLiteral("gnome-system-monitor"),
                                      QStringLiteral("mate-system-monitor")};
} // namespace

QString sysInfoUnavailableText() {
    return QStringLiteral("System Information Is Unavailable At This Time");
}

QString msinfoFileIn(const QString& folder) {
    const QChar sep = QDir::separator();
    QString path = folder;
    if (!path.endsWith(sep) && !path.endsWith(QLatin1Char('/'))) path += sep;
    return path + QStringLiteral("MSINFO32.EXE");
}

bool StandInRegistry::readValue(std::uint32_t root, const QString& keyName,
                                const QString& valueName, QString& text) const {
    // Registry names are not case-sensitive.
    const bool isToolPath = root == kHKeyLocalMachine &&
                            keyName.compare(kToolKey, Qt::CaseInsensitive) == 0 &&
                            valueName.compare(kToolValue, Qt::CaseInsensitive) == 0;
    if (isToolPath) {
        for (const QString& program : kStandInPrograms) {
            const QString found = QStandardPaths::findExecutable(program, searchFolders_);
            if (!found.isEmpty()) {
                text = found;
                return true;
            }
        }
    }
    text.clear();
    return false;
}

std::unique_ptr<SysInfoRegistry> systemRegistry() {
#ifdef _WIN32
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<StandInRegistry>();
#endif
}

bool SysInfoLauncher::fileExists(const QString& path) const {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool SysInfoLauncher::launch(const QString& program) {
    if (program.isEmpty()) return false;
    // Program and an empty argument list: no shell ever parses the path.
    return QProcess::startDetached(program, QStringList());
}

void SysInfoMessage::showUnavailable() {
    QMessageBox box(QMessageBox::NoIcon, appTitle(), sysInfoUnavailableText(), QMessageBox::Ok,
                    parent_);
    box.exec();
}

bool SysInfo::tryStart() {
    QString path;
    // The tool's own path is run as it is; the launch tells whether it exists.
    if (registry_.readValue(kHKeyLocalMachine, kToolKey, kToolValue, path))
        return launcher_.launch(path);
    QString folder;
    if (registry_.readValue(kHKeyLocalMachine, kFolderKey, kFolderValue, folder)) {
        const QString file = msinfoFileIn(folder);
        if (launcher_.fileExists(file)) return launcher_.launch(file);
    }
    return false;
}

void SysInfo::start() {
    bool started = false;
    try {
        started = tryStart();
    } catch (...) {
        started = false;
    }
    if (!started) message_.showUnavailable();
}

void startSysInfo(QWidget* messageParent) {
    const std::unique_ptr<SysInfoRegistry> registry = systemRegistry();
    SysInfoLauncher launcher;
    SysInfoMessage message(messageParent);
    SysInfo(*registry, launcher, message).start();
}

} // namespace yawmark
