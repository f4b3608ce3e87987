// A hidden helper window for objects that are not windows themselves (timers, tray icons): a
// zero-size tool window of popup style, class "TPUtilWindow", never shown, whose messages all go to
// one handler bound to its owner object. No error escapes the handler: it goes to the default
// error handler of the current application.
//
// SharedUtilWindow is one such window shared by every object of a kind: made for the first of them
// and destroyed with the last.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/Window.h"

namespace fw {

inline constexpr wchar_t kUtilWindowClass[] = L"TPUtilWindow";

class UtilWindow final : public Window {
public:
    // The handler gets every message from the window's creation (WM_NCCREATE) on; what it does not
    // handle it passes to DefWindowProcW itself.
    using Handler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

    // Raises the system's error when the window cannot be made.
    explicit UtilWindow(Handler handler);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handler handler_;
};

class SharedUtilWindow {
public:
    // Every message of the window, whichever user it is for, goes to `handler`.
    explicit SharedUtilWindow(UtilWindow::Handler handler) : handler_(std::move(handler)) {}
    SharedUtilWindow(const SharedUtilWindow&) = delete;
    SharedUtilWindow& operator=(const SharedUtilWindow&) = delete;

    // A new user; the first makes the window (raising the system's error when it cannot).
    void AddUser();
    // A user gone; with the last the window goes, at once or, when a handler of it is running (one
    // that freed the last user), once that has returned.
    void RemoveUser();
    uint32_t RefCount() const { return refCount_; }
    // The window, or null while there is no user.
    HWND Handle() const { return window_ ? window_->Handle() : nullptr; }

private:
    UtilWindow::Handler handler_;
    uint32_t refCount_ = 0;
    std::unique_ptr<UtilWindow> window_;
};

}  // namespace fw
