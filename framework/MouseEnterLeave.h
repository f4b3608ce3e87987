// The pointer coming onto a window and going off it again, as one enter and one leave: the first
// move over the window asks the system for the leave notice (WM_MOUSELEAVE), whose arrival is the
// leave, and the next move is a new enter. Window and SubclassedWindow turn these into their
// MouseEnter and MouseLeave, for the windows that ask for them: the system tracks one window at a
// time, so a window that does not need the notice must not take it from one that does.
#pragma once

#include <windows.h>

namespace fw {

class MouseEnterLeave {
public:
    enum class Change { None, Entered, Left };

    // Nothing is watched until then.
    void Enable() { enabled_ = true; }
    // What a message of `window` tells, seen before the window handles it.
    Change See(HWND window, UINT message);

private:
    bool enabled_ = false;
    bool inside_ = false;  // asked the system for the leave notice
};

}  // namespace fw
