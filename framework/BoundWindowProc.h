// A window procedure bound to one object, for subclassing a window with SetWindowLongPtrW: a few
// bytes of machine code that call a plain function with the object in place of the window handle.
// Each binding has its own address, so several objects can subclass the same window in a chain.
#pragma once

#include <windows.h>

namespace fw {

class BoundWindowProc {
public:
    using Target = LRESULT (*)(void* object, UINT message, WPARAM wParam, LPARAM lParam);

    // Raises the system's error when no executable memory can be had.
    BoundWindowProc(void* object, Target target);
    ~BoundWindowProc();
    BoundWindowProc(const BoundWindowProc&) = delete;
    BoundWindowProc& operator=(const BoundWindowProc&) = delete;

    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(code_); }

    // For a binding that another subclass still calls after its object is gone: the code stays
    // (this object lets go of it) and passes every message on to `next`.
    void LeaveForwarding(HWND window, WNDPROC next);

private:
    unsigned char* code_ = nullptr;
};

}  // namespace fw
