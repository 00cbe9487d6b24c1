#ifdef _WIN32

#include "gui/SysInfoRegistryWindows.h"

#include <QByteArray>

#include <cstring>
#include <windows.h>

namespace yawmark {

bool SysInfoRegistryWindows::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                                         const QString& SubKeyRef, QString& KeyVal) const {
    // Predefined roots are sign-extended 32-bit handles.
    const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(KeyRoot)));
    const QByteArray keyName = KeyName.toLocal8Bit();
    const QByteArray valueName = SubKeyRef.toLocal8Bit();

    // Reading is all we do, so ask for read access only: asking for full
    // access to HKEY_LOCAL_MACHINE fails for every user who is not an administrator.
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(root, keyName.constData(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(hKey, valueName.constData(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(hKey);
    if (rc != ERROR_SUCCESS || size > sizeof buffer) {
        KeyVal.clear();
        return false;
    }

    // A stored string usually ends in a NUL that is not part of the text.
    DWORD length = size;
    if (length > 0 && buffer[length - 1] == '\0') --length;
    switch (type) {
    case REG_SZ:
        KeyVal = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
        break;
    case REG_DWORD:
        if (size >= sizeof(DWORD)) {
            DWORD value = 0;
            std::memcpy(&value, buffer, sizeof value);
            KeyVal = QString::number(value);
        }
        break;
    default:
        break;
    }
    return true;
}

} // namespace yawmark

#endif
