// Import of another hotkey file (one exported by this version or any other): its hotkeys come after
// the user's own, except those whose combination one of the user's active hotkeys already uses.
#pragma once

#include <optional>
#include <string>

#include "core/Hotkeys.h"

namespace corvalend {

inline constexpr char16_t kNothingImportedText[] =
    u"The file holds no hotkeys Corvalend can read. Nothing was imported.";

struct TImportCount {
    int imported = 0;
    int skipped = 0;
    friend bool operator==(const TImportCount&, const TImportCount&) = default;
};

// Appends the hotkeys of `incoming` to `list` in their order, except those whose combination an
// active hotkey that was in `list` before uses (an inactive one registers nothing, so it is no clash).
TImportCount AppendImportedHotkeys(THotkeyList& list, const THotkeyList& incoming);

// "Imported 12 hotkeys; skipped 3 whose combination is already in use.", "Imported 1 hotkey.", ...
std::u16string ImportedText(const TImportCount& count);

// Reads `file` with the hotkey file's reader and appends its hotkeys to `list`. Nothing when the file
// holds no hotkey the reader keeps (not a hotkey file, or an empty one): `list` is then as it was.
std::optional<TImportCount> ImportHotkeyFile(THotkeyList& list, const std::u16string& file, const HotkeySystem& system);

}  // namespace corvalend
