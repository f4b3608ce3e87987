// The system's keyboard for the keystroke sender: synthetic key events, the current keyboard
// layout, the calling thread's key state and message queue, and the sender's message boxes.
#pragma once

#include "core/SendKeys.h"

namespace corvalend {

class SystemKeyboard final : public KeyboardPort {
public:
    void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    void SendUnicodeEvent(char16_t unit, bool keyUp) override;
    uint32_t ScanCodeOf(uint8_t vk) override;
    uint16_t KeyForChar(char16_t c) override;
    uint16_t KeyForAnsiChar(char c) override;
    std::string ToAnsi(char16_t c) override;
    std::u16string FromAnsi(std::string_view bytes) override;
    bool NumLockToggled() override;
    void ReadKeyState(std::array<uint8_t, 256>& state) override;
    void WriteKeyState(const std::array<uint8_t, 256>& state) override;
    void PumpKeyboardMessages() override;
    void ShowMessageBox(std::u16string_view caption, std::u16string_view text) override;
};

}  // namespace corvalend
