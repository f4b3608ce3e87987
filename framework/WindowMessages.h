// The window messages the program defines itself, in one place so that no two of them meet. The
// registered ones are made at run time from their names: "Corvalend.DialogChar" (DialogChar.h)
// and the shell's "TaskbarCreated" (TrayIcon.cpp).
#pragma once

#include <windows.h>

namespace fw {

// Posted to a toolkit window while work waits for its handlers to return (Window::Defer and
// Window::Release); the window procedure takes it before the window's own handling.
inline constexpr UINT kDeferredWorkMessage = WM_APP + 0x46;

}  // namespace fw

// The shell's callbacks about a tray icon, posted to the icons' shared window: wParam is the icon's
// identifier, lParam the mouse or balloon notification. A fixed number (WM_USER + 0x400), as tools
// that drive the icon from outside post it too.
inline constexpr UINT WM_TRAYCALLBACK = 0x0800;
