#include "gui/SysInfoProcessLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace yawmark {

bool SysInfoProcessLauncher::fileExists(const QString& path) const {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool SysInfoProcessLauncher::launch(const QString& program) {
    if (program.isEmpty()) return false;
    // Program and an empty argument list: no shell ever parses the path.
    return QProcess::startDetached(program, QStringList());
}

} // namespace yawmark
