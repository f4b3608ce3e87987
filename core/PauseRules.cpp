// Which hotkeys a pause keeps, and the tip that shows it.
#include "core/PauseRules.h"

namespace corvalend {

bool KeptWhilePaused(THotKeyFunc func) {
    return func == hkfPauseHotkeys;
}

void RegisterAsPauseAllows(THotkeyList& list, bool paused) {
    for (int i = 0; i < list.Count(); ++i) {
        TGlobalHotKey& item = *list.GetItem(i);
        if (!paused || KeptWhilePaused(item.HotKeyData.Func)) {
            item.RegisterHotkey();
        } else {
            item.UnregisterHotkey();
        }
    }
}

std::u16string TrayTip(std::u16string_view title, bool paused) {
    std::u16string tip(title);
    if (paused) tip += u" (paused)";
    return tip;
}

}  // namespace corvalend
