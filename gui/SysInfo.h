// SPDX-License-Identifier: MIT
// Starting the system information tool from the About box. The tool's
// location is read from two registry values: the tool's own path, or else a
// folder that holds MSINFO32.EXE. Whatever fails ends in one message.
//
// The registry, the launch and the message are small classes of their own so
// that tests can answer for the system; the launcher and the message do the
// real thing unless a subclass overrides them.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <utility>

namespace yawmark {

// The registry root that holds the tool's location (HKEY_LOCAL_MACHINE).
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002u;

// "System Information Is Unavailable At This Time".
QString sysInfoUnavailableText();

// The file looked for inside the "MSINFO" folder: folder and "MSINFO32.EXE"
// joined by one native separator.
QString msinfoFileIn(const QString& folder);

// Where the tool is looked up: the system registry on Windows, a stand-in
// elsewhere, anything a test likes.
class SysInfoRegistry {
public:
    virtual ~SysInfoRegistry() = default;

    // Reads value valueName of key keyName under root into text. True on
    // success; on failure text is emptied and the result is false.
    virtual bool readValue(std::uint32_t root, const QString& keyName, const QString& valueName,
                           QString& text) const = 0;
};

// The registry's stand-in on systems without one. It answers only the tool's
// "PATH": the first well-known system information program found on the
// search path. The "MSINFO" folder, and every other key or value, is absent.
class StandInRegistry : public SysInfoRegistry {
public:
    // searchFolders empty: the folders of the PATH environment variable.
    explicit StandInRegistry(QStringList searchFolders = {})
        : searchFolders_(std::move(searchFolders)) {}

    bool readValue(std::uint32_t root, const QString& keyName, const QString& valueName,
                   QString& text) const override;

private:
    QStringList searchFolders_;
};

#ifdef _WIN32
// The system registry of Windows, opened for reading only. A string value
// reads as its text, a 32-bit number as its decimal text; a value of any
// other type succeeds and leaves text as it was.
class WindowsRegistry : public SysInfoRegistry {
public:
    bool readValue(std::uint32_t root, const QString& keyName, const QString& valueName,
                   QString& text) const override;
};
#endif

// The registry of this system: the real one on Windows, the stand-in elsewhere.
std::unique_ptr<SysInfoRegistry> systemRegistry();

// How the tool is started: a file-existence test and a detached launch.
class SysInfoLauncher {
public:
    virtual ~SysInfoLauncher() = default;

    // True if path names an existing file.
    virtual bool fileExists(const QString& path) const;
    // Starts program on its own, with no arguments and without a shell.
    // False if it could not be started.
    virtual bool launch(const QString& program);
};

// How the user learns that there is no tool: a box with the text, an OK
// button and the program's title, belonging to parent (may be null).
class SysInfoMessage {
public:
    explicit SysInfoMessage(QWidget* parent = nullptr) : parent_(parent) {}
    virtual ~SysInfoMessage() = default;

    virtual void showUnavailable();

private:
    QPointer<QWidget> parent_;
};

// The lookup and launch, over whatever registry, launcher and message it is given.
class SysInfo {
public:
    SysInfo(const SysInfoRegistry& registry, SysInfoLauncher& launcher, SysInfoMessage& message)
        : registry_(registry), launcher_(launcher), message_(message) {}

    // Launches the tool: the "PATH" value as it is; else MSINFO32.EXE in the
    // "MSINFO" folder if that file exists; else, or if the launch fails,
    // shows the message.
    void start();

private:
    bool tryStart();

    const SysInfoRegistry& registry_;
    SysInfoLauncher& launcher_;
    SysInfoMessage& message_;
};

// start() with this system's registry, a real launch and a message box
// belonging to messageParent.
void startSysInfo(QWidget* messageParent);

} // namespace yawmark
