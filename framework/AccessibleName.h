// A name and a role of our own for a window that screen readers would otherwise read by its window
// text and class: the window answers WM_GETOBJECT for its client object with the system's standard
// object for it, save for the name and the role. The accessibility library is loaded only when a
// screen reader (or a test) first asks.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The answer to WM_GETOBJECT (wParam, lParam) for `window`: its client object named `name`, with
// the role `role` (ROLE_SYSTEM_...; 0 keeps the standard one). 0 for other objects, which the
// caller leaves to the window's default handling.
LRESULT AccessibleNameAnswer(HWND window, WPARAM wParam, LPARAM lParam, std::u16string name, long role);

// Tells screen readers that the focus is on `window`'s client object anew, as its name changed
// while it kept the focus.
void NotifyAccessibleFocus(HWND window);

}  // namespace fw
