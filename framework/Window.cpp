// The one window procedure of our classes: registration, creation, deferred work, the error boundary.
#include "framework/Window.h"

#include <utility>

#include "framework/Application.h"
#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"

namespace fw {

void RegisterWindowClass(HINSTANCE instance, const WindowClassInfo& windowClass, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, windowClass.name, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = windowClass.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.smallIcon;
    wc.hCursor = windowClass.cursor != nullptr ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExW(&wc)) ThrowLastError();
}

namespace {
thread_local int handlersRunning = 0;
}  // namespace

Window::HandlerScope::HandlerScope(Window& window) : window_(window) {
    ++window_.handlers_;
    ++handlersRunning;
}

int Window::HandlerScope::Running() {
    return handlersRunning;
}

Window::HandlerScope::~HandlerScope() {
    --handlersRunning;
    // The last handler returned: what waited for it can run now.
    if (--window_.handlers_ == 0 && window_.HasDeferredWork()) window_.PostDeferredWork();
}

Window::Window(Application& app) : app_(&app), hooks_(HandleCurrentException) {}

Window::Window() : app_(nullptr), hooks_(HandleCurrentException) {}

Window::~Window() {
    if (hwnd_ != nullptr) {
        // The derived part is gone already: the last messages go to the default procedure.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::Create(const WindowClassInfo& windowClass, const WindowCreateInfo& info) {
    const HINSTANCE instance = app_ != nullptr ? app_->Instance() : GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, windowClass, &Window::Proc);
    const HWND hwnd = CreateWindowExW(info.exStyle, windowClass.name, AsWide(info.title), info.style, info.x, info.y,
                                      info.width, info.height, info.parent, info.menu, instance, /*param=*/this);
    if (hwnd == nullptr) ThrowLastError();
}

void Window::Defer(std::function<void()> action) {
    deferred_.push_back(std::move(action));
    PostDeferredWork();
}

void Window::Release() {
    releasing_ = true;
    PostDeferredWork();
}

void Window::PostDeferredWork() {
    // Also when a handler runs now: the message then finds it running and leaves the work for the
    // scope that ends last.
    if (hwnd_ != nullptr) PostMessageW(hwnd_, kDeferredWorkMessage, 0, 0);
}

void Window::RunDeferredWork() {
    if (handlers_ > 0) return;
    if (!deferred_.empty()) {
        const HandlerScope running(*this);
        for (const auto& action : std::exchange(deferred_, {})) {
            try {
                action();
            } catch (...) {
                HandleError();
            }
        }
    }
    // An action that waited in a nested loop may have let another handler start and not yet return.
    if (releasing_ && handlers_ == 0) {
        releasing_ = false;
        DeleteAfterRelease();
    }
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const MouseEnterLeave::Change pointer = mouse_.See(hwnd_, message);
    if (pointer == MouseEnterLeave::Change::Entered) MouseEnter();
    if (pointer == MouseEnterLeave::Change::Left) MouseLeave();
    switch (message) {
        case WM_PAINT: {
            const PaintScope paint(hwnd_);
            OnPaint(paint.Dc(), paint.Area());
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            OnPaint(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Window::HandleError() noexcept {
    if (app_ != nullptr) {
        app_->HandleException();
    } else {
        HandleCurrentException();
    }
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == kDeferredWorkMessage) {
        self->RunDeferredWork();  // may free the object
        return 0;
    }
    const HandlerScope running(*self);
    LRESULT result = 0;
    try {
        if (!self->hooks_.Run(message, wParam, lParam, result)) result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        self->HandleError();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

}  // namespace fw
