// The key combinations Windows keeps for itself, each with what Windows does with it, and the texts
// that name them when a hotkey asks for one: the system's refusal alone would only say that someone
// else holds it, and some of them it does not even refuse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"

namespace corvalend {

enum class WindowsKeeps {
    // Handled below every program (log-on, the secure desktop): registering it is no use at all.
    NeverReachesPrograms,
    // Held by Windows' shell while it runs; the system refuses it to programs. Some depend on the
    // build and settings (the Game Bar, the emoji panel switched off), so the refusal stays the proof.
    TakenByShell,
};

struct WindowsCombination {
    int32_t shift;  // modifier bits, exactly
    uint16_t key;   // virtual key
    // What Windows does with it, as the texts name it: after "Windows uses WIN+E for", and in
    // brackets for one that never reaches programs ("lock the computer").
    std::u16string_view use;
    WindowsKeeps kind = WindowsKeeps::TakenByShell;
    uint16_t lastKey = 0;  // a run of keys with one use, key to lastKey (the digits)
};

namespace windows_keys {
inline constexpr uint16_t kTab = 0x09, kEnter = 0x0D, kPause = 0x13, kEsc = 0x1B, kSpace = 0x20, kHome = 0x24;
inline constexpr uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kPrintScreen = 0x2C, kDel = 0x2E;
inline constexpr uint16_t kPadPlus = 0x6B, kPadMinus = 0x6D, kF4 = 0x73, kF23 = 0x86;
inline constexpr uint16_t kSemicolon = 0xBA, kPlus = 0xBB, kComma = 0xBC, kMinus = 0xBD, kPeriod = 0xBE;
}  // namespace windows_keys

// Compiled from Microsoft's support article "Keyboard shortcuts in Windows" (its Windows key
// shortcuts and general shortcuts, for Windows 10 and 11),
// https://support.microsoft.com/en-us/windows/keyboard-shortcuts-in-windows-dcc61a57-8ff0-cffe-9796-cb9706c75eec
// and the RegisterHotKey documentation,
// https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-registerhotkey
// WIN+L and CTRL+ALT+DEL are handled by Windows' log-on before any program could see them.
inline constexpr WindowsCombination kWindowsCombinations[] = {
    {kModCtrl | kModAlt, windows_keys::kDel, u"the security screen", WindowsKeeps::NeverReachesPrograms},
    {kModWin, 'L', u"lock the computer", WindowsKeeps::NeverReachesPrograms},
    {kModWin, 'A', u"quick settings or the action center"},
    {kModWin, 'B', u"moving the focus to the notification area"},
    {kModWin, 'C', u"Copilot, Chat or Cortana"},
    {kModWin, 'D', u"showing the desktop"},
    {kModWin, 'E', u"File Explorer"},
    {kModWin, 'G', u"the Game Bar"},
    {kModWin, 'H', u"voice typing"},
    {kModWin, 'I', u"Settings"},
    {kModWin, 'K', u"Cast"},
    {kModWin, 'M', u"minimizing all windows"},
    {kModWin, 'N', u"the notification center"},
    {kModWin, 'P', u"projecting to a second screen"},
    {kModWin, 'Q', u"Search"},
    {kModWin, 'R', u"the Run box"},
    {kModWin, 'S', u"Search"},
    {kModWin, 'T', u"cycling through the taskbar's apps"},
    {kModWin, 'U', u"Accessibility settings"},
    {kModWin, 'V', u"the clipboard history"},
    {kModWin, 'W', u"Widgets or Windows Ink Workspace"},
    {kModWin, 'X', u"the Quick Link menu"},
    {kModWin, 'Z', u"snap layouts"},
    {kModWin, windows_keys::kPeriod, u"the emoji panel"},
    {kModWin, windows_keys::kSemicolon, u"the emoji panel"},
    {kModWin, windows_keys::kComma, u"peeking at the desktop"},
    {kModWin, windows_keys::kTab, u"Task view"},
    {kModWin, windows_keys::kSpace, u"switching the keyboard layout"},
    {kModWin, windows_keys::kEnter, u"Narrator"},
    {kModWin | kModCtrl, windows_keys::kEnter, u"Narrator"},
    {kModWin, windows_keys::kPause, u"System settings"},
    {kModWin, windows_keys::kHome, u"minimizing all but the active window"},
    {kModWin, windows_keys::kPrintScreen, u"saving a screenshot to the Screenshots folder"},
    {kModWin | kModShift, 'S', u"the screen snip"},
    {kModWin, windows_keys::kPlus, u"zooming in with Magnifier"},
    {kModWin, windows_keys::kPadPlus, u"zooming in with Magnifier"},
    {kModWin, windows_keys::kMinus, u"zooming out with Magnifier"},
    {kModWin, windows_keys::kPadMinus, u"zooming out with Magnifier"},
    {kModWin, windows_keys::kEsc, u"closing Magnifier"},
    {kModWin, windows_keys::kUp, u"maximizing the window"},
    {kModWin, windows_keys::kDown, u"minimizing or restoring the window"},
    {kModWin, windows_keys::kLeft, u"snapping the window to the left"},
    {kModWin, windows_keys::kRight, u"snapping the window to the right"},
    {kModWin | kModShift, windows_keys::kUp, u"stretching the window from top to bottom"},
    {kModWin | kModShift, windows_keys::kDown, u"restoring the window's height"},
    {kModWin | kModShift, windows_keys::kLeft, u"moving the window to another monitor"},
    {kModWin | kModShift, windows_keys::kRight, u"moving the window to another monitor"},
    {kModWin, '0', u"opening an app on the taskbar", WindowsKeeps::TakenByShell, '9'},
    {kModWin | kModShift, '0', u"a new window of an app on the taskbar", WindowsKeeps::TakenByShell, '9'},
    {kModWin | kModCtrl, '0', u"the last window of an app on the taskbar", WindowsKeeps::TakenByShell, '9'},
    {kModWin | kModAlt, '0', u"the jump list of an app on the taskbar", WindowsKeeps::TakenByShell, '9'},
    {kModWin | kModCtrl, 'D', u"adding a virtual desktop"},
    {kModWin | kModCtrl, windows_keys::kF4, u"closing the virtual desktop"},
    {kModWin | kModCtrl, windows_keys::kLeft, u"switching virtual desktops"},
    {kModWin | kModCtrl, windows_keys::kRight, u"switching virtual desktops"},
    {kModWin | kModCtrl | kModShift, 'B', u"restarting the graphics driver"},
    {kModWin | kModAlt, 'R', u"recording with the Game Bar"},
    {kModWin | kModAlt, windows_keys::kPrintScreen, u"a Game Bar screenshot"},
    {kModWin | kModAlt, 'G', u"recording the last moments of a game"},
    {kModWin | kModShift, windows_keys::kF23, u"the Copilot key"},
    {kModCtrl | kModShift, windows_keys::kEsc, u"Task Manager"},
    {kModCtrl, windows_keys::kEsc, u"the Start menu"},
    {kModAlt, windows_keys::kTab, u"switching windows"},
    {kModAlt, windows_keys::kEsc, u"cycling through windows"},
};

// The entry of the combination: exactly these modifiers and the key; null when Windows keeps none.
constexpr const WindowsCombination* FindWindowsCombination(int32_t key, int32_t shift) {
    for (const WindowsCombination& entry : kWindowsCombinations) {
        const int32_t last = entry.lastKey != 0 ? entry.lastKey : entry.key;
        if (entry.shift == shift && key >= entry.key && key <= last) return &entry;
    }
    return nullptr;
}

constexpr bool NeverReachesPrograms(int32_t key, int32_t shift) {
    const WindowsCombination* entry = FindWindowsCombination(key, shift);
    return entry != nullptr && entry->kind == WindowsKeeps::NeverReachesPrograms;
}

// The combination as Windows' own lists write it: "WIN+SHIFT+S", "CTRL+ALT+DEL".
std::u16string CompactCombinationText(int32_t key, int32_t shift);
// Its modifiers alone, each followed by "+": "CTRL+ALT+".
std::u16string CompactModifiersText(int32_t shift);

// "Windows keeps WIN+L for itself (lock the computer); no program can use it." for a combination
// that never reaches programs; "" for any other.
std::u16string KeptByWindowsText(int32_t key, int32_t shift);

// The refusal of a combination the system gives to someone else, naming Windows' use of it when
// Windows keeps it: "... used by another program. Windows uses WIN+E for File Explorer."
std::u16string UsedByAnotherProgramText(int32_t key, int32_t shift);

// The mark of a combination the system refused: " (used by Windows)" when Windows keeps it,
// `otherwise` when not.
inline constexpr char16_t kUsedByWindowsMark[] = u" (used by Windows)";
std::u16string_view RefusedMark(int32_t key, int32_t shift, std::u16string_view otherwise);

}  // namespace corvalend
