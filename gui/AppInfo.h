// SPDX-License-Identifier: MIT
// The program's title and version, as the windows show them.
#pragma once

#include <QString>

namespace yawmark {

// The application title: main window caption, splash title, About caption.
inline constexpr const char* kAppTitle = "Yawmark";

// The title as a QString.
inline QString appTitle() {
    return QString::fromLatin1(kAppTitle);
}

// The program's version, as project() in the top CMakeLists.txt sets it.
inline QString appVersion() {
    return QStringLiteral(YAWMARK_VERSION);
}

// "Version " and the version, as the splash and the About box show it.
inline QString versionText() {
    return QStringLiteral("Version ") + appVersion();
}

} // namespace yawmark
