// A borderless top-level window hosting graphic controls for the Windows tests: it fills itself
// with one colour, under its controls, and records the mouse messages no control took. Its client
// area can be rendered into a picture through WM_PRINTCLIENT.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Application.h"
#include "framework/GraphicHostWindow.h"
#include "framework/Picture.h"
#include "tests/support/Pictures.h"

namespace wintest {

class GraphicHostWindow final : public fw::GraphicHostWindow {
public:
    static constexpr COLORREF kBackground = RGB(0, 160, 0);

    GraphicHostWindow(fw::Application& app, int x, int y, int width, int height) : fw::GraphicHostWindow(app) {
        Create({.name = L"Corvalend.TestGraphicHost", .style = CS_DBLCLKS}, {.exStyle = WS_EX_TOPMOST,
                                                                             .title = u"graphic host",
                                                                             .style = WS_POPUP | WS_VISIBLE,
                                                                             .x = x,
                                                                             .y = y,
                                                                             .width = width,
                                                                             .height = height});
        UpdateWindow(Handle());
    }

    std::vector<UINT> ownMouse;  // mouse messages no control took

    // The client area as the window paints it, pixels as 0x00RRGGBB.
    fw::Picture Render() { return wintest::PrintClient(Handle()); }

    static std::uint32_t Rgb(COLORREF color) {
        return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }

protected:
    void OwnMouse(const fw::MouseEvent& event) override { ownMouse.push_back(event.message); }

    void PaintContent(HDC dc, const RECT&) override {
        RECT client{};
        GetClientRect(Handle(), &client);
        const HBRUSH brush = CreateSolidBrush(kBackground);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
};

// One shown window serves a whole suite: without a window manager Wine takes two seconds to close
// a shown window. Each test makes its own controls; the window's client area is 400 x 300 at (60, 60)
// on the screen.
class HostWindowSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GetCursorPos(&pointer_);
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        window_ = std::make_unique<GraphicHostWindow>(*app_, 60, 60, 400, 300);
    }
    static void TearDownTestSuite() {
        window_.reset();
        app_.reset();
        SetCursorPos(pointer_.x, pointer_.y);  // later tests find the pointer where it was
    }
    void SetUp() override { window_->ownMouse.clear(); }
    void TearDown() override {
        ReleaseCapture();
        // The pointer away from the window, so real moves do not reach the next test's controls.
        SetCursorPos(1200, 750);
    }

    static fw::Application& App() { return *app_; }
    static GraphicHostWindow& Window() { return *window_; }

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<GraphicHostWindow> window_;
    inline static POINT pointer_{};
};

inline LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

}  // namespace wintest
