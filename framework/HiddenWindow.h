// A hidden window shared by the objects of one kind that are not windows themselves but hear from
// the system through one (timers, tray icons and the like): a zero-size tool window of popup style,
// class "TPUtilWindow", never shown, made when the first object comes and gone with the last. Each
// object has a number on it. The kind's message (WM_TIMER, say) names its object by that number in
// wParam, as the system carries a timer's or a tray icon's identifier, and goes to that object's
// handler with its lParam; whatever loop takes a posted message from the queue (a modal one, a
// message box's) dispatches it there. A number no object has is dropped, the other messages get the
// system's default handling, and WM_CLOSE is ignored: the window goes only with its last object. No
// error escapes a handler: it goes to the default error handler of the current application.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/ObjectIds.h"

struct HWND__;  // the system's window handle (HWND), declared by <windows.h>

namespace fw {

inline constexpr wchar_t kHiddenWindowClass[] = L"TPUtilWindow";

class HiddenWindow {
public:
    using Handler = std::function<void(intptr_t lParam)>;
    // For kinds whose message tells more than its lParam: the handler gets both parameters.
    using MessageHandler = std::function<void(uintptr_t wParam, intptr_t lParam)>;
    // The object a message names, for kinds that do not name it by wParam.
    using NumberOf = uint64_t (*)(uintptr_t wParam, intptr_t lParam);

    // `message` is the kind's message; 0 for objects that only need a window to own what they show
    // (popup menus). `numberOf` finds the object a message is for; null: wParam names it.
    explicit HiddenWindow(uint32_t message, NumberOf numberOf = nullptr);
    // Its objects have gone before it.
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    // An object's place on the window, for the object's life (move-only). The last to go takes the
    // window with it: at once or, while a handler of the window runs (one that freed its own
    // object), once that has returned.
    class Member {
    public:
        Member() = default;
        Member(Member&& other) noexcept;
        Member& operator=(Member&& other) noexcept;
        ~Member() { Leave(); }
        Member(const Member&) = delete;
        Member& operator=(const Member&) = delete;

        // Its number on the window; 0 for an empty member.
        uint32_t Number() const { return number_; }
        explicit operator bool() const { return window_ != nullptr; }

    private:
        friend class HiddenWindow;
        Member(HiddenWindow& window, uint32_t number) : window_(&window), number_(number) {}
        void Leave() noexcept;

        HiddenWindow* window_ = nullptr;
        uint32_t number_ = 0;
    };

    // A new object, numbered by the window. The first makes the window (raising the system's error
    // when it cannot).
    [[nodiscard]] Member Add(Handler handler);
    [[nodiscard]] Member Add(MessageHandler handler);
    // An object the system numbers (by a global atom, say); an empty member when the number is 0 or
    // in use.
    [[nodiscard]] Member Add(uint32_t number, Handler handler);

    // The window, or null while there is no object.
    HWND__* Handle() const;
    // The objects on it.
    size_t Count() const { return objects_.Count(); }

private:
    class SystemWindow;
    void MakeWindow();
    void Remove(uint32_t number) noexcept;
    void Route(uintptr_t wParam, intptr_t lParam) const;

    const uint32_t message_;
    const NumberOf numberOf_;
    ObjectIds<MessageHandler> objects_;
    std::unique_ptr<SystemWindow> window_;
};

}  // namespace fw
