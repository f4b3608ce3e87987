// The shared hidden window: made with its first object, routing the kind's message by number, gone
// with its last object.
#include "framework/HiddenWindow.h"

#include <windows.h>

#include <utility>

#include "framework/Window.h"

namespace fw {

class HiddenWindow::SystemWindow final : public Window {
public:
    explicit SystemWindow(HiddenWindow& owner) : owner_(&owner) {
        Create({.name = kHiddenWindowClass},
               {.exStyle = WS_EX_TOOLWINDOW, .title = u"", .style = WS_POPUP, .x = 0, .y = 0, .width = 0, .height = 0});
    }
    // Let go of while one of its handlers runs: it goes later, and routes nothing meanwhile.
    void Detach() { owner_ = nullptr; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (owner_ != nullptr && owner_->message_ != 0 && message == owner_->message_) {
            owner_->Route(wParam, lParam);
            return 0;
        }
        if (message == WM_CLOSE) return 0;
        return DefaultProc(message, wParam, lParam);
    }

private:
    HiddenWindow* owner_;
};

HiddenWindow::HiddenWindow(uint32_t message, NumberOf numberOf) : message_(message), numberOf_(numberOf) {}

HiddenWindow::~HiddenWindow() = default;

HiddenWindow::Member::Member(Member&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), number_(std::exchange(other.number_, 0)) {}

HiddenWindow::Member& HiddenWindow::Member::operator=(Member&& other) noexcept {
    if (this != &other) {
        Leave();
        window_ = std::exchange(other.window_, nullptr);
        number_ = std::exchange(other.number_, 0);
    }
    return *this;
}

void HiddenWindow::Member::Leave() noexcept {
    if (window_ != nullptr) std::exchange(window_, nullptr)->Remove(std::exchange(number_, 0));
}

void HiddenWindow::MakeWindow() {
    if (!window_) window_ = std::make_unique<SystemWindow>(*this);
}

namespace {

HiddenWindow::MessageHandler TakingLParam(HiddenWindow::Handler handler) {
    if (!handler) return nullptr;
    return [handler = std::move(handler)](uintptr_t, intptr_t lParam) { handler(lParam); };
}

}  // namespace

HiddenWindow::Member HiddenWindow::Add(Handler handler) {
    return Add(TakingLParam(std::move(handler)));
}

HiddenWindow::Member HiddenWindow::Add(MessageHandler handler) {
    MakeWindow();
    return Member(*this, objects_.Add(std::move(handler)));
}

HiddenWindow::Member HiddenWindow::Add(uint32_t number, Handler handler) {
    MakeWindow();
    if (!objects_.Add(number, TakingLParam(std::move(handler)))) {
        if (objects_.Count() == 0) window_.reset();
        return {};
    }
    return Member(*this, number);
}

HWND HiddenWindow::Handle() const {
    return window_ ? window_->Handle() : nullptr;
}

void HiddenWindow::Remove(uint32_t number) noexcept {
    objects_.Remove(number);
    if (objects_.Count() > 0 || !window_) return;
    // A window freed under its own handler goes through Window::Release, which deletes it later.
    if (window_->Handling()) {
        window_->Detach();
        window_.release()->Release();
    } else {
        window_.reset();
    }
}

void HiddenWindow::Route(uintptr_t wParam, intptr_t lParam) const {
    const uint64_t number = numberOf_ != nullptr ? numberOf_(wParam, lParam) : wParam;
    const MessageHandler* found = objects_.Find(number);
    if (found == nullptr || !*found) return;
    // A copy: the handler may free its object (the last one takes the window with it).
    const MessageHandler handler = *found;
    handler(wParam, lParam);
}

}  // namespace fw
