// The keyboard layouts' names and characters from user32 and the registry, and the question boxes.
#include "ui/Win32SaveQuestions.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "core/SystemKeyboard.h"
#include "core/datau.h"
#include "framework/Form.h"
#include "framework/MessageDlg.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"

namespace corvalend {

namespace {

constexpr wchar_t kLayoutsKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts";
// ToUnicodeEx leaves the thread's keyboard state, dead keys included, as it was (Windows 10 1607
// and later; earlier builds ignore the bit).
constexpr UINT kKeepKeyboardState = 0x4;

// A string value below the key; empty when it is missing.
std::wstring StringValue(HKEY key, const std::wstring& subKey, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(key, subKey.c_str(), name, RRF_RT_REG_SZ, /*type=*/nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

// The registry's name of the layout: the handle's high word, or, when that is 0xFxxx, the layout
// whose "Layout Id" is its low twelve bits (the variants, such as Dvorak). Empty when none is.
std::wstring LayoutIdOf(HKL layout) {
    const auto device = static_cast<unsigned>(HIWORD(reinterpret_cast<UINT_PTR>(layout)));
    wchar_t name[64] = {};
    if ((device & 0xF000) != 0xF000) {
        swprintf(name, 64, L"%08X", device);
        return name;
    }
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kLayoutsKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    const fw::UniqueKey layouts(opened);
    for (DWORD i = 0;; ++i) {
        DWORD length = 64;
        if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return {};
        const std::wstring id = StringValue(opened, name, L"Layout Id");
        if (!id.empty() && std::wcstoul(id.c_str(), nullptr, 16) == (device & 0x0FFF)) return name;
    }
}

// The printable ASCII character that the layout types with exactly this key and these modifiers,
// as VkKeyScanEx reports it; empty when none. Wine's driver makes no character while CTRL and ALT
// are both down, whatever the X keyboard map, but its VkKeyScanEx gives the AltGr level (as CTRL+ALT)
// of the characters that are one byte in the Unix code page: under UTF-8 the ASCII ones, so "@" on
// a German map's Q but not "€" on its E. On Windows ToUnicodeEx has found all of these already.
std::u16string AsciiByKeyScan(HKL layout, uint8_t key, int32_t modifiers) {
    const int wanted = key | ((modifiers & kModShift) ? 0x100 : 0) | ((modifiers & kModCtrl) ? 0x200 : 0) |
                       ((modifiers & kModAlt) ? 0x400 : 0);
    for (wchar_t c = L'!'; c <= L'~'; ++c) {
        const SHORT code = VkKeyScanExW(c, layout);
        if (code != -1 && (code & 0xFFFF) == wanted) return std::u16string(1, static_cast<char16_t>(c));
    }
    return u"";
}

}  // namespace

Win32KeyboardLayouts::Win32KeyboardLayouts() {
    layouts_.resize(static_cast<size_t>(std::max(GetKeyboardLayoutList(0, nullptr), 0)));
    const int read = GetKeyboardLayoutList(static_cast<int>(layouts_.size()), layouts_.data());
    layouts_.resize(static_cast<size_t>(std::max(read, 0)));
}

// "Layout Text" is the layout's English name ("German", "United States-Dvorak"), as the questions
// are English. Wine's registry lists no layouts, so there the name is the language's.
std::u16string Win32KeyboardLayouts::Name(size_t layout) {
    const HKL handle = layouts_.at(layout);
    const std::wstring id = LayoutIdOf(handle);
    if (!id.empty()) {
        const std::wstring text =
            StringValue(HKEY_LOCAL_MACHINE, std::wstring(kLayoutsKey) + L"\\" + id, L"Layout Text");
        if (!text.empty()) return fw::FromWide(text.c_str());
    }
    const LCID language = MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(handle)), SORT_DEFAULT);
    wchar_t name[128] = {};
    if (GetLocaleInfoW(language, LOCALE_SENGLISHDISPLAYNAME, name, 128) > 0) return fw::FromWide(name);
    return fw::FromWide(id.c_str());
}

std::u16string Win32KeyboardLayouts::Typed(size_t layout, uint8_t key, int32_t modifiers) {
    const HKL handle = layouts_.at(layout);
    // The state a press with the left-hand modifiers makes; a layout with AltGr reads CTRL+ALT as it.
    BYTE state[256] = {};
    if (modifiers & kModCtrl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (modifiers & kModAlt) state[VK_MENU] = state[VK_LMENU] = 0x80;
    if (modifiers & kModShift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    const UINT scan = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, handle);
    wchar_t typed[8] = {};
    const int length = ToUnicodeEx(key, scan, state, typed, 8, kKeepKeyboardState, handle);
    if (length < 0) {
        // A dead key. Where the flag is ignored, it now waits in this thread's keyboard state for
        // the next letter; the same key once more types it out, which clears the state, as typing
        // it twice does. Where the flag works this call changes nothing either. (A dead key the user
        // left waiting in this thread before would be used up there, but Save needs a click first.)
        wchar_t ignored[8] = {};
        ToUnicodeEx(key, scan, state, ignored, 8, kKeepKeyboardState, handle);
        return std::u16string(1, static_cast<char16_t>(typed[0]));
    }
    if (length > 0) return fw::FromWide(typed, static_cast<size_t>(std::min(length, 8)));
    return AsciiByKeyScan(handle, key, modifiers);
}

bool AskSaveQuestions(HWND owner,
                      const TData& data,
                      const THotKeyData& hotkey,
                      SaveStep step,
                      const THotKeyData& accepted) {
    Win32KeyboardLayouts layouts;
    SystemKeyboard keyboard;
    const std::u16string keyName = data.HotkeyToString(static_cast<uint16_t>(hotkey.Key), 0);
    const auto checkKeys = [&keyboard](std::u16string_view keys) { return CheckKeyString(keys, keyboard); };
    for (const std::u16string& question : SaveQuestions(hotkey, step, accepted, keyName, layouts, checkKeys)) {
        if (fw::MessageDlg(owner, question, fw::MessageType::Confirmation, fw::MessageButtons::YesNo, fw::mrNo) !=
            fw::mrYes) {
            return false;
        }
    }
    return true;
}

}  // namespace corvalend
