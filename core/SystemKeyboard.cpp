// The keystroke sender's system calls (user32 and the ANSI code page).
#include "core/SystemKeyboard.h"

#include <windows.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/SystemError.h"
#include "framework/Win32CodePage.h"

namespace corvalend {

namespace {

// SendInput rather than keybd_event, which makes the same event but drops the system's answer: input
// the system refuses (another thread blocks it, or another desktop has the input) is reported.
void Send(INPUT input) {
    if (SendInput(1, &input, sizeof(input)) != 1) fw::ThrowLastError();
}

}  // namespace

void SystemKeyboard::SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    static_assert(KEYEVENTF_EXTENDEDKEY == 1 && KEYEVENTF_KEYUP == 2, "the port's flags are the system's");
    input.ki.dwFlags = flags;
    Send(input);
}

// The focused window's thread gets VK_PACKET key messages; translating the key down gives the unit
// as a WM_CHAR.
void SystemKeyboard::SendUnicodeEvent(char16_t unit, bool keyUp) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(unit);
    input.ki.dwFlags = KEYEVENTF_UNICODE | (keyUp ? KEYEVENTF_KEYUP : 0);
    Send(input);
}

uint32_t SystemKeyboard::ScanCodeOf(uint8_t vk) {
    return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

uint16_t SystemKeyboard::KeyForChar(char16_t c) {
    return static_cast<uint16_t>(VkKeyScanW(static_cast<wchar_t>(c)));
}

uint16_t SystemKeyboard::KeyForAnsiChar(char c) {
    return static_cast<uint16_t>(VkKeyScanA(c));
}

std::string SystemKeyboard::ToAnsi(char16_t c) {
    const auto wide = static_cast<wchar_t>(c);
    char bytes[4] = {};
    const int length = WideCharToMultiByte(CP_ACP, 0, &wide, 1, bytes, sizeof(bytes), /*defaultChar=*/nullptr,
                                           /*usedDefaultChar=*/nullptr);
    return std::string(bytes, static_cast<size_t>(std::max(length, 0)));
}

std::u16string SystemKeyboard::FromAnsi(std::string_view bytes) {
    return fw::SystemAnsiCodePage().ToUtf16(bytes);
}

bool SystemKeyboard::NumLockToggled() {
    return (GetKeyState(VK_NUMLOCK) & 1) != 0;
}

void SystemKeyboard::ReadKeyState(std::array<uint8_t, 256>& state) {
    if (!GetKeyboardState(state.data())) fw::ThrowLastError();
}

void SystemKeyboard::WriteKeyState(const std::array<uint8_t, 256>& state) {
    // The system's declaration takes a non-const pointer but only reads the array.
    if (!SetKeyboardState(const_cast<BYTE*>(state.data()))) fw::ThrowLastError();
}

void SystemKeyboard::PumpKeyboardMessages() {
    MSG message;
    static_assert(WM_KEYFIRST == 0x100 && WM_KEYLAST == 0x109, "key messages up to WM_UNICHAR");
    while (PeekMessageW(&message, /*window=*/nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// On the application's error path, in the plain box the sender has always shown, with its caption.
void SystemKeyboard::ShowMessageBox(std::u16string_view caption, std::u16string_view text) {
    fw::ShowErrorText(std::u16string(text), {.caption = std::u16string(caption), .plain = true});
}

}  // namespace corvalend
