// Offering a form's Alt+key to its child windows, for controls the system's dialog keys do not reach.
#include "framework/DialogChar.h"

namespace fw {

UINT DialogCharMessage() {
    static const UINT message = RegisterWindowMessageW(L"Corvalend.DialogChar");
    return message;
}

bool OfferDialogChar(HWND form, const MSG& message) {
    if (message.message != WM_SYSCHAR || form == nullptr) return false;
    if (message.hwnd != form && !IsChild(form, message.hwnd)) return false;
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

}  // namespace fw
