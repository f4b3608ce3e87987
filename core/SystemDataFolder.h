// The program's data places, chosen once at start (DataPlaceRules) with the system's files, and for a
// portable copy the program key's settings sent to its INI file for as long as this object lives.
#pragma once

#include <memory>
#include <string>

#include "core/DataPlaceRules.h"
#include "framework/IniSettings.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"

namespace fw {
class RegistryRedirect;
}  // namespace fw

namespace corvalend {

class SystemDataFolder final : public DataFolderSystem {
public:
    bool FileExists(const std::u16string& path) const override;
    std::optional<std::u16string> MakeWritable(const std::u16string& folder) override;

private:
    fw::Win32FileStore files_;
};

class ProgramDataPlaces {
public:
    // Raises the text of DataPlaceRules when a portable copy's folder cannot be written.
    ProgramDataPlaces();
    ~ProgramDataPlaces();
    ProgramDataPlaces(const ProgramDataPlaces&) = delete;
    ProgramDataPlaces& operator=(const ProgramDataPlaces&) = delete;

    const DataPlaces& Places() const { return places_; }

private:
    DataPlaces places_;
    fw::Win32FileStore files_;
    fw::SystemAnsiCodePage ansi_;
    std::unique_ptr<fw::IniSettings> settings_;
    std::unique_ptr<fw::RegistryRedirect> redirect_;
};

}  // namespace corvalend
