// The one subclass procedure: put in front of a window, taken away, and guarding every message it sees.
#include "framework/SubclassedWindow.h"

#include <optional>

#include "framework/Application.h"
#include "framework/CommonControls.h"
#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"
#include "framework/Window.h"

namespace fw {

SubclassedWindow::~SubclassedWindow() {
    Unsubclass();
}

void SubclassedWindow::Subclass(HWND window, const SubclassOptions& options) {
    Unsubclass();
    // The object is its own subclass identifier: handlers of several objects on one window stay apart.
    if (!CommonControls().SetWindowSubclass(window, &SubclassedWindow::Proc, reinterpret_cast<UINT_PTR>(this),
                                            reinterpret_cast<DWORD_PTR>(this))) {
        ThrowLastError();
    }
    window_ = window;
    options_ = options;
}

void SubclassedWindow::Unsubclass() {
    if (window_ == nullptr) return;
    CommonControls().RemoveWindowSubclass(window_, &SubclassedWindow::Proc, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

void SubclassedWindow::DestroyOwnWindow() {
    const HWND window = window_;
    Unsubclass();
    if (window != nullptr) DestroyWindow(window);
}

LRESULT SubclassedWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT SubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const MouseEnterLeave::Change pointer = mouse_.See(window_, message);
    if (pointer == MouseEnterLeave::Change::Entered) MouseEnter();
    if (pointer == MouseEnterLeave::Change::Left) MouseLeave();
    if (options_.paintsItself) {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                const PaintScope paint(window_);
                OnPaint(paint.Dc(), paint.Area());
                return 0;
            }
            case WM_PRINTCLIENT: {
                RECT client{};
                GetClientRect(window_, &client);
                OnPaint(reinterpret_cast<HDC>(wParam), client);
                return 0;
            }
            default:
                break;
        }
    }
    return CommonControls().DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK
SubclassedWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data) {
    auto* self = reinterpret_cast<SubclassedWindow*>(data);
    if (message == WM_NCDESTROY) {
        // The window goes first: the object stays until its owner frees it, the message goes on.
        try {
            self->OnDestroying();
        } catch (...) {
            HandleCurrentException();
        }
        self->Unsubclass();
        return CommonControls().DefSubclassProc(hwnd, message, wParam, lParam);
    }
    std::optional<Window::HandlerScope> running;
    if (Window* owner = self->KeepAliveWindow()) running.emplace(*owner);
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
    }
    return 0;
}

}  // namespace fw
