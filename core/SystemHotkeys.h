// Registration of hotkeys with the system, for the application's own window, under global atoms.
#pragma once

#include <windows.h>

#include "core/Hotkeys.h"

namespace corvalend {

class SystemHotkeys final : public HotkeyRegistrar {
public:
    explicit SystemHotkeys(HWND receiver) : receiver_(receiver) {}

    uint16_t AddAtomName(const std::u16string& name) override;
    void DeleteAtom(uint16_t atom) override;
    bool RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) override;
    bool UnregisterHotKey(uint16_t id) override;
    bool CombinationFree(uint32_t modifiers, uint32_t key) override;

private:
    HWND receiver_;
};

}  // namespace corvalend
