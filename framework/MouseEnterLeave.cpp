// The pointer's enter and leave of one window, from its moves and the system's leave notice.
#include "framework/MouseEnterLeave.h"

namespace fw {

MouseEnterLeave::Change MouseEnterLeave::See(HWND window, UINT message) {
    if (!enabled_) return Change::None;
    switch (message) {
        case WM_MOUSEMOVE: {
            if (inside_) return Change::None;
            TRACKMOUSEEVENT track{.cbSize = sizeof(track), .dwFlags = TME_LEAVE, .hwndTrack = window, .dwHoverTime = 0};
            // When the system cannot track, the next move enters again.
            inside_ = TrackMouseEvent(&track) != FALSE;
            return Change::Entered;
        }
        case WM_MOUSELEAVE:
            // Also a notice sent by someone else: the window is told the pointer has gone.
            inside_ = false;
            return Change::Left;
        default:
            return Change::None;
    }
}

}  // namespace fw
