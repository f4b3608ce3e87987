// The window in front with the keyboard focus, as a user's keys need it, and the late events of
// Wine's X server let settle first: a window that came to the front gets its focus events a little
// later, and handled late they drop a modifier pressed meanwhile or take the front back.
#pragma once

#include <windows.h>

namespace wintest {

// The keyboard focus of the window's thread (null when none), as the system tells it: any process's
// window may be asked, whether its thread is busy or not.
HWND FocusOf(HWND window);
// The window is the foreground window and, in its thread, the active one with the keyboard focus on
// `focus` (anywhere inside the window when null): keys pressed now reach it.
bool InFront(HWND window, HWND focus = nullptr);

// Under Wine the X server's focus and pointer events reach a window's process some time after the
// change. Handled late, they reset the key state to the real keyboard's, which drops a modifier
// pressed meanwhile (by the test or by a program typing), and they take the front from the window
// that came there meanwhile. This waits until every process with a window on the screen has handled
// every event the X server sent it so far: a few pixels of the test's cover each such window and go
// again, and a process paints them again only once it has got that far.
void SettleEvents();
// Waits until the window is in front with the keyboard focus on `focus` (anywhere inside when null)
// and still there once the late events are handled; a window that those took the front from is
// brought back.
bool WaitInFront(HWND window, HWND focus = nullptr);
// Makes the window the foreground window (and, for one of this thread, gives `focus` the keyboard),
// then waits as WaitInFront does.
bool BringToFront(HWND window, HWND focus = nullptr);
}  // namespace wintest
