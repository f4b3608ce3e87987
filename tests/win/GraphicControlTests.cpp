// Windowless controls in a real window: which control gets each mouse message, holding the mouse
// while a button is down, hover, cursors, painting with offset and clipping, invalidation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/GraphicControl.h"
#include "tests/support/WinTest.h"
#include "tests/win/GraphicHostWindow.h"

namespace {

using wintest::GraphicHostWindow;
using wintest::Point;
using Log = std::vector<std::string>;

class Probe final : public fw::GraphicControl {
public:
    Probe(fw::GraphicHost& host, COLORREF color, int left, int top, int width, int height)
        : GraphicControl(host), color_(color) {
        SetBounds(left, top, width, height);
        log.clear();
    }
    Log log;

protected:
    void Paint(HDC dc) override {
        // Far beyond the control on purpose: the host clips to the bounds.
        const RECT everything{-1000, -1000, 1000, 1000};
        const HBRUSH brush = CreateSolidBrush(color_);
        FillRect(dc, &everything, brush);
        DeleteObject(brush);
    }
    void Resize() override { log.push_back("resize"); }
    void MouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y) override {
        log.push_back("down " + Name(button) + Where(shift, x, y));
    }
    void MouseMove(fw::ShiftState shift, int x, int y) override { log.push_back("move" + Where(shift, x, y)); }
    void MouseUp(fw::MouseButton button, fw::ShiftState shift, int x, int y) override {
        log.push_back("up " + Name(button) + Where(shift, x, y));
    }
    void MouseEnter() override { log.push_back("enter"); }
    void MouseLeave() override { log.push_back("leave"); }

private:
    static std::string Name(fw::MouseButton button) {
        return button == fw::MouseButton::Left ? "L" : button == fw::MouseButton::Right ? "R" : "M";
    }
    static std::string Where(fw::ShiftState shift, int x, int y) {
        std::string text = " " + std::to_string(x) + "," + std::to_string(y);
        if (shift.Has(fw::ShiftState::Left)) text += " +L";
        if (shift.Has(fw::ShiftState::Right)) text += " +R";
        if (shift.Has(fw::ShiftState::Shift)) text += " +shift";
        if (shift.Has(fw::ShiftState::Double)) text += " +double";
        return text;
    }
    COLORREF color_;
};

struct GraphicControls : wintest::HostWindowSuite {
    GraphicHostWindow& window = Window();
    // b overlaps a and lies on top of it.
    Probe a{window.Host(), RGB(255, 0, 0), 10, 10, 100, 80};
    Probe b{window.Host(), RGB(0, 0, 255), 60, 40, 100, 80};

    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(window.Handle(), message, keys, Point(x, y)); }
};

TEST_F(GraphicControls, TopmostControlGetsTheMouseAndHoverFollows) {
    Send(WM_MOUSEMOVE, 0, 70, 50);
    EXPECT_EQ(b.log, (Log{"enter", "move 10,10"}));
    EXPECT_TRUE(a.log.empty());
    EXPECT_EQ(window.Host().MouseControl(), &b);

    b.log.clear();
    Send(WM_MOUSEMOVE, MK_SHIFT, 20, 20);
    EXPECT_EQ(b.log, Log{"leave"});
    EXPECT_EQ(a.log, (Log{"enter", "move 10,10 +shift"}));

    a.log.clear();
    Send(WM_MOUSEMOVE, 0, 250, 150);
    EXPECT_EQ(a.log, Log{"leave"});
    EXPECT_EQ(window.ownMouse, std::vector<UINT>{WM_MOUSEMOVE});

    // A hidden control and one without size are not hit; the one below gets the mouse.
    a.log.clear();
    b.Hide();
    Send(WM_MOUSEMOVE, 0, 70, 50);
    EXPECT_EQ(a.log, (Log{"enter", "move 60,40"}));
    b.Show();
    b.SetWidth(0);
    EXPECT_EQ(window.Host().ControlAt(70, 50), &a);
    EXPECT_EQ(window.Host().ControlAt(110, 50), nullptr) << "right edge is exclusive";

    // Leaving the window counts as leaving the control.
    a.log.clear();
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_EQ(a.log, Log{"leave"});
    EXPECT_EQ(window.Host().MouseControl(), nullptr);
}

TEST_F(GraphicControls, PressedControlKeepsTheMouseOutsideItsBoundsUntilTheLastRelease) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    EXPECT_EQ(a.log, (Log{"enter", "down L 10,10 +L"}));
    EXPECT_EQ(GetCapture(), window.Handle());
    EXPECT_EQ(window.Host().CaptureControl(), &a);

    a.log.clear();
    Send(WM_MOUSEMOVE, MK_LBUTTON, 250, 150);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 70, 50);  // over b, which lies on top: still a's
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, -30, -40);
    Send(WM_RBUTTONUP, MK_LBUTTON, -30, -40);
    EXPECT_EQ(GetCapture(), window.Handle()) << "the left button is still down";
    EXPECT_TRUE(b.log.empty());
    Send(WM_LBUTTONUP, 0, -30, -40);
    EXPECT_EQ(a.log, (Log{"move 240,140 +L", "move 60,40 +L", "down R -40,-50 +L +R", "up R -40,-50 +L", "up L -40,-50",
                          "leave"}))
        << "hover is settled after the release";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(window.Host().CaptureControl(), nullptr);
    EXPECT_TRUE(window.ownMouse.empty());

    // A press and release elsewhere belong to the window.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 10);
    Send(WM_LBUTTONUP, 0, 250, 10);
    EXPECT_EQ(window.ownMouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(GetCapture(), nullptr);

    // A double click reaches the control as a press marked double.
    a.log.clear();
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 20);
    Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(a.log, (Log{"enter", "down L 10,10 +L +double", "up L 10,10"}));
}

TEST_F(GraphicControls, LostCaptureEndsThePressAndParentDragsStayTheParents) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 30, 25);
    a.log.clear();
    const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetCapture(other);
    EXPECT_EQ(a.log, Log{"up L 20,15"}) << "a release at the last position";
    EXPECT_EQ(window.Host().CaptureControl(), nullptr);
    ReleaseCapture();
    DestroyWindow(other);

    // The window's own drag: messages over controls stay with the window.
    a.log.clear();
    b.log.clear();
    window.ownMouse.clear();
    SetCapture(window.Handle());
    Send(WM_MOUSEMOVE, MK_LBUTTON, 70, 50);
    Send(WM_LBUTTONUP, 0, 70, 50);
    ReleaseCapture();
    EXPECT_TRUE(a.log.empty());
    EXPECT_TRUE(b.log.empty());
    EXPECT_EQ(window.ownMouse, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONUP}));

    // A control destroyed while holding the mouse lets it go.
    {
        Probe c(window.Host(), RGB(0, 0, 0), 200, 150, 20, 20);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 205, 155);
        EXPECT_EQ(GetCapture(), window.Handle());
    }
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(window.Host().CaptureControl(), nullptr);
    Send(WM_MOUSEMOVE, 0, 205, 155);  // nothing left to route to
}

TEST_F(GraphicControls, PaintsBottomToTopClippedToEachControl) {
    const fw::Picture picture = window.Render();
    const std::uint32_t red = 0xFF0000, blue = 0x0000FF, green = GraphicHostWindow::Rgb(GraphicHostWindow::kBackground);
    EXPECT_EQ(picture.At(10, 10), red);
    EXPECT_EQ(picture.At(59, 39), red);
    EXPECT_EQ(picture.At(60, 40), blue) << "b is on top";
    EXPECT_EQ(picture.At(109, 89), blue);
    EXPECT_EQ(picture.At(159, 119), blue);
    EXPECT_EQ(picture.At(160, 119), green) << "clipped to b";
    EXPECT_EQ(picture.At(159, 120), green);
    EXPECT_EQ(picture.At(9, 10), green);
    EXPECT_EQ(picture.At(10, 9), green);

    a.BringToFront();
    b.Hide();
    EXPECT_EQ(window.Render().At(60, 40), red);
    EXPECT_EQ(window.Render().At(150, 100), green);
}

TEST_F(GraphicControls, BoundChangesRepaintOldAndNewAreasAndReportResize) {
    UpdateWindow(window.Handle());
    ValidateRect(window.Handle(), nullptr);
    a.SetLeft(30);
    EXPECT_EQ(a.log, Log{"resize"});
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(window.Handle(), &dirty, FALSE));
    EXPECT_EQ(dirty.left, 10);
    EXPECT_EQ(dirty.right, 130);
    EXPECT_EQ(dirty.top, 10);
    EXPECT_EQ(dirty.bottom, 90);

    ValidateRect(window.Handle(), nullptr);
    a.SetBounds(30, 10, 100, 80);
    EXPECT_EQ(a.log, Log{"resize"}) << "same bounds: nothing";
    EXPECT_FALSE(GetUpdateRect(window.Handle(), &dirty, FALSE));
    a.SetBounds(30, 10, -50, 80);  // inverted: nothing to show, still a change
    EXPECT_EQ(a.log, (Log{"resize", "resize"}));
    EXPECT_EQ(window.Host().ControlAt(20, 20), nullptr);
}

TEST_F(GraphicControls, CursorOfTheControlUnderTheMouse) {
    a.SetCursorId(fw::crHandPoint);
    POINT screen{20, 20};
    ClientToScreen(window.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    // Over a control without a cursor of its own the window's class cursor shows.
    screen = {150, 100};
    ClientToScreen(window.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

    // A change shows at once for the control under the mouse.
    Send(WM_MOUSEMOVE, 0, 150, 100);
    b.SetCursorId(fw::crSizeWE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
}

}  // namespace
