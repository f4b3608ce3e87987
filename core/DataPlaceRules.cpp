// The choice between the installed places and a portable copy's own folder.
#include "core/DataPlaceRules.h"

namespace corvalend {

DataPlacesChoice ChooseDataPlaces(const std::u16string& programFile,
                                  const std::u16string& installedHotkeyFile,
                                  DataFolderSystem& system) {
    const size_t slash = programFile.find_last_of(u"\\/");
    const std::u16string programFolder = slash == std::u16string::npos ? u"." : programFile.substr(0, slash);
    DataPlacesChoice choice;
    if (!system.FileExists(programFolder + u"\\" + kPortableMarker)) {
        choice.places.hotkeyFile = installedHotkeyFile;
        return choice;
    }
    const std::u16string folder = programFolder + u"\\" + kPortableDataFolder;
    // Never elsewhere instead: the user chose to keep everything beside the program.
    if (const std::optional<std::u16string> reason = system.MakeWritable(folder)) {
        choice.problem = u"Corvalend cannot write to its Data folder beside the program (" + folder + u"): " + *reason +
                         u". A portable copy needs a folder it may write to.";
        return choice;
    }
    choice.places = {folder + u"\\hotkeys.ini", folder, folder + u"\\" + kPortableSettingsFile};
    return choice;
}

}  // namespace corvalend
