// Registration of hotkeys with the system, under global atoms, on the one hidden window of the
// program that the hotkeys arrive at. A press is posted to that window and dispatched from its
// window procedure by whatever loop runs then (a modal form's, a message box's, a menu's), so the
// hotkeys work everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/Hotkeys.h"
#include "framework/HiddenWindow.h"

namespace corvalend {

// The window the hotkeys are registered on: it exists while one is.
const fw::HiddenWindow& HotkeyWindow();

class SystemHotkeys final : public HotkeyRegistrar {
public:
    // `onPress` runs at each press of a hotkey registered here, with the identifier it was
    // registered under, its modifiers and its key.
    using PressHandler = std::function<void(uint16_t id, uint32_t modifiers, uint32_t key)>;
    explicit SystemHotkeys(PressHandler onPress) : onPress_(std::move(onPress)) {}
    // Withdraws what is still registered.
    ~SystemHotkeys() override;
    SystemHotkeys(const SystemHotkeys&) = delete;
    SystemHotkeys& operator=(const SystemHotkeys&) = delete;

    uint16_t AddAtomName(const std::u16string& name) override;
    void DeleteAtom(uint16_t atom) override;
    bool RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) override;
    bool UnregisterHotKey(uint16_t id) override;
    bool CombinationFree(uint32_t modifiers, uint32_t key) override;

private:
    PressHandler onPress_;
    // The hotkeys registered here, on the window by their identifiers.
    std::unordered_map<uint16_t, fw::HiddenWindow::Member> registered_;
};

}  // namespace corvalend
