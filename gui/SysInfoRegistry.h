// Where the About box looks up the system information tool: the system
// registry on Windows, a stand-in elsewhere, anything a test likes.
#pragma once

#include <QString>

#include <cstdint>

namespace yawmark {

// The registry root that holds the tool's location (HKEY_LOCAL_MACHINE).
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002u;

class SysInfoRegistry {
public:
    virtual ~SysInfoRegistry() = default;

    // Reads value SubKeyRef of key KeyName under root KeyRoot into KeyVal.
    // True on success; on failure KeyVal is emptied and the result is false.
    virtual bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName,
                             const QString& SubKeyRef, QString& KeyVal) const = 0;
};

} // namespace yawmark
