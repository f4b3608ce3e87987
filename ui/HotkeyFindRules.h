// What the settings window's Find box finds: the rows whose frame shows the typed text, in any
// letter case, and the count beside the box.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Hotkeys.h"

namespace corvalend {

inline constexpr char16_t kFindCaption[] = u"&Find:";

// The texts the rows are found by, one per hotkey of the list, folded to one letter case: the
// hotkey's text as the frame names it ("CTRL + B"), the action's caption and the parameters the
// action shows, each on a line of its own so that a find never runs from one into the next.
// Parameters the action hides are not seen. `keyName` names a key alone, as a hotkey's text ends;
// it is asked once per key, for naming a key asks the system and many hotkeys share few keys.
std::vector<std::u16string> HotkeyFindTexts(const THotkeyList& list,
                                            const std::function<std::u16string(uint16_t key)>& keyName);

// The rows, in order, whose find text (made by HotkeyFindTexts) holds `find` in any letter case;
// every row when `find` is empty.
std::vector<int> FindRows(const std::vector<std::u16string>& findTexts, std::u16string_view find);

// "N of M hotkeys": the rows shown of all of them.
std::u16string FoundCountText(size_t shown, size_t total);

}  // namespace corvalend
