// A settings store: named text values, kept in the registry or in one section of an INI file. The
// INI side is portable: it reads and writes the file through a FileStore.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/FileStore.h"
#include "framework/TextFile.h"

namespace fw {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the value is not there.
    virtual std::optional<std::u16string> Read(std::u16string_view name) const = 0;
    // Raises the store's error when the value cannot be kept.
    virtual void Write(std::u16string_view name, std::u16string_view value) = 0;
    // False when the value was not there.
    virtual bool Delete(std::u16string_view name) = 0;
};

// The value of `name` in the first section called `section`, read by the rules of IniModel.
std::optional<std::u16string> ReadIniValue(std::u16string_view text,
                                           std::u16string_view section,
                                           std::u16string_view name);

// The text with `name` in `section` set to `value`, or taken out when there is none: the line that
// holds it now is changed where it is, a new one ends its section, a missing section is added at the
// end. Every other line stays as it was; lines end in CR LF.
std::u16string SetIniValue(std::u16string_view text,
                           std::u16string_view section,
                           std::u16string_view name,
                           std::optional<std::u16string_view> value);

// One section of an INI file. Every read takes the file as it is now, so the user may edit it between
// two starts or while the program runs; every change replaces the whole file in one step, written as
// UTF-16 with a byte-order mark like the hotkey file. A missing file holds no values.
class IniSettings final : public SettingsStore {
public:
    IniSettings(FileStore& files, const AnsiCodePage& ansi, std::u16string path, std::u16string section);

    std::optional<std::u16string> Read(std::u16string_view name) const override;
    void Write(std::u16string_view name, std::u16string_view value) override;
    bool Delete(std::u16string_view name) override;

private:
    std::u16string Text() const;

    FileStore& files_;
    const AnsiCodePage& ansi_;
    std::u16string path_;
    std::u16string section_;
};

}  // namespace fw
