// Offering a form's Alt+key to its child windows, for controls the system's dialog keys do not reach.
#include "framework/DialogChar.h"

#include <string>

#include "framework/Mnemonics.h"

namespace fw {

namespace {

constexpr wchar_t kScopeProperty[] = L"Corvalend.MnemonicScope";
constexpr wchar_t kCancelProperty[] = L"Corvalend.ScopeCancel";

std::u16string WindowText(HWND window) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(window, text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length > 0 ? length : 0));
}

// Presses the first visible, enabled button or check box of the scope whose Alt+key is `key`, as
// the dialog keys do: a check box takes the focus too, a push button leaves it where it is.
bool PressInScope(HWND scope, char16_t key) {
    struct Search {
        char16_t key;
        HWND found = nullptr;
    } search{key};
    EnumChildWindows(
        scope,
        [](HWND child, LPARAM param) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
            if ((SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) return TRUE;
            if (MnemonicOf(WindowText(child)) != search.key) return TRUE;
            search.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return false;
    const auto code = SendMessageW(search.found, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) SetFocus(search.found);
    SendMessageW(search.found, BM_CLICK, 0, 0);
    return true;
}

bool OfferToFocusedScope(HWND form, WPARAM c) {
    const char16_t key = MnemonicOf(std::u16string{u'&', static_cast<char16_t>(c)});
    for (HWND window = GetFocus(); window != nullptr && window != form; window = GetParent(window)) {
        if (GetPropW(window, kScopeProperty) != nullptr) return PressInScope(window, key);
    }
    return false;
}

}  // namespace

UINT DialogCharMessage() {
    static const UINT message = RegisterWindowMessageW(L"Corvalend.DialogChar");
    return message;
}

bool OfferDialogChar(HWND form, const MSG& message) {
    if (message.message != WM_SYSCHAR || form == nullptr) return false;
    if (message.hwnd != form && !IsChild(form, message.hwnd)) return false;
    if (OfferToFocusedScope(form, message.wParam)) return true;
    struct Offer {
        WPARAM c;
        bool taken = false;
    } offer{message.wParam};
    EnumChildWindows(
        form,
        [](HWND child, LPARAM param) -> BOOL {
            auto& offer = *reinterpret_cast<Offer*>(param);
            if (!IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
            offer.taken = SendMessageW(child, DialogCharMessage(), offer.c, 0) == 1;
            return !offer.taken;
        },
        reinterpret_cast<LPARAM>(&offer));
    return offer.taken;
}

void MarkMnemonicScope(HWND window) {
    // A flag, not a pointer: nothing to free when the window and its properties go.
    SetPropW(window, kScopeProperty, reinterpret_cast<HANDLE>(1));
}

void SetScopeCancelButton(HWND scope, HWND button) {
    // A window handle, not an object: nothing to free when the window and its properties go.
    SetPropW(scope, kCancelProperty, reinterpret_cast<HANDLE>(button));
}

bool PressScopeCancel(HWND form) {
    for (HWND window = GetFocus(); window != nullptr && window != form; window = GetParent(window)) {
        const auto button = reinterpret_cast<HWND>(GetPropW(window, kCancelProperty));
        if (button == nullptr) continue;
        if (!IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

}  // namespace fw
