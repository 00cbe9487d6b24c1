// The registry's stand-in on systems without one. It answers the two values
// the About box asks for: the tool's "PATH" is the first well-known system
// information program found on the search path; the "MSINFO" folder does not
// exist. Every other key or value is absent.
#pragma once

#include "gui/SysInfoRegistry.h"

#include <QStringList>

namespace yawmark {

class SysInfoRegistryStandIn : public SysInfoRegistry {
public:
    // Searches the folders of the PATH environment variable.
    SysInfoRegistryStandIn();
    // Searches the given folders instead.
    explicit SysInfoRegistryStandIn(QStringList searchFolders);

    // The programs tried, in order of preference.
    static QStringList knownPrograms();

    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal) const override;

private:
    QStringList searchFolders_; // empty: the PATH environment variable
};

} // namespace yawmark
