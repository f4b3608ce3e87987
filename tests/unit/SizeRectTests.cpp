// The selection rectangle's geometry, text rules and drag state machine, against a recording control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/SizeRectLogic.h"

using namespace corvalend;

namespace {

using fw::Rect;
using fw::ShiftState;

// Records every change the logic asks for, as "L=25", "T=3", "W=40", "H=12".
class RecordingControl final : public SizeRectControl {
public:
    int left = 10, top = 10, width = 100, height = 100;
    fw::CursorId cursor = fw::crDefault;
    int repaints = 0;
    std::vector<std::string> changes;

    int Left() const override { return left; }
    int Top() const override { return top; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetLeft(int v) override { Change("L", left, v); }
    void SetTop(int v) override { Change("T", top, v); }
    void SetWidth(int v) override { Change("W", width, v); }
    void SetHeight(int v) override { Change("H", height, v); }
    void SetCursor(fw::CursorId c) override { cursor = c; }
    void Repaint() override { ++repaints; }

private:
    void Change(const char* name, int& field, int value) {
        changes.push_back(std::string(name) + "=" + std::to_string(value));
        field = value;
    }
};

struct SizeRect : ::testing::Test {
    RecordingControl control;
    SizeRectLogic logic{control};

    // A press, one move with the given shift state and a release, all in control pixels at the time.
    void Drag(int fromX, int fromY, int toX, int toY, ShiftState shift = ShiftState::Left) {
        logic.MouseMove({}, fromX, fromY);
        logic.MouseDown(fromX, fromY);
        logic.MouseMove(shift, toX, toY);
        logic.MouseUp();
    }
};

TEST_F(SizeRect, NewControlDefaults) {
    EXPECT_EQ(logic.FBoxSize, 5);
    EXPECT_EQ(logic.FBoxPos, dbpInside);
    EXPECT_EQ(logic.FCenterMark, cmNone);
    EXPECT_EQ(logic.FSizePos, spNone);
    EXPECT_EQ(logic.FRadius, 5);
    EXPECT_EQ(logic.FDefaultCursor, fw::crSizeAll);
    EXPECT_EQ(logic.FDefaultCursor, -22);
    EXPECT_TRUE(logic.FShowBoxes);
    EXPECT_FALSE(logic.Fcapture || logic.Fmouseover || logic.FDisplayInfo || logic.FAutoHideBoxes ||
                 logic.FActiveAnimation || logic.FActiveBoxAnimation);
    EXPECT_EQ(logic.InfoText(), u"w: 100 h: 100 l: 10 t: 10");
}

TEST_F(SizeRect, FramePositionAndSizeFollowBoxPos) {
    control.left = 20;
    control.top = 30;
    control.width = 120;
    control.height = 80;
    logic.FBoxSize = 5;

    EXPECT_EQ(FrameRect(120, 80, 5, dbpInside), (Rect{0, 0, 120, 80}));
    EXPECT_EQ(logic.RectLeft(), 20);
    EXPECT_EQ(logic.RectWidth(), 120);

    logic.FBoxPos = dbpMiddle;
    EXPECT_EQ(FrameRect(120, 80, 5, dbpMiddle), (Rect{2, 2, 118, 78}));
    EXPECT_EQ(logic.RectLeft(), 22);
    EXPECT_EQ(logic.RectTop(), 32);
    // The reported size is the control's less one box, although the frame drawn is 116 wide.
    EXPECT_EQ(logic.RectWidth(), 115);
    EXPECT_EQ(logic.RectHeight(), 75);

    logic.FBoxPos = dbpOutside;
    EXPECT_EQ(FrameRect(120, 80, 5, dbpOutside), (Rect{5, 5, 115, 75}));
    EXPECT_EQ(logic.RectLeft(), 25);
    EXPECT_EQ(logic.RectTop(), 35);
    EXPECT_EQ(logic.RectWidth(), 110);
    EXPECT_EQ(logic.RectHeight(), 70);
    EXPECT_EQ(logic.Center(), (fw::Point{55, 35}));

    logic.FDisplayInfoFormat = u"%W x %H";
    EXPECT_EQ(logic.InfoText(), u"110 x 70");
}

TEST(SizeRectText, PlaceholdersIgnoreCaseAndKeepTheRest) {
    EXPECT_EQ(FormatInfoText(u"w: %w h: %h l: %l t: %t", 100, 100, 10, 10), u"w: 100 h: 100 l: 10 t: 10");
    EXPECT_EQ(FormatInfoText(u"%L,%T %w%W", 1, 2, -3, -4), u"-3,-4 11");
    EXPECT_EQ(FormatInfoText(u"%%w %x % %", 7, 0, 0, 0), u"%7 %x % %");
    EXPECT_EQ(FormatInfoText(u"%h\r\n%w", 3, 4, 0, 0), u"4\r\n3");
    EXPECT_EQ(FormatInfoText(u"", 3, 4, 0, 0), u"");
}

TEST(SizeRectText, LinesBreakAtCrLfAndCrLf) {
    using Lines = std::vector<std::u16string>;
    EXPECT_EQ(SplitLines(u""), Lines{});
    EXPECT_EQ(SplitLines(u"one"), Lines{u"one"});
    EXPECT_EQ(SplitLines(u"a\r\nb\nc\rd"), (Lines{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(SplitLines(u"a\r\n"), Lines{u"a"});
    EXPECT_EQ(SplitLines(u"a\n\rb"), (Lines{u"a", u"", u"b"}));
    EXPECT_EQ(SplitLines(u"\n\n"), (Lines{u"", u""}));
}

TEST(SizeRectText, TextIsDrawnWhollyOrNotAtAll) {
    // Two lines of 13 pixels, widest 60, whole text 70 wide; b = 5, pen width 1: margin 14.
    const InfoTextMetrics text{.lineCount = 2, .textHeight = 13, .widestLine = 60, .wholeWidth = 70};
    EXPECT_EQ(InfoTextRect(text, 75, 41, 5, 1), (Rect{12, 7, 82, 33}));
    EXPECT_FALSE(InfoTextRect(text, 74, 41, 5, 1)) << "60 + 14 < 74 is false";
    EXPECT_FALSE(InfoTextRect(text, 75, 40, 5, 1)) << "26 + 14 < 40 is false";
    EXPECT_FALSE(InfoTextRect(text, 75, 41, 5, 2)) << "a wider pen needs more room";
    EXPECT_EQ(InfoTextRect(text, 200, 200, 6, 2), (Rect{16, 10, 86, 36}));
}

TEST(SizeRectGeometry, BoxesSitAtTheEdgesWithNarrowerMiddleBoxesForOddSizes) {
    const auto boxes = BoxRects(100, 60, 5);
    EXPECT_EQ(boxes[spTopLeft], (Rect{0, 0, 5, 5}));
    EXPECT_EQ(boxes[spTop], (Rect{48, 0, 52, 5}));
    EXPECT_EQ(boxes[spTopRight], (Rect{95, 0, 100, 5}));
    EXPECT_EQ(boxes[spLeft], (Rect{0, 28, 5, 32}));
    EXPECT_EQ(boxes[spRight], (Rect{95, 28, 100, 32}));
    EXPECT_EQ(boxes[spBottomLeft], (Rect{0, 55, 5, 60}));
    EXPECT_EQ(boxes[spBottom], (Rect{48, 55, 52, 60}));
    EXPECT_EQ(boxes[spBottomRight], (Rect{95, 55, 100, 60}));
    EXPECT_EQ(BoxRects(100, 60, 6)[spTop], (Rect{47, 0, 53, 6}));
}

TEST(SizeRectGeometry, HitZonesAndTheirOrder) {
    // b = 5: the top-left zone reaches x = 5 (six pixels of the control), the bottom-right one
    // starts at W - 5.
    for (int x = 0; x <= 5; ++x) EXPECT_EQ(SizePosAt(x, 0, 100, 100, 5), spTopLeft) << x;
    EXPECT_EQ(SizePosAt(6, 0, 100, 100, 5), spNone);
    EXPECT_EQ(SizePosAt(5, 5, 100, 100, 5), spTopLeft);
    EXPECT_EQ(SizePosAt(95, 95, 100, 100, 5), spBottomRight);
    EXPECT_EQ(SizePosAt(94, 99, 100, 100, 5), spNone);
    EXPECT_EQ(SizePosAt(0, 95, 100, 100, 5), spBottomLeft);
    EXPECT_EQ(SizePosAt(99, 5, 100, 100, 5), spTopRight);
    EXPECT_EQ(SizePosAt(3, 45, 100, 100, 5), spLeft);
    EXPECT_EQ(SizePosAt(3, 56, 100, 100, 5), spNone);
    EXPECT_EQ(SizePosAt(96, 50, 100, 100, 5), spRight);
    EXPECT_EQ(SizePosAt(55, 2, 100, 100, 5), spTop);
    EXPECT_EQ(SizePosAt(45, 99, 100, 100, 5), spBottom);
    EXPECT_EQ(SizePosAt(50, 50, 100, 100, 5), spNone);
    EXPECT_TRUE(IsOverBox({-5, 5}, {0, 0}, 5));
    EXPECT_FALSE(IsOverBox({-6, 0}, {0, 0}, 5));
    // Where zones overlap on a small control the earlier anchor wins: corners before edges, and
    // top-left, bottom-right, bottom-left, top-right in that order.
    EXPECT_EQ(SizePosAt(5, 5, 10, 10, 5), spTopLeft);
    EXPECT_EQ(SizePosAt(6, 6, 10, 10, 5), spBottomRight);
    EXPECT_EQ(SizePosAt(4, 6, 10, 10, 5), spBottomLeft);
    EXPECT_EQ(SizePosAt(6, 4, 10, 10, 5), spTopRight);
    EXPECT_EQ(SizePosAt(4, 20, 10, 40, 5), spLeft);
    EXPECT_EQ(SizePosAt(20, 4, 40, 10, 5), spTop);
}

TEST(SizeRectGeometry, CursorsByBox) {
    EXPECT_EQ(CursorForSizePos(spTopLeft, fw::crSizeAll), fw::crSizeNWSE);
    EXPECT_EQ(CursorForSizePos(spBottomRight, fw::crSizeAll), -8);
    EXPECT_EQ(CursorForSizePos(spTop, fw::crSizeAll), -7);
    EXPECT_EQ(CursorForSizePos(spBottom, fw::crSizeAll), -7);
    EXPECT_EQ(CursorForSizePos(spTopRight, fw::crSizeAll), -6);
    EXPECT_EQ(CursorForSizePos(spBottomLeft, fw::crSizeAll), -6);
    EXPECT_EQ(CursorForSizePos(spLeft, fw::crSizeAll), -9);
    EXPECT_EQ(CursorForSizePos(spRight, fw::crSizeAll), -9);
    EXPECT_EQ(CursorForSizePos(spNone, fw::crHandPoint), fw::crHandPoint);
}

TEST(SizeRectGeometry, CentreMarks) {
    // A cross is R pixels long for an odd R and R + 1 for an even one, centred on (50, 30).
    auto cross = CenterMarkGeometry(cmCross, 100, 60, 5, 5, 1, 0, 0);
    ASSERT_EQ(cross.kind, CenterMarkShape::Lines);
    ASSERT_EQ(cross.lines.size(), 2u);
    EXPECT_EQ(cross.lines[0].first, (fw::Point{50, 28}));
    EXPECT_EQ(cross.lines[0].second, (fw::Point{50, 33}));  // 28..32 drawn: 5 pixels
    EXPECT_EQ(cross.lines[1].first, (fw::Point{48, 30}));
    EXPECT_EQ(cross.lines[1].second, (fw::Point{53, 30}));
    cross = CenterMarkGeometry(cmCross, 100, 60, 4, 5, 1, 0, 0);
    EXPECT_EQ(cross.lines[0].first, (fw::Point{50, 28}));
    EXPECT_EQ(cross.lines[0].second, (fw::Point{50, 33}));  // also 5 pixels
    EXPECT_EQ(cross.lines[1].second.x - cross.lines[1].first.x, 5);

    // R = 20: 20 / sqrt(2) = 14.14, nearest 14, h = 7; a thin pen reaches one pixel further.
    auto x = CenterMarkGeometry(cmXMark, 100, 60, 20, 5, 1, 0, 0);
    ASSERT_EQ(x.kind, CenterMarkShape::Lines);
    EXPECT_EQ(x.lines[0].first, (fw::Point{43, 22}));
    EXPECT_EQ(x.lines[0].second, (fw::Point{58, 37}));
    EXPECT_EQ(x.lines[1].first, (fw::Point{57, 22}));
    EXPECT_EQ(x.lines[1].second, (fw::Point{42, 37}));
    x = CenterMarkGeometry(cmXMark, 100, 60, 20, 5, 3, 0, 0);
    EXPECT_EQ(x.lines[0].first, (fw::Point{43, 23}));
    EXPECT_EQ(x.lines[0].second, (fw::Point{57, 37}));
    // R = 11: 7.78 rounds to 8 (not truncated to 7), h = 4.
    x = CenterMarkGeometry(cmXMark, 100, 60, 11, 5, 2, 0, 0);
    EXPECT_EQ(x.lines[0].first, (fw::Point{46, 26}));

    auto circle = CenterMarkGeometry(cmCircle, 101, 61, 5, 5, 1, 0, 0);
    EXPECT_EQ(circle.kind, CenterMarkShape::Ellipse);
    EXPECT_EQ(circle.rect, (Rect{48, 28, 52, 32}));
    EXPECT_EQ(CenterMarkGeometry(cmSquare, 101, 61, 5, 5, 1, 0, 0).kind, CenterMarkShape::Rectangle);
    EXPECT_EQ(CenterMarkGeometry(cmNone, 101, 61, 5, 5, 1, 0, 0).kind, CenterMarkShape::None);

    // A custom picture must be smaller than the control less three boxes on both axes.
    auto custom = CenterMarkGeometry(cmCustom, 100, 60, 5, 5, 1, 15, 9);
    EXPECT_EQ(custom.kind, CenterMarkShape::Image);
    EXPECT_EQ(custom.rect, (Rect{43, 26, 58, 35}));
    EXPECT_EQ(CenterMarkGeometry(cmCustom, 100, 60, 5, 5, 1, 84, 44).kind, CenterMarkShape::Image);
    EXPECT_EQ(CenterMarkGeometry(cmCustom, 100, 60, 5, 5, 1, 85, 9).kind, CenterMarkShape::None);
    EXPECT_EQ(CenterMarkGeometry(cmCustom, 100, 60, 5, 5, 1, 15, 45).kind, CenterMarkShape::None);
    EXPECT_EQ(CenterMarkGeometry(cmCustom, 100, 60, 5, 5, 1, 0, 0).kind, CenterMarkShape::None);

    EXPECT_TRUE(CenterMarkFits(5, 6, 6));
    EXPECT_FALSE(CenterMarkFits(5, 5, 100));
    EXPECT_FALSE(CenterMarkFits(5, 100, 5));
}

TEST_F(SizeRect, DragInsideMovesByTheMouseAndKeepsTheSize) {
    logic.MouseMove({}, 50, 50);
    EXPECT_EQ(logic.FSizePos, spNone);
    EXPECT_EQ(control.cursor, fw::crSizeAll);
    logic.MouseDown(50, 50);
    EXPECT_TRUE(logic.Fcapture);
    logic.MouseMove(ShiftState::Left, 65, 43);
    EXPECT_EQ(control.changes, (std::vector<std::string>{"L=25", "T=3"}));
    // The control moved under the mouse: the same screen point is the press point again.
    logic.MouseMove(ShiftState::Left, 50, 50);
    logic.MouseMove(ShiftState::Left | ShiftState::Shift, 40, 60);
    logic.MouseUp();
    EXPECT_FALSE(logic.Fcapture);
    EXPECT_EQ(control.left, 15);
    EXPECT_EQ(control.top, 13);
    EXPECT_EQ(control.width, 100);
    EXPECT_EQ(control.height, 100);
    EXPECT_EQ(logic.Fx, 50);
    EXPECT_EQ(logic.Fy, 50);
}

TEST_F(SizeRect, MovingIsNotLimitedBySizeOrParent) {
    control.width = 3;
    control.height = 3;
    logic.FBoxSize = 0;  // no boxes to hit: the whole control moves
    Drag(1, 1, -500, -300);
    EXPECT_EQ(control.left, 10 - 501);
    EXPECT_EQ(control.top, 10 - 301);
}

TEST_F(SizeRect, RightBoxStopsAtTwiceTheBoxSize) {
    logic.FBoxSize = 6;
    Drag(99, 50, 3, 50);
    EXPECT_EQ(logic.FSizePos, spRight);
    EXPECT_TRUE(control.changes.empty()) << "3 < 12 leaves the width";
    EXPECT_EQ(control.width, 100);
    Drag(99, 50, 12, 50);
    EXPECT_EQ(control.changes, std::vector<std::string>{"W=12"});
    EXPECT_EQ(control.left, 10);
}

TEST_F(SizeRect, BoxesResizeFromTheirOwnEdges) {
    struct Case {
        int fromX, fromY, toX, toY;
        TSizePos box;
        int left, top, width, height;
    };
    const Case cases[] = {
        {0, 0, 10, -5, spTopLeft, 20, 5, 90, 105},    {50, 0, 30, 20, spTop, 10, 30, 100, 80},
        {99, 0, 60, -10, spTopRight, 10, 0, 60, 110}, {0, 50, -20, 70, spLeft, -10, 10, 120, 100},
        {99, 50, 130, 0, spRight, 10, 10, 130, 100},  {0, 99, 30, 40, spBottomLeft, 40, 10, 70, 40},
        {50, 99, 0, 150, spBottom, 10, 10, 100, 150}, {99, 99, 20, 30, spBottomRight, 10, 10, 20, 30},
    };
    for (const Case& c : cases) {
        control = RecordingControl{};
        logic.FSizePos = spNone;
        Drag(c.fromX, c.fromY, c.toX, c.toY);
        EXPECT_EQ(logic.FSizePos, c.box);
        EXPECT_EQ(control.left, c.left) << c.box;
        EXPECT_EQ(control.top, c.top) << c.box;
        EXPECT_EQ(control.width, c.width) << c.box;
        EXPECT_EQ(control.height, c.height) << c.box;
    }
}

TEST_F(SizeRect, LimitAppliesPerAxisInTheOrderLeftTopWidthHeight) {
    // Top-left box dragged so far right that the width would be 5, while the height grows.
    Drag(0, 0, 95, -20);
    EXPECT_EQ(control.changes, (std::vector<std::string>{"T=-10", "H=120"}));
    EXPECT_EQ(control.left, 10);
    EXPECT_EQ(control.width, 100);

    control.changes.clear();
    Drag(0, 0, 5, 6);
    EXPECT_EQ(control.changes, (std::vector<std::string>{"L=15", "T=-4", "W=95", "H=114"}));

    control.changes.clear();
    logic.SetBoundsLimited(20, 0, 10, 9);  // 9 < 10: top and height stay; exactly 10 is allowed
    EXPECT_EQ(control.changes, (std::vector<std::string>{"L=20", "W=10"}));
    control.changes.clear();
    logic.SetBoundsLimited(20, 0, 10, 10);
    EXPECT_EQ(control.changes, (std::vector<std::string>{"T=0", "H=10"}));
}

TEST_F(SizeRect, OtherButtonsNeitherMoveNorChangeTheBox) {
    logic.MouseMove({}, 2, 2);
    ASSERT_EQ(logic.FSizePos, spTopLeft);
    logic.MouseDown(2, 2);
    logic.MouseMove(ShiftState::Right, 50, 50);
    logic.MouseMove(ShiftState::Right | ShiftState::Middle, 70, 80);
    EXPECT_EQ(logic.FSizePos, spTopLeft) << "the box stays while a button is held";
    EXPECT_EQ(control.cursor, fw::crSizeNWSE);
    EXPECT_TRUE(control.changes.empty());
    // The left button pressed as well while captured drags the box found before the press.
    logic.MouseMove(ShiftState::Right | ShiftState::Left, 10, 20);
    EXPECT_EQ(control.changes, (std::vector<std::string>{"L=20", "T=30", "W=90", "H=80"}));
    logic.MouseUp();
    logic.MouseMove({}, 50, 50);
    EXPECT_EQ(logic.FSizePos, spNone);
    EXPECT_EQ(control.cursor, fw::crSizeAll);
}

TEST_F(SizeRect, CursorFollowsTheBoxAndTheDefaultCursor) {
    logic.FDefaultCursor = fw::crHandPoint;
    logic.MouseMove({}, 40, 40);
    EXPECT_EQ(control.cursor, fw::crHandPoint);
    logic.MouseMove({}, 50, 97);
    EXPECT_EQ(logic.FSizePos, spBottom);
    EXPECT_TRUE(logic.MouseOverSizeBox());
    EXPECT_EQ(control.cursor, fw::crSizeNS);
}

TEST_F(SizeRect, HoverChangesOnlyWithoutAButtonHeld) {
    logic.MouseEnter();
    EXPECT_TRUE(logic.Fmouseover);
    EXPECT_EQ(control.repaints, 1);
    logic.MouseEnter();
    EXPECT_EQ(control.repaints, 1) << "no repaint without a change";

    logic.MouseDown(50, 50);
    logic.MouseLeave();
    EXPECT_TRUE(logic.Fmouseover);
    EXPECT_EQ(control.repaints, 1);
    logic.MouseUp();
    logic.MouseLeave();
    EXPECT_FALSE(logic.Fmouseover);
    EXPECT_EQ(control.repaints, 2);
    logic.MouseLeave();
    EXPECT_EQ(control.repaints, 2);

    logic.MouseDown(1, 1);
    logic.MouseEnter();
    EXPECT_FALSE(logic.Fmouseover);
}

TEST_F(SizeRect, PaintChoicesFollowHoverAndSettings) {
    EXPECT_TRUE(logic.BoxesVisible());
    EXPECT_FALSE(logic.UseActiveFrame());
    logic.FAutoHideBoxes = true;
    EXPECT_FALSE(logic.BoxesVisible());
    logic.FActiveAnimation = true;
    logic.MouseEnter();
    EXPECT_TRUE(logic.BoxesVisible());
    EXPECT_TRUE(logic.UseActiveFrame());
    EXPECT_FALSE(logic.UseActiveBoxes());
    logic.FActiveBoxAnimation = true;
    EXPECT_TRUE(logic.UseActiveBoxes());
    logic.FShowBoxes = false;
    EXPECT_FALSE(logic.BoxesVisible());
    logic.FAutoHideBoxes = false;
    EXPECT_FALSE(logic.BoxesVisible());
}

}  // namespace
