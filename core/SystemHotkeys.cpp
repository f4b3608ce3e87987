// The registrar's system calls: global atoms and hotkeys for the application's window.
#include "core/SystemHotkeys.h"

#include "framework/WinText.h"

namespace corvalend {

// The hotkeys' modifier bits go to the system unchanged: they are its own.
static_assert(kModAlt == MOD_ALT && kModCtrl == MOD_CONTROL && kModShift == MOD_SHIFT && kModWin == MOD_WIN);

uint16_t SystemHotkeys::AddAtomName(const std::u16string& name) {
    return GlobalAddAtomW(fw::W(name));
}

void SystemHotkeys::DeleteAtom(uint16_t atom) {
    GlobalDeleteAtom(atom);
}

bool SystemHotkeys::RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) {
    return ::RegisterHotKey(receiver_, id, modifiers, key) != FALSE;
}

bool SystemHotkeys::UnregisterHotKey(uint16_t id) {
    return ::UnregisterHotKey(receiver_, id) != FALSE;
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
