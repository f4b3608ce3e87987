// The selection rectangle in a real window: dragging and resizing with mouse messages and with
// real mouse input, cursors, what it paints, which setters repaint, and when its events fire.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/SizeRect.h"
#include "tests/support/WinTest.h"
#include "tests/win/GraphicHostWindow.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;
using wintest::GraphicHostWindow;
using wintest::Point;

constexpr std::uint32_t kGreen = 0x00A000;  // the host's background
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

struct SizeRectWin : wintest::HostWindowSuite {
    GraphicHostWindow& window = Window();
    TSizeRect rect{window.Host()};

    void SetUp() override {
        HostWindowSuite::SetUp();
        rect.SetBounds(50, 40, 100, 100);
    }

    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(window.Handle(), message, keys, Point(x, y)); }
    // A left-button drag in the window's client pixels, as the system reports it.
    void Drag(int fromX, int fromY, int toX, int toY) {
        Send(WM_MOUSEMOVE, 0, fromX, fromY);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, fromX, fromY);
        Send(WM_MOUSEMOVE, MK_LBUTTON, toX, toY);
        Send(WM_LBUTTONUP, 0, toX, toY);
    }
    void ExpectBounds(int left, int top, int width, int height) {
        EXPECT_EQ(rect.Left(), left);
        EXPECT_EQ(rect.Top(), top);
        EXPECT_EQ(rect.Width(), width);
        EXPECT_EQ(rect.Height(), height);
    }
    // Pixels of the rendered window inside r that are not `color`.
    static int CountOther(const fw::Picture& picture, RECT r, std::uint32_t color) {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) count += picture.At(x, y) != color;
        return count;
    }
    static int Count(const fw::Picture& picture, RECT r, std::uint32_t color) {
        return (r.right - r.left) * (r.bottom - r.top) - CountOther(picture, r, color);
    }
    void SetCursorAt(int x, int y) {
        POINT screen{x, y};
        ClientToScreen(window.Handle(), &screen);
        SetCursorPos(screen.x, screen.y);
        Send(WM_MOUSEMOVE, 0, x, y);
        SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
};

TEST_F(SizeRectWin, DraggingMovesAndBoxesResizeWithinTheLimit) {
    // Posted rather than sent, as the system delivers them.
    const HWND hwnd = window.Handle();
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, Point(100, 90));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 90));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(108, 87));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(115, 83));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, Point(115, 83));
    ASSERT_TRUE(
        wintest::WaitFor("the drag released and moved", [&] { return !rect.State().Fcapture && rect.Left() != 50; }));
    ExpectBounds(65, 33, 100, 100);
    EXPECT_EQ(GetCapture(), nullptr);

    // b = 6: the right box dragged to 3 pixels stays (3 < 12), to 12 gives a width of 12.
    rect.SetBounds(50, 40, 100, 100);
    rect.SetBoxSize(6);
    Drag(149, 90, 53, 90);
    ExpectBounds(50, 40, 100, 100);
    EXPECT_EQ(rect.State().FSizePos, spRight);
    Drag(149, 90, 62, 90);
    ExpectBounds(50, 40, 12, 100);

    // Top-left box past the width limit: only the top follows.
    rect.SetBounds(50, 40, 100, 100);
    Drag(51, 41, 145, 20);
    ExpectBounds(50, 20, 100, 120);
}

TEST_F(SizeRectWin, PressedBoxFollowsTheMouseOutsideItsBoundsAndTheWindow) {
    Send(WM_MOUSEMOVE, 0, 148, 138);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 148, 138);
    EXPECT_EQ(GetCapture(), window.Handle());
    Send(WM_MOUSEMOVE, MK_LBUTTON, 300, 200);
    ExpectBounds(50, 40, 250, 160);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 600, 450);  // beyond the window's client area
    ExpectBounds(50, 40, 550, 410);
    Send(WM_LBUTTONUP, 0, 600, 450);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(rect.State().Fcapture);
    EXPECT_FALSE(rect.State().Fmouseover) << "released outside: no longer hovered";
}

TEST_F(SizeRectWin, RightButtonNeitherMovesNorResizes) {
    Send(WM_MOUSEMOVE, 0, 51, 41);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 51, 41);
    Send(WM_MOUSEMOVE, MK_RBUTTON, 120, 120);
    EXPECT_EQ(rect.State().FSizePos, spTopLeft);
    EXPECT_EQ(rect.Cursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    Send(WM_RBUTTONUP, 0, 120, 120);
    ExpectBounds(50, 40, 100, 100);
    EXPECT_FALSE(rect.State().Fcapture);
}

TEST_F(SizeRectWin, CursorsByBoxThroughSetCursor) {
    struct Case {
        int x, y;
        const wchar_t* cursor;
    };
    const Case cases[] = {
        {52, 42, IDC_SIZENWSE},  {148, 138, IDC_SIZENWSE}, {148, 42, IDC_SIZENESW},
        {52, 138, IDC_SIZENESW}, {100, 41, IDC_SIZENS},    {100, 139, IDC_SIZENS},
        {51, 90, IDC_SIZEWE},    {149, 90, IDC_SIZEWE},    {100, 90, IDC_SIZEALL},
    };
    for (const Case& c : cases) {
        SetCursorAt(c.x, c.y);
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.cursor)) << c.x << "," << c.y;
    }
    rect.SetDefaultCursor(fw::crHandPoint);
    SetCursorAt(100, 90);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    SetCursorAt(300, 250);  // outside: the window's own cursor
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(SizeRectWin, RealMouseInputDragsTheControl) {
    SetForegroundWindow(window.Handle());
    POINT start{100, 90};
    ClientToScreen(window.Handle(), &start);
    wintest::MouseMoveTo(start.x, start.y);
    ASSERT_TRUE(wintest::WaitFor("the pointer over the rectangle", [&] { return rect.State().Fmouseover; }));
    wintest::MouseButton(start.x, start.y, true);
    ASSERT_TRUE(wintest::WaitFor("the rectangle capturing the mouse", [&] { return rect.State().Fcapture; }));
    for (int step = 1; step <= 4; ++step) {
        wintest::MouseMoveTo(start.x + 10 * step, start.y + 5 * step);
        wintest::WaitFor("the rectangle following the pointer", [&] { return rect.Left() == 50 + 10 * step; });
    }
    wintest::MouseButton(start.x + 40, start.y + 20, false);
    ASSERT_TRUE(wintest::WaitFor("the drag released", [&] { return !rect.State().Fcapture; }));
    ExpectBounds(90, 60, 100, 100);
    EXPECT_EQ(rect.State().FSizePos, spNone);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeRectWin, PaintsFrameBoxesAndLetsTheParentShowThrough) {
    fw::Picture picture = window.Render();
    // Defaults: black frame on the bounds, white inside, eight black-and-white boxes.
    EXPECT_EQ(picture.At(50, 40), kBlack);
    EXPECT_EQ(picture.At(149, 139), kBlack);
    EXPECT_EQ(picture.At(150, 140), kGreen);
    EXPECT_EQ(picture.At(49, 40), kGreen);
    EXPECT_EQ(picture.At(100, 90), kWhite);
    EXPECT_EQ(picture.At(54, 44), kBlack) << "corner box outline";
    EXPECT_EQ(picture.At(52, 42), kWhite) << "corner box inside";
    EXPECT_EQ(picture.At(98, 44), kBlack) << "top box (98..101) bottom edge";
    EXPECT_EQ(picture.At(102, 44), kWhite) << "top box is 4 wide with b = 5";

    // As the capture window sets it: hollow brush, dotted dark-grey pen, box size 6.
    rect.SetNormalBrush(fw::Brush::Hollow());
    rect.SetNormalPen(fw::Pen(PS_DOT, 1, RGB(0x33, 0x33, 0x33)));
    rect.SetBoxSize(6);
    picture = window.Render();
    EXPECT_EQ(picture.At(100, 90), kGreen) << "the parent shows through the inside";
    const RECT topEdge{60, 40, 95, 41};  // between the corner box and the top box
    EXPECT_GT(Count(picture, topEdge, 0x333333), 5);
    EXPECT_GT(Count(picture, topEdge, kGreen), 5) << "and through the gaps of the dots";
    EXPECT_EQ(Count(picture, topEdge, 0x333333) + Count(picture, topEdge, kGreen), 35);
    EXPECT_EQ(picture.At(55, 45), kBlack) << "boxes keep their own pen";
    EXPECT_EQ(picture.At(52, 42), kWhite);

    rect.HideBoxesPermanently();
    picture = window.Render();
    EXPECT_EQ(picture.At(52, 42), kGreen);
    // ShowBoxes draws on the window at once, without a repaint.
    UpdateWindow(window.Handle());
    const HDC screen = GetDC(window.Handle());
    EXPECT_EQ(GetPixel(screen, 52, 42), GraphicHostWindow::kBackground);
    rect.ShowBoxes();
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(window.Handle(), &dirty, FALSE));
    EXPECT_EQ(GetPixel(screen, 52, 42), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(screen, 55, 45), RGB(0, 0, 0));
    ReleaseDC(window.Handle(), screen);
    EXPECT_EQ(window.Render().At(52, 42), kWhite);

    rect.Hide();
    EXPECT_EQ(CountOther(window.Render(), RECT{0, 0, 400, 300}, kGreen), 0);
}

TEST_F(SizeRectWin, CentreMarksAsDrawn) {
    // The control's centre is (50, 50), at (100, 90) in the window.
    const RECT column{100, 70, 101, 111};
    const RECT row{80, 90, 121, 91};
    rect.SetCenterMark(cmCross);
    fw::Picture picture = window.Render();
    EXPECT_EQ(Count(picture, column, kBlack), 5);
    EXPECT_EQ(Count(picture, row, kBlack), 5);
    EXPECT_EQ(picture.At(100, 88), kBlack);
    EXPECT_EQ(picture.At(100, 92), kBlack);
    rect.SetCenterMarkRadius(4);
    EXPECT_EQ(Count(window.Render(), column, kBlack), 5) << "an even radius draws one more pixel";
    rect.SetCenterMarkRadius(100);
    EXPECT_EQ(Count(window.Render(), column, kBlack), 0) << "a radius as large as the frame: no mark";

    // A custom picture: its bottom-left pixel's colour lets the control show through.
    fw::Picture mark(10, 8, 0xFF0000);
    mark.At(0, 7) = 0x0000FF;
    mark.At(5, 3) = 0x0000FF;
    rect.SetCustomCenterMark(mark);
    rect.SetCenterMarkRadius(5);
    rect.SetCenterMark(cmCustom);
    picture = window.Render();
    EXPECT_EQ(Count(picture, RECT{95, 86, 105, 94}, 0xFF0000), 78);
    EXPECT_EQ(picture.At(95, 93), kWhite);
    EXPECT_EQ(picture.At(100, 89), kWhite);
    EXPECT_EQ(picture.At(94, 90), kWhite);
}

TEST_F(SizeRectWin, InformationTextOnlyWhenItFits) {
    rect.SetBoxSize(6);
    rect.SetBounds(50, 40, 200, 100);
    rect.SetDisplayInfo(true);
    // Inside the frame and clear of the boxes, everything but the text is white.
    const RECT inside{57, 47, 243, 133};
    const int withText = CountOther(window.Render(), inside, kWhite);
    EXPECT_GT(withText, 20);
    rect.SetDisplayInfo(false);
    EXPECT_EQ(CountOther(window.Render(), inside, kWhite), 0);

    // The text changes with the bounds; two lines take more room than one.
    rect.SetDisplayInfo(true);
    rect.SetDisplayInfoFormat(u"%w\r\n%h");
    const int twoLines = CountOther(window.Render(), inside, kWhite);
    EXPECT_GT(twoLines, 0);
    EXPECT_LT(twoLines, withText);

    // Too narrow for the text: nothing at all, not a clipped part.
    rect.SetDisplayInfoFormat(u"w: %w h: %h l: %l t: %t");
    rect.SetBounds(50, 40, 60, 100);
    EXPECT_EQ(CountOther(window.Render(), RECT{57, 47, 103, 133}, kWhite), 0);
    rect.SetBounds(50, 40, 200, 24);
    EXPECT_EQ(CountOther(window.Render(), RECT{57, 47, 243, 58}, kWhite), 0);
}

TEST_F(SizeRectWin, HighlightWhileHoveredAndWhichSettersRepaint) {
    rect.SetActiveBrush(fw::Brush(RGB(255, 0, 0)));
    rect.SetActiveAnimation(true);
    EXPECT_EQ(window.Render().At(100, 90), kWhite);
    Send(WM_MOUSEMOVE, 0, 100, 90);
    EXPECT_TRUE(rect.State().Fmouseover);
    EXPECT_EQ(window.Render().At(100, 90), 0xFF0000u);
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_FALSE(rect.State().Fmouseover);
    EXPECT_EQ(window.Render().At(100, 90), kWhite);

    auto repaints = [&](const std::function<void()>& change) {
        UpdateWindow(window.Handle());
        ValidateRect(window.Handle(), nullptr);
        change();
        RECT dirty{};
        return GetUpdateRect(window.Handle(), &dirty, FALSE) != FALSE;
    };
    EXPECT_TRUE(repaints([&] { rect.SetNormalPen(fw::Pen(PS_SOLID, 2, RGB(1, 2, 3))); }));
    EXPECT_TRUE(repaints([&] { rect.SetNormalBoxBrush(fw::Brush(RGB(1, 2, 3))); }));
    EXPECT_TRUE(repaints([&] { rect.SetActiveDisplayFont(fw::Font(L"Tahoma", 10, RGB(0, 0, 0))); }));
    EXPECT_TRUE(repaints([&] { rect.SetCenterMarkRadius(7); }));
    EXPECT_TRUE(repaints([&] { rect.SetAutoHideBoxes(true); }));
    EXPECT_FALSE(repaints([&] { rect.SetActivePen(fw::Pen(PS_SOLID, 3, RGB(1, 2, 3))); }));
    EXPECT_FALSE(repaints([&] { rect.SetActiveBoxBrush(fw::Brush(RGB(9, 9, 9))); }));
    EXPECT_FALSE(repaints([&] { rect.SetDefaultCursor(fw::crArrow); }));
    // The control keeps its own copy of a tool.
    fw::Pen pen(PS_DOT, 1, RGB(7, 7, 7));
    rect.SetNormalPen(pen);
    pen = fw::Pen(PS_SOLID, 4, RGB(8, 8, 8));
    EXPECT_EQ(rect.NormalPen().Color(), RGB(7, 7, 7));
    EXPECT_NE(rect.NormalPen().Handle(), pen.Handle());
}

TEST_F(SizeRectWin, EventsFireAfterTheControlsOwnHandling) {
    std::vector<std::string> seen;
    rect.OnMouseDown = [&](TSizeRect& sender, fw::MouseButton button, fw::ShiftState, int x, int y) {
        seen.push_back("down " + std::to_string(x) + "," + std::to_string(y) +
                       (sender.State().Fcapture ? " captured" : "") +
                       (button == fw::MouseButton::Left ? " L" : " other"));
    };
    rect.OnMouseMove = [&](TSizeRect& sender, fw::ShiftState, int x, int y) {
        seen.push_back("move " + std::to_string(x) + "," + std::to_string(y) + " at " + std::to_string(sender.Left()));
    };
    rect.OnMouseUp = [&](TSizeRect& sender, fw::MouseButton, fw::ShiftState, int, int) {
        seen.push_back(std::string("up") + (sender.State().Fcapture ? " captured" : ""));
    };
    rect.OnMouseEnter = [&](TSizeRect& sender) { seen.push_back(sender.State().Fmouseover ? "enter over" : "enter"); };
    rect.OnMouseLeave = [&](TSizeRect& sender) { seen.push_back(sender.State().Fmouseover ? "leave over" : "leave"); };
    rect.OnResize = [&](TSizeRect& sender) { seen.push_back("resize " + std::to_string(sender.Left())); };
    int paints = 0;
    rect.OnPaint = [&](TSizeRect&) { ++paints; };

    Drag(100, 90, 110, 90);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter over", "move 50,50 at 50", "down 50,50 captured L", "resize 60",
                                              "move 60,50 at 60", "up"}));
    window.Render();
    EXPECT_EQ(paints, 1);
}

}  // namespace
