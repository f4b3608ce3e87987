// Where the selection rectangle's parts go and how a drag changes it, computed without the system.
#include "capture/SizeRectLogic.h"

#include <cmath>

#include "framework/Text.h"

namespace corvalend {

fw::Rect FrameRect(int W, int H, int b, TDragBoxPos pos) {
    switch (pos) {
        case dbpMiddle:
            return {b / 2, b / 2, W - b / 2, H - b / 2};
        case dbpOutside:
            return {b, b, W - b, H - b};
        case dbpInside:
            break;
    }
    return {0, 0, W, H};
}

std::array<fw::Rect, 8> BoxRects(int W, int H, int b) {
    const int hb = b / 2;
    std::array<fw::Rect, 8> boxes;
    boxes[spTopLeft] = {0, 0, b, b};
    boxes[spTop] = {W / 2 - hb, 0, W / 2 + hb, b};
    boxes[spTopRight] = {W - b, 0, W, b};
    boxes[spLeft] = {0, H / 2 - hb, b, H / 2 + hb};
    boxes[spRight] = {W - b, H / 2 - hb, W, H / 2 + hb};
    boxes[spBottomLeft] = {0, H - b, b, H};
    boxes[spBottom] = {W / 2 - hb, H - b, W / 2 + hb, H};
    boxes[spBottomRight] = {W - b, H - b, W, H};
    return boxes;
}

bool IsOverBox(fw::Point point, fw::Point anchor, int b) {
    return anchor.x - b <= point.x && point.x <= anchor.x + b && anchor.y - b <= point.y && point.y <= anchor.y + b;
}

TSizePos SizePosAt(int x, int y, int W, int H, int b) {
    const std::pair<TSizePos, fw::Point> order[] = {
        {spTopLeft, {0, 0}},  {spBottomRight, {W, H}}, {spBottomLeft, {0, H}}, {spTopRight, {W, 0}},
        {spLeft, {0, H / 2}}, {spRight, {W, H / 2}},   {spTop, {W / 2, 0}},    {spBottom, {W / 2, H}},
    };
    for (const auto& [pos, anchor] : order) {
        if (IsOverBox({x, y}, anchor, b)) return pos;
    }
    return spNone;
}

fw::CursorId CursorForSizePos(TSizePos sizePos, fw::CursorId defaultCursor) {
    switch (sizePos) {
        case spTopLeft:
        case spBottomRight:
            return fw::crSizeNWSE;
        case spTop:
        case spBottom:
            return fw::crSizeNS;
        case spTopRight:
        case spBottomLeft:
            return fw::crSizeNESW;
        case spLeft:
        case spRight:
            return fw::crSizeWE;
        case spNone:
            break;
    }
    return defaultCursor;
}

namespace {

// Replaces every "%" + letter, ignoring the letter's case, scanning left to right.
std::u16string ReplacePlaceholder(std::u16string_view text, char16_t lower, const std::u16string& value) {
    const char16_t upper = static_cast<char16_t>(lower - u'a' + u'A');
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && (text[i + 1] == lower || text[i + 1] == upper)) {
            out += value;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::u16string FormatInfoText(std::u16string_view format, int width, int height, int left, int top) {
    std::u16string text = ReplacePlaceholder(format, u'w', fw::IntToStr(width));
    text = ReplacePlaceholder(text, u'h', fw::IntToStr(height));
    text = ReplacePlaceholder(text, u'l', fw::IntToStr(left));
    return ReplacePlaceholder(text, u't', fw::IntToStr(top));
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == u'\r') ++pos;
        if (pos < text.size() && text[pos] == u'\n') ++pos;
    }
    return lines;
}

std::optional<fw::Rect> InfoTextRect(const InfoTextMetrics& text, int W, int H, int b, int penWidth) {
    const int totalHeight = text.lineCount * text.textHeight;
    const int margin = 2 * b + 4 * penWidth;
    if (!(text.widestLine + margin < W && totalHeight + margin < H)) return std::nullopt;
    const int left = 2 * b + 2 * penWidth;
    const int top = b + 2 * penWidth;
    return fw::Rect{left, top, left + text.wholeWidth, top + totalHeight};
}

bool CenterMarkFits(int radius, int rectWidth, int rectHeight) {
    return radius < rectWidth && radius < rectHeight;
}

CenterMarkShape
CenterMarkGeometry(TCenterMark mark, int W, int H, int R, int b, int penWidth, int imageWidth, int imageHeight) {
    const int cx = W / 2;
    const int cy = H / 2;
    CenterMarkShape shape;
    switch (mark) {
        case cmCircle:
        case cmSquare:
            shape.kind = mark == cmCircle ? CenterMarkShape::Ellipse : CenterMarkShape::Rectangle;
            shape.rect = {cx - R / 2, cy - R / 2, cx + R / 2, cy + R / 2};
            break;
        case cmCross: {
            // One more pixel for an even radius keeps both lines centred on the centre point.
            const int e = R % 2 == 0 ? 1 : 0;
            shape.kind = CenterMarkShape::Lines;
            shape.lines = {{{cx, cy - R / 2}, {cx, cy - R / 2 + R + e}}, {{cx - R / 2, cy}, {cx - R / 2 + R + e, cy}}};
            break;
        }
        case cmXMark: {
            const int h = static_cast<int>(std::lround(R / std::sqrt(2.0))) / 2;
            const int a = penWidth == 1 ? 1 : 0;
            shape.kind = CenterMarkShape::Lines;
            shape.lines = {{{cx - h, cy - h - a}, {cx + h + a, cy + h}}, {{cx + h, cy - h - a}, {cx - h - a, cy + h}}};
            break;
        }
        case cmCustom:
            if (imageWidth > 0 && imageHeight > 0 && imageWidth < W - 3 * b && imageHeight < H - 3 * b) {
                shape.kind = CenterMarkShape::Image;
                const int left = cx - imageWidth / 2;
                const int top = cy - imageHeight / 2;
                shape.rect = {left, top, left + imageWidth, top + imageHeight};
            }
            break;
        case cmNone:
            break;
    }
    return shape;
}

namespace {

// How far the frame lies inside the control's edge on each side.
int FrameInset(int b, TDragBoxPos pos) {
    return pos == dbpOutside ? b : pos == dbpMiddle ? b / 2 : 0;
}

// How much narrower the frame is than the control. For dbpMiddle with an odd box size this is one
// more than twice the inset: the reported size is the control's size less one box.
int FrameShrink(int b, TDragBoxPos pos) {
    return pos == dbpOutside ? 2 * b : pos == dbpMiddle ? b : 0;
}

}  // namespace

int SizeRectLogic::RectLeft() const {
    return control_.Left() + FrameInset(FBoxSize, FBoxPos);
}

int SizeRectLogic::RectTop() const {
    return control_.Top() + FrameInset(FBoxSize, FBoxPos);
}

int SizeRectLogic::RectWidth() const {
    return control_.Width() - FrameShrink(FBoxSize, FBoxPos);
}

int SizeRectLogic::RectHeight() const {
    return control_.Height() - FrameShrink(FBoxSize, FBoxPos);
}

fw::Point SizeRectLogic::Center() const {
    return {RectWidth() / 2, RectHeight() / 2};
}

std::u16string SizeRectLogic::InfoText() const {
    return FormatInfoText(FDisplayInfoFormat, RectWidth(), RectHeight(), RectLeft(), RectTop());
}

void SizeRectLogic::MouseDown(int x, int y) {
    Fx = x;
    Fy = y;
    Fcapture = true;
}

void SizeRectLogic::MouseMove(fw::ShiftState shift, int x, int y) {
    const int W = control_.Width();
    const int H = control_.Height();
    // The box being dragged stays the same for the whole drag, wherever the mouse goes.
    if (!Fcapture) FSizePos = SizePosAt(x, y, W, H, FBoxSize);
    control_.SetCursor(CursorForSizePos(FSizePos, FDefaultCursor));
    if (!shift.Has(fw::ShiftState::Left)) return;
    const int L = control_.Left();
    const int T = control_.Top();
    switch (FSizePos) {
        case spTopLeft:
            SetBoundsLimited(L + x, T + y, W - x, H - y);
            break;
        case spTop:
            SetBoundsLimited(L, T + y, W, H - y);
            break;
        case spTopRight:
            SetBoundsLimited(L, T + y, x, H - y);
            break;
        case spLeft:
            SetBoundsLimited(L + x, T, W - x, H);
            break;
        case spRight:
            SetBoundsLimited(L, T, x, H);
            break;
        case spBottomLeft:
            SetBoundsLimited(L + x, T, W - x, y);
            break;
        case spBottom:
            SetBoundsLimited(L, T, W, y);
            break;
        case spBottomRight:
            SetBoundsLimited(L, T, x, y);
            break;
        case spNone:
            // A plain move: no size limit, and the parent's area does not confine it.
            control_.SetLeft(control_.Left() + x - Fx);
            control_.SetTop(control_.Top() + y - Fy);
            break;
    }
}

void SizeRectLogic::MouseUp() {
    Fcapture = false;
}

void SizeRectLogic::MouseEnter() {
    if (!Fcapture && !Fmouseover) {
        Fmouseover = true;
        control_.Repaint();
    }
}

void SizeRectLogic::MouseLeave() {
    if (!Fcapture && Fmouseover) {
        Fmouseover = false;
        control_.Repaint();
    }
}

void SizeRectLogic::SetBoundsLimited(int left, int top, int width, int height) {
    const int minimum = 2 * FBoxSize;
    if (left != control_.Left() && width >= minimum) control_.SetLeft(left);
    if (top != control_.Top() && height >= minimum) control_.SetTop(top);
    if (width != control_.Width() && width >= minimum) control_.SetWidth(width);
    if (height != control_.Height() && height >= minimum) control_.SetHeight(height);
}

}  // namespace corvalend
