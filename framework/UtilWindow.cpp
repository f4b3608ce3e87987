// The hidden helper window, and the one shared instance its users count.
#include "framework/UtilWindow.h"

namespace fw {

UtilWindow::UtilWindow(Handler handler) : handler_(std::move(handler)) {
    Create({.name = kUtilWindowClass},
           {.exStyle = WS_EX_TOOLWINDOW, .title = u"", .style = WS_POPUP, .x = 0, .y = 0, .width = 0, .height = 0});
}

LRESULT UtilWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return handler_(Handle(), message, wParam, lParam);
}

void SharedUtilWindow::AddUser() {
    if (refCount_ == 0) window_ = std::make_unique<UtilWindow>(handler_);
    ++refCount_;
}

void SharedUtilWindow::RemoveUser() {
    if (refCount_ == 0 || --refCount_ > 0) return;
    // A window freed under its own handler goes through Window::Release, which deletes it later.
    if (window_->Handling()) {
        window_.release()->Release();
    } else {
        window_.reset();
    }
}

}  // namespace fw
