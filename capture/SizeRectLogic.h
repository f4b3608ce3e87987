// The selection rectangle's geometry and mouse handling without the system: where the frame, the
// eight sizing boxes, the centre mark and the information text go, which box is under the mouse,
// and how a drag moves or resizes the control. TSizeRect (SizeRect.h) draws what this computes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Geometry.h"
#include "framework/MouseInput.h"

namespace corvalend {

enum TCenterMark { cmCircle, cmCross, cmCustom, cmNone, cmSquare, cmXMark };
enum TSizePos { spTopLeft, spTop, spTopRight, spLeft, spRight, spBottomLeft, spBottom, spBottomRight, spNone };
enum TDragBoxPos { dbpInside, dbpMiddle, dbpOutside };

// ---- Geometry; W and H are the control's size, b the box size. Divisions truncate toward zero. ----

// The frame rectangle in control pixels.
fw::Rect FrameRect(int W, int H, int b, TDragBoxPos pos);

// The eight boxes in control pixels, indexed by TSizePos (spTopLeft to spBottomRight). They always
// sit at the control's edges whatever the frame position is.
std::array<fw::Rect, 8> BoxRects(int W, int H, int b);

// True when the point lies within b pixels of the anchor on both axes (borders included).
bool IsOverBox(fw::Point point, fw::Point anchor, int b);

// The box whose hit zone holds (x, y); corners are tested first, so they win where zones overlap.
TSizePos SizePosAt(int x, int y, int W, int H, int b);

fw::CursorId CursorForSizePos(TSizePos sizePos, fw::CursorId defaultCursor);

// The template with "%w", "%h", "%l" and "%t" (either letter case) replaced by the numbers, in
// that order.
std::u16string FormatInfoText(std::u16string_view format, int width, int height, int left, int top);

// The lines of a text broken at CR, LF or CR LF; a final line break adds no empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Sizes of the information text as measured with the display font.
struct InfoTextMetrics {
    int lineCount = 0;
    int textHeight = 0;  // height of the whole text measured as one line
    int widestLine = 0;  // largest width of a single line
    int wholeWidth = 0;  // width of the whole text measured as one line
};

// Where the information text goes with the given frame pen width, or nothing when it does not fit
// inside the control with room for the boxes: the text is then not drawn at all.
std::optional<fw::Rect> InfoTextRect(const InfoTextMetrics& text, int W, int H, int b, int penWidth);

// The centre mark is drawn only when the radius is below both frame sides.
bool CenterMarkFits(int radius, int rectWidth, int rectHeight);

// What to draw for a centre mark, in control pixels.
struct CenterMarkShape {
    enum Kind { None, Ellipse, Rectangle, Lines, Image };
    Kind kind = None;
    fw::Rect rect;  // Ellipse, Rectangle: the corners; Image: where the picture goes
    // Lines: each from the first point towards the second, the second point not drawn.
    std::vector<std::pair<fw::Point, fw::Point>> lines;
};

// imageWidth/imageHeight are the custom picture's size (0 when there is none).
CenterMarkShape
CenterMarkGeometry(TCenterMark mark, int W, int H, int R, int b, int penWidth, int imageWidth, int imageHeight);

// ---- State and mouse handling ----

// What the logic needs from the control it drives. Each setter is one change of the control's
// bounds (the control repaints and reports the resize when the value differs).
class SizeRectControl {
public:
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetLeft(int value) = 0;
    virtual void SetTop(int value) = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual void SetCursor(fw::CursorId cursor) = 0;
    virtual void Repaint() = 0;

protected:
    ~SizeRectControl() = default;
};

// The control's state, with its fields named as the control's own. Settings are plain fields:
// the owning control decides which changes repaint.
class SizeRectLogic {
public:
    explicit SizeRectLogic(SizeRectControl& control) : control_(control) {}

    // Frame position in the parent's pixels and its size. With dbpMiddle and an odd box size the
    // size is the control's less one box, one pixel less than the frame drawn by FrameRect.
    int RectLeft() const;
    int RectTop() const;
    int RectWidth() const;
    int RectHeight() const;
    // Half the frame size (not a position in the parent).
    fw::Point Center() const;
    bool MouseOverSizeBox() const { return FSizePos != spNone; }
    std::u16string InfoText() const;

    // Paint choices: the active frame pen, brush and font; the active box pen and brush; whether
    // the boxes are drawn.
    bool UseActiveFrame() const { return Fmouseover && FActiveAnimation; }
    bool UseActiveBoxes() const { return Fmouseover && FActiveBoxAnimation; }
    bool BoxesVisible() const { return FAutoHideBoxes ? Fmouseover && FShowBoxes : FShowBoxes; }

    // Mouse events in control pixels. The caller fires its own events afterwards.
    void MouseDown(int x, int y);
    void MouseMove(fw::ShiftState shift, int x, int y);
    void MouseUp();
    void MouseEnter();
    void MouseLeave();

    // Sets left, top, width and height one after another, each only when it changes and the new
    // size on its axis is at least twice the box size.
    void SetBoundsLimited(int left, int top, int width, int height);

    int Fx = 0;
    int Fy = 0;
    bool Fcapture = false;
    bool Fmouseover = false;
    TCenterMark FCenterMark = cmNone;
    TSizePos FSizePos = spNone;
    int FBoxSize = 5;
    TDragBoxPos FBoxPos = dbpInside;
    bool FAutoHideBoxes = false;
    bool FActiveBoxAnimation = false;
    bool FDisplayInfo = false;
    bool FActiveAnimation = false;
    fw::CursorId FDefaultCursor = fw::crSizeAll;
    int FRadius = 5;
    std::u16string FDisplayInfoFormat = u"w: %w h: %h l: %l t: %t";
    bool FShowBoxes = true;

private:
    SizeRectControl& control_;
};

}  // namespace corvalend
