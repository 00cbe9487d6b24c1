// The program's title and version, as the windows show them.
#pragma once

#include <QString>

namespace yawmark {

// The application title: main window caption, splash title, About caption.
inline constexpr const char* kAppTitle = "Yawmark";

// The program's three-part version; keep in step with project() in the top CMakeLists.txt.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRevision = 0;

// The title as a QString.
inline QString appTitle() {
    return QString::fromLatin1(kAppTitle);
}

// "Version 1.2.0": the three numbers as plain decimals, no leading zeros.
inline QString versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

} // namespace yawmark
