// Accelerator keys for controls that the system's dialog-key handling does not know: a form offers
// each Alt+key (WM_SYSCHAR) to its visible, enabled child windows with the registered message
// DialogCharMessage (wParam = the character); a control that takes the key answers 1.
#pragma once

#include <windows.h>

namespace fw {

UINT DialogCharMessage();

// Offers an Alt+key aimed at the form or one of its child windows; true when a control took it.
// Within a scope that holds the focus, its own buttons take their Alt+keys first.
bool OfferDialogChar(HWND form, const MSG& message);

// Makes the window (a frame a form shows many times, with the same captions in each) a scope of its
// own Alt+keys: while the focus is in it, its buttons and check boxes are pressed by their Alt+keys
// before any alike elsewhere in the form. The mark goes with the window.
void MarkMnemonicScope(HWND window);

// Gives the scope its own Esc: while the focus is in it and the button is shown, Esc presses the
// button instead of the form's cancel button. The mark goes with the window.
void SetScopeCancelButton(HWND scope, HWND button);

// Presses the cancel button of the scope that holds the focus, if it is shown and enabled; true then.
bool PressScopeCancel(HWND form);

}  // namespace fw
