// The registrar's system calls: global atoms, and hotkeys on the shared hotkey window.
#include "core/SystemHotkeys.h"

#include <windows.h>

#include "framework/WinText.h"

namespace corvalend {

// The hotkeys' modifier bits go to the system unchanged: they are its own.
static_assert(kModAlt == MOD_ALT && kModCtrl == MOD_CONTROL && kModShift == MOD_SHIFT && kModWin == MOD_WIN);

namespace {

fw::HiddenWindow hotkeyWindow(WM_HOTKEY);

}  // namespace

const fw::HiddenWindow& HotkeyWindow() {
    return hotkeyWindow;
}

SystemHotkeys::~SystemHotkeys() {
    for (const auto& [id, member] : registered_) ::UnregisterHotKey(hotkeyWindow.Handle(), id);
}

uint16_t SystemHotkeys::AddAtomName(const std::u16string& name) {
    return GlobalAddAtomW(fw::AsWide(name));
}

void SystemHotkeys::DeleteAtom(uint16_t atom) {
    GlobalDeleteAtom(atom);
}

bool SystemHotkeys::RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) {
    // An identifier on the window already is a combination held already (the atom names it).
    fw::HiddenWindow::Member member =
        hotkeyWindow.Add(id, [this, id](intptr_t lParam) { onPress_(id, LOWORD(lParam), HIWORD(lParam)); });
    if (!member || !::RegisterHotKey(hotkeyWindow.Handle(), id, modifiers, key)) return false;
    registered_.insert_or_assign(id, std::move(member));
    return true;
}

bool SystemHotkeys::UnregisterHotKey(uint16_t id) {
    if (!registered_.contains(id) || !::UnregisterHotKey(hotkeyWindow.Handle(), id)) return false;
    registered_.erase(id);
    return true;
}

bool SystemHotkeys::CombinationFree(uint32_t modifiers, uint32_t key) {
    // The identifier is this thread's own (no window) and outside the atoms' range; only the refusal
    // of a combination held already counts, not one of an invalid key, say.
    constexpr int kProbeId = 0xBFFF;
    if (::RegisterHotKey(nullptr, kProbeId, modifiers, key)) {
        ::UnregisterHotKey(nullptr, kProbeId);
        return true;
    }
    return GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED;
}

}  // namespace corvalend
