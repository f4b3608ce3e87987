// The data places on the system: the marker and the folder's test through the file calls.
#include "core/SystemDataFolder.h"

#include <windows.h>

#include <shlobj.h>

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Registry.h"
#include "framework/SystemError.h"
#include "framework/WinText.h"

namespace corvalend {

bool SystemDataFolder::FileExists(const std::u16string& path) const {
    return files_.Exists(path);
}

std::optional<std::u16string> SystemDataFolder::MakeWritable(const std::u16string& folder) {
    // A file in the folder's place: the system would not say why no folder can be made there.
    if (files_.Exists(folder)) return fw::SystemErrorText(ERROR_DIRECTORY);
    if (!fw::ForceDirectories(folder)) return fw::SystemErrorText(GetLastError());
    wchar_t probe[MAX_PATH];
    if (!GetTempFileNameW(fw::AsWide(folder), L"cvl", /*unique=*/0, probe)) return fw::SystemErrorText(GetLastError());
    DeleteFileW(probe);
    return std::nullopt;
}

ProgramDataPlaces::ProgramDataPlaces() {
    SystemDataFolder system;
    DataPlacesChoice choice =
        ChooseDataPlaces(fw::Application::ExeName(), HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA)), system);
    if (choice.problem) throw fw::Error(*choice.problem);
    places_ = std::move(choice.places);
    if (places_.settingsFile.empty()) return;
    settings_ = std::make_unique<fw::IniSettings>(files_, ansi_, places_.settingsFile, kPortableSettingsSection);
    redirect_ = std::make_unique<fw::RegistryRedirect>(kProgramKey, *settings_);
}

ProgramDataPlaces::~ProgramDataPlaces() = default;

}  // namespace corvalend
