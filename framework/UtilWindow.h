// A hidden helper window for objects that are not windows themselves (timers, tray icons): a
// zero-size tool window of popup style, class "TPUtilWindow", never shown, whose messages all go to
// one handler bound to its owner object. No error escapes the handler: it goes to the default
// error handler of the current application.
#pragma once

#include <windows.h>

#include <functional>

namespace fw {

class UtilWindow {
public:
    // The handler gets every message from the window's creation (WM_NCCREATE) on; what it does not
    // handle it passes to DefWindowProcW itself.
    using Handler = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

    // Raises the system's error when the window cannot be made.
    explicit UtilWindow(Handler handler);
    ~UtilWindow();
    UtilWindow(const UtilWindow&) = delete;
    UtilWindow& operator=(const UtilWindow&) = delete;

    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HWND hwnd_ = nullptr;
};

inline constexpr wchar_t kUtilWindowClass[] = L"TPUtilWindow";

}  // namespace fw
