// The real launcher: the file system and a detached process.
#pragma once

#include "gui/SysInfoLauncher.h"

namespace yawmark {

class SysInfoProcessLauncher : public SysInfoLauncher {
public:
    bool fileExists(const QString& path) const override;
    bool launch(const QString& program) override;
};

} // namespace yawmark
