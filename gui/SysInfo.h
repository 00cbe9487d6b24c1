// Starting the system information tool from the About box. The tool's
// location is read from two registry values: the tool's own path, or else a
// folder that holds MSINFO32.EXE. Whatever fails ends in one message.
#pragma once

#include "gui/SysInfoLauncher.h"
#include "gui/SysInfoMessage.h"
#include "gui/SysInfoRegistry.h"

#include <QString>

#include <memory>

class QWidget;

namespace yawmark {

// "System Information Is Unavailable At This Time".
QString sysInfoUnavailableText();

// The file looked for inside the "MSINFO" folder: folder and "MSINFO32.EXE"
// joined by one native separator.
QString msinfoFileIn(const QString& folder);

// The registry of this system: the real one on Windows, the stand-in elsewhere.
std::unique_ptr<SysInfoRegistry> systemRegistry();

// Reads one value of this system's registry (see SysInfoRegistry::GetKeyValue).
bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);

// The lookup and launch, over whatever registry, launcher and message it is given.
class SysInfo {
public:
    SysInfo(const SysInfoRegistry& registry, SysInfoLauncher& launcher, SysInfoMessage& message)
        : registry_(registry), launcher_(launcher), message_(message) {}

    // Launches the tool: the "PATH" value as it is; else MSINFO32.EXE in the
    // "MSINFO" folder if that file exists; else, or if the launch fails,
    // shows the message.
    void StartSysInfo();

private:
    bool tryStart();

    const SysInfoRegistry& registry_;
    SysInfoLauncher& launcher_;
    SysInfoMessage& message_;
};

// StartSysInfo with this system's registry, a real launch and a message box
// belonging to messageParent.
void StartSysInfo(QWidget* messageParent);

} // namespace yawmark
