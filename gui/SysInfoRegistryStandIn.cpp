#include "gui/SysInfoRegistryStandIn.h"

#include <QStandardPaths>

#include <utility>

namespace yawmark {

SysInfoRegistryStandIn::SysInfoRegistryStandIn() = default;

SysInfoRegistryStandIn::SysInfoRegistryStandIn(QStringList searchFolders)
    : searchFolders_(std::move(searchFolders)) {}

QStringList SysInfoRegistryStandIn::knownPrograms() {
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("lshw-gtk"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor")};
}

bool SysInfoRegistryStandIn::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                                         const QString& SubKeyRef, QString& KeyVal) const {
    // Registry names are not case-sensitive.
    const bool isToolPath =
        KeyRoot == kHKeyLocalMachine &&
        KeyName.compare(QLatin1String("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        Qt::CaseInsensitive) == 0 &&
        SubKeyRef.compare(QLatin1String("PATH"), Qt::CaseInsensitive) == 0;
    if (isToolPath) {
        for (const QString& program : knownPrograms()) {
            const QString found = QStandardPaths::findExecutable(program, searchFolders_);
            if (!found.isEmpty()) {
                KeyVal = found;
                return true;
            }
        }
    }
    KeyVal.clear();
    return false;
}

} // namespace yawmark
