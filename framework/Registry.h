// An INI-like accessor of one registry key below HKEY_CURRENT_USER: string values, with numbers read
// from and booleans written as decimal strings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/UniqueHandle.h"

namespace fw {

class RegistryIni {
public:
    // Opens the key with full access, creating it when missing (also for reading). A key that
    // cannot be opened reads as empty and refuses writes.
    explicit RegistryIni(const std::u16string& subKey);

    std::u16string ReadString(const std::u16string& name, const std::u16string& defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x"; the default when missing or not a number.
    int32_t ReadInteger(const std::u16string& name, int32_t defaultValue) const;
    bool ReadBool(const std::u16string& name, bool defaultValue) const;

    // Raise "Failed to set data for '%s'" when the system refuses.
    void WriteString(const std::u16string& name, const std::u16string& value);
    void WriteBool(const std::u16string& name, bool value);
    // False when the value was not there or the system refused.
    bool DeleteValue(const std::u16string& name);

private:
    UniqueKey key_;
};

}  // namespace fw
