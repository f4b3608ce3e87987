#include "framework/UtilWindow.h"

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/SystemError.h"

namespace fw {

UtilWindow::UtilWindow(Handler handler) : handler_(std::move(handler)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, kUtilWindowClass, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &UtilWindow::Proc;
        wc.hInstance = instance;
        wc.lpszClassName = kUtilWindowClass;
        if (!RegisterClassExW(&wc)) throw Error(SystemErrorText(GetLastError()));
    }
    if (CreateWindowExW(WS_EX_TOOLWINDOW, kUtilWindowClass, L"", WS_POPUP, 0, 0, 0, 0, /*parent=*/nullptr,
                        /*menu=*/nullptr, instance, /*param=*/this) == nullptr) {
        throw Error(SystemErrorText(GetLastError()));
    }
}

UtilWindow::~UtilWindow() {
    if (hwnd_ != nullptr) {
        // The last messages of the window go to the default procedure, not to a handler that is gone.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

LRESULT CALLBACK UtilWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<UtilWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<UtilWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    try {
        // The handler may free its owner, and this object with it: nothing here touches `self`
        // after the call.
        return self->handler_(hwnd, message, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
        return 0;
    }
}

}  // namespace fw
