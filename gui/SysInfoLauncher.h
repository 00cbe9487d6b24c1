// How the About box touches the system to start the system information tool:
// a file-existence test and a program launch.
#pragma once

#include <QString>

namespace yawmark {

class SysInfoLauncher {
public:
    virtual ~SysInfoLauncher() = default;

    // True if path names an existing file.
    virtual bool fileExists(const QString& path) const = 0;

    // Starts program on its own, with no arguments and without a shell.
    // False if it could not be started.
    virtual bool launch(const QString& program) = 0;
};

} // namespace yawmark
