// Accelerator keys for controls that the system's dialog-key handling does not know: a form offers
// each Alt+key (WM_SYSCHAR) to its visible, enabled child windows with the registered message
// DialogCharMessage (wParam = the character); a control that takes the key answers 1.
#pragma once

#include <windows.h>

namespace fw {

UINT DialogCharMessage();

// Offers an Alt+key aimed at the form or one of its child windows; true when a control took it.
bool OfferDialogChar(HWND form, const MSG& message);

}  // namespace fw
