// An INI-like accessor of one registry key below HKEY_CURRENT_USER: string values, with numbers read
// from and booleans written as decimal strings. A key may be sent to another settings store for the
// whole run (RegistryRedirect): every accessor of it then reads and writes that store instead.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/IniSettings.h"
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
    SettingsStore* store_ = nullptr;  // the redirected key's store, in place of key_
};

// While it lives, every RegistryIni of `subKey` (letter case and a final backslash aside) goes to
// `store` and the registry is not touched, not even to create the key: the settings of a copy that
// keeps them beside itself. Where the program reads and writes them stays as it is; one at a time.
class RegistryRedirect {
public:
    RegistryRedirect(std::u16string subKey, SettingsStore& store);
    ~RegistryRedirect();
    RegistryRedirect(const RegistryRedirect&) = delete;
    RegistryRedirect& operator=(const RegistryRedirect&) = delete;

    // The store of the redirected key, or null.
    static SettingsStore* StoreFor(const std::u16string& subKey);

private:
    std::u16string subKey_;
    SettingsStore& store_;
};

}  // namespace fw
