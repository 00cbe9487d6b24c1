#include "gui/SysInfo.h"

#include "gui/SysInfoMessageBox.h"
#include "gui/SysInfoProcessLauncher.h"
#include "gui/SysInfoRegistryStandIn.h"
#include "gui/SysInfoRegistryWindows.h"

#include <QDir>

namespace yawmark {

namespace {
const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolValue = QStringLiteral("PATH");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kFolderValue = QStringLiteral("MSINFO");
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

std::unique_ptr<SysInfoRegistry> systemRegistry() {
#ifdef _WIN32
    return std::make_unique<SysInfoRegistryWindows>();
#else
    return std::make_unique<SysInfoRegistryStandIn>();
#endif
}

bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal) {
    return systemRegistry()->GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

bool SysInfo::tryStart() {
    QString path;
    // The tool's own path is run as it is; the launch tells whether it exists.
    if (registry_.GetKeyValue(kHKeyLocalMachine, kToolKey, kToolValue, path))
        return launcher_.launch(path);
    QString folder;
    if (registry_.GetKeyValue(kHKeyLocalMachine, kFolderKey, kFolderValue, folder)) {
        const QString file = msinfoFileIn(folder);
        if (launcher_.fileExists(file)) return launcher_.launch(file);
    }
    return false;
}

void SysInfo::StartSysInfo() {
    bool started = false;
    try {
        started = tryStart();
    } catch (...) {
        started = false;
    }
    if (!started) message_.showUnavailable();
}

void StartSysInfo(QWidget* messageParent) {
    const std::unique_ptr<SysInfoRegistry> registry = systemRegistry();
    SysInfoProcessLauncher launcher;
    SysInfoMessageBox message(messageParent);
    SysInfo(*registry, launcher, message).StartSysInfo();
}

} // namespace yawmark
