// The system registry of Windows, read through the advapi32 functions
// RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
#pragma once

#ifdef _WIN32

#include "gui/SysInfoRegistry.h"

namespace yawmark {

class SysInfoRegistryWindows : public SysInfoRegistry {
public:
    // Reads a string value as text and a 32-bit number as its decimal text;
    // a value of any other type succeeds and leaves KeyVal as it was.
    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal) const override;
};

} // namespace yawmark

#endif
