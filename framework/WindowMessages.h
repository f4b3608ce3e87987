// The window messages the toolkit defines itself, in one place so that no two of them meet, and the
// shell's registered one the program listens to. The toolkit's registered "Corvalend.DialogChar" is
// made at run time from its name (DialogChar.h).
#pragma once

#include <windows.h>

namespace fw {

// Posted to a toolkit window while work waits for its handlers to return (Window::Defer and
// Window::Release); the window procedure takes it before the window's own handling.
inline constexpr UINT kDeferredWorkMessage = WM_APP + 0x46;

// Broadcast by the shell to every top-level window when the taskbar is made again (the shell
// restarted): registered once for the program. Every system this program runs on has a shell that
// sends it.
inline const UINT kTaskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");

}  // namespace fw
