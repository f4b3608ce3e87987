// Where the program keeps its hotkeys and settings. Installed, below the user's application-data
// folder and in the registry; as a portable copy (a marker file beside the program), in a Data folder
// beside the program, the settings in an INI file there, and nowhere else.
#pragma once

#include <optional>
#include <string>

namespace corvalend {

inline constexpr char16_t kPortableMarker[] = u"Corvalend.portable";
inline constexpr char16_t kPortableDataFolder[] = u"Data";
inline constexpr char16_t kPortableSettingsFile[] = u"settings.ini";
// The portable settings file's one section; its values have the program key's names.
inline constexpr char16_t kPortableSettingsSection[] = u"Settings";

struct DataPlaces {
    std::u16string hotkeyFile;
    // A portable copy's: its Data folder and settings file. Empty when installed (the registry).
    std::u16string dataFolder;
    std::u16string settingsFile;
};

// What the choice needs from the system.
class DataFolderSystem {
public:
    virtual ~DataFolderSystem() = default;
    virtual bool FileExists(const std::u16string& path) const = 0;
    // Makes the folder (and those above it) when missing and proves that a file can be made in it and
    // taken away again: nothing when it can, or the system's reason why not.
    virtual std::optional<std::u16string> MakeWritable(const std::u16string& folder) = 0;
};

// The places for the program file `programFile`: its own Data folder when the marker stands beside
// it, else `installedHotkeyFile` and the registry. A portable copy's folder is made ready here; one
// that cannot be written gives the text that says so, and no places.
struct DataPlacesChoice {
    DataPlaces places;
    std::optional<std::u16string> problem;
};
DataPlacesChoice ChooseDataPlaces(const std::u16string& programFile,
                                  const std::u16string& installedHotkeyFile,
                                  DataFolderSystem& system);

}  // namespace corvalend
