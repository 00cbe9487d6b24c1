// SPDX-License-Identifier: MIT
// Compiled on Windows only; elsewhere this file is empty.
#ifdef _WIN32

#include "gui/SysInfo.h"

#include <QByteArray>

#include <cstring>
#include <windows.h>

namespace yawmark {

bool WindowsRegistry::readValue(std::uint32_t root, const QString& keyName,
                                const QString& valueName, QString& text) const {
    // Predefined roots are sign-extended 32-bit handles.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    const QByteArray key = keyName.toLocal8Bit();
    const QByteArray value = valueName.toLocal8Bit();

    // Reading is all we do, so ask for read access only: asking for full
    // access to HKEY_LOCAL_MACHINE fails for every user who is not an administrator.
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(rootKey, key.constData(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        text.clear();
        return false;
    }

    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(hKey, value.constData(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS || size > sizeof buffer) {
        text.clear();
        return false;
    }

    // A stored string usually ends in a NUL that is not part of the text.
    DWORD length = size;
    if (length > 0 && buffer[length - 1] == '\0') --length;
    switch (type) {
    case REG_SZ:
        text = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
        break;
    case REG_DWORD:
        if (size >= sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, buffer, sizeof number);
            text = QString::number(number);
        }
        break;
    default:
        break;
    }
    return true;
}

} // namespace yawmark

#endif
