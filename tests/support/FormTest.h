// Helpers of the tests of forms: a script that drives a modal loop from the inside, typing, DPI
// changes and rectangles.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "tests/support/WinTest.h"

// Found by the assertions through the rectangles' own (global) namespace.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace wintest {

// A suite whose tests share one application, titled as the program is, made before the first test
// and gone after the last.
class ProgramSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        app_->SetTitle(u"Corvalend");
    }
    static void TearDownTestSuite() { app_.reset(); }
    static fw::Application& App() { return *app_; }

    inline static std::unique_ptr<fw::Application> app_;
};

// Steps run one after another on a thread timer of the test's own thread while the code under test
// sits in its loop; they inject real input and look at the windows directly. Each step waits for
// what it needs:
//
//     script.When("the wizard in front", [&] { return Active(wizard); }, [] { PressCombination(0, VK_TAB); })
//         .When("the WIN box focused", [&] { return wizard.ShiftKeyWin.Focused(); }, [] { ... })
//         .Then([&] { ... });  // what the step before caused has been handled
//
// A step waits in vain at most the patience, then the test fails naming what never came and the
// script goes on. When the loop is still running that long after the last step, the abort step
// ends it so that a failing test cannot hang.
class ModalScript {
public:
    using Step = std::function<void()>;

    // Runs `step` once this thread has handled what the earlier steps put into its queue (key
    // presses, posted messages, repaints): the system makes a timer message only when no other
    // message waits.
    ModalScript& Then(Step step) { return When({}, nullptr, std::move(step)); }

    // Runs `step` once `ready` holds, checked at every tick; `what` names it when it never does.
    ModalScript& When(std::string what, std::function<bool()> ready, Step step) {
        steps_.push_back({std::move(what), std::move(ready), std::move(step)});
        return *this;
    }

    // Starts the timer; `abort` ends the modal loop if the steps did not.
    void Start(Step abort) {
        abort_ = std::move(abort);
        current_ = this;
        since_ = std::chrono::steady_clock::now();
        timer_ = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &ModalScript::Tick);
    }

    ~ModalScript() {
        if (timer_ != 0) KillTimer(nullptr, timer_);
        if (current_ == this) current_ = nullptr;
    }

    bool Done() const { return next_ == steps_.size(); }

private:
    struct Entry {
        std::string what;
        std::function<bool()> ready;
        Step step;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ != nullptr) current_->Run();
    }

    void Run() {
        const auto now = std::chrono::steady_clock::now();
        const bool late = now - since_ > kPatience;
        if (next_ < steps_.size()) {
            const Entry& entry = steps_[next_];
            if (entry.ready && !entry.ready()) {
                if (!late) return;
                ADD_FAILURE() << "a scripted step waited " << kPatience.count() / 1000 << " s in vain for "
                              << entry.what;
            }
            since_ = now;
            Step step = steps_[next_++].step;  // a copy: the step may end the loop and the script
            step();
        } else if (late && !aborted_) {
            aborted_ = true;
            ADD_FAILURE() << "the modal loop did not end after the last step";
            if (abort_) abort_();
        }
    }

    std::vector<Entry> steps_;
    size_t next_ = 0;
    Step abort_;
    bool aborted_ = false;
    UINT_PTR timer_ = 0;
    std::chrono::steady_clock::time_point since_;
    inline static ModalScript* current_ = nullptr;
};

// The form is shown, active and holds the keyboard focus: keys pressed now reach it.
inline bool InFront(const fw::Form& form) {
    const HWND focus = GetFocus();
    return form.Visible() && GetActiveWindow() == form.Handle() && focus != nullptr &&
           (focus == form.Handle() || IsChild(form.Handle(), focus));
}

// Runs the application's own loop (hooks and the forms' keyboard navigation included) until the
// condition holds; false when it did not within the time.
inline bool PumpAppUntil(fw::Application& app,
                         const std::function<bool()>& condition,
                         std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            app.ProcessMessage();
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Types text as a user would, one character at a time through the system's input queue.
inline void TypeText(const std::u16string& text) {
    std::vector<INPUT> inputs;
    for (const char16_t c : text) {
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

// Within one pixel on every edge of the 96-DPI rectangle scaled for `dpi`.
inline void ExpectScaled(const RECT& actual, const RECT& at96, UINT dpi, const char* what) {
    const RECT expected{fw::ScaleForDpi(at96.left, dpi), fw::ScaleForDpi(at96.top, dpi),
                        fw::ScaleForDpi(at96.right, dpi), fw::ScaleForDpi(at96.bottom, dpi)};
    const bool close = std::abs(actual.left - expected.left) <= 1 && std::abs(actual.top - expected.top) <= 1 &&
                       std::abs(actual.right - expected.right) <= 1 && std::abs(actual.bottom - expected.bottom) <= 1;
    EXPECT_TRUE(close) << what << " at " << dpi << " DPI: " << actual << ", expected about " << expected;
}

inline LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
}

// Sends the DPI change the system sends when the form moves to a monitor with `dpi`.
inline void ChangeDpi(fw::Form& form, UINT dpi, int clientWidth96, int clientHeight96) {
    RECT suggested{0, 0, fw::ScaleForDpi(clientWidth96, dpi), fw::ScaleForDpi(clientHeight96, dpi)};
    AdjustWindowRectExForDpi(&suggested, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE)), dpi);
    OffsetRect(&suggested, 50 - suggested.left, 50 - suggested.top);
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace wintest
