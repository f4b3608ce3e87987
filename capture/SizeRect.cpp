// The selection rectangle on screen: its drawing tools, its painting and the mouse handed to its logic.
#include "capture/SizeRect.h"

#include <algorithm>

#include "framework/Error.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"

namespace corvalend {

TSizeRect::TSizeRect(fw::GraphicHost& host) : GraphicControl(host) {
    SetBounds(0, 0, 100, 100);
}

void TSizeRect::SetNormalBrush(const fw::Brush& value) {
    FNormalBrush = value;
    Invalidate();
}

void TSizeRect::SetNormalPen(const fw::Pen& value) {
    FNormalPen = value;
    Invalidate();
}

void TSizeRect::SetNormalBoxBrush(const fw::Brush& value) {
    FNormalBoxBrush = value;
    Invalidate();
}

void TSizeRect::SetNormalBoxPen(const fw::Pen& value) {
    FNormalBoxPen = value;
    Invalidate();
}

void TSizeRect::SetNormalDisplayFont(const fw::Font& value) {
    FNormalDisplayFont = value;
    Invalidate();
}

void TSizeRect::SetActiveDisplayFont(const fw::Font& value) {
    FActiveDisplayFont = value;
    Invalidate();
}

void TSizeRect::SetCustomCenterMark(const fw::Picture& value) {
    fw::UniqueBitmap bitmap;
    if (!value.Empty()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = value.width;
        info.bmiHeader.biHeight = -value.height;  // top-down, as the picture's rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap) throw fw::Error(u"Out of system resources");
        std::copy(value.pixels.begin(), value.pixels.end(), static_cast<std::uint32_t*>(bits));
    }
    FCustomCenterMark = value;
    customBitmap_ = std::move(bitmap);
    Invalidate();
}

void TSizeRect::SetActiveBoxAnimation(bool value) {
    logic_.FActiveBoxAnimation = value;
    Invalidate();
}

void TSizeRect::SetBoxSize(int value) {
    logic_.FBoxSize = value;
    Invalidate();
}

void TSizeRect::SetBoxPos(TDragBoxPos value) {
    logic_.FBoxPos = value;
    Invalidate();
}

void TSizeRect::SetAutoHideBoxes(bool value) {
    logic_.FAutoHideBoxes = value;
    Invalidate();
}

void TSizeRect::SetDisplayInfo(bool value) {
    logic_.FDisplayInfo = value;
    Invalidate();
}

void TSizeRect::SetActiveAnimation(bool value) {
    logic_.FActiveAnimation = value;
    Invalidate();
}

void TSizeRect::SetCenterMark(TCenterMark value) {
    logic_.FCenterMark = value;
    Invalidate();
}

void TSizeRect::SetCenterMarkRadius(int value) {
    logic_.FRadius = value;
    Invalidate();
}

void TSizeRect::SetDisplayInfoFormat(const std::u16string& value) {
    logic_.FDisplayInfoFormat = value;
    Invalidate();
}

void TSizeRect::ShowBoxes() {
    logic_.FShowBoxes = true;
    fw::ControlDC dc(*this);
    if (dc.get() == nullptr) return;
    SelectTools(dc.get(), *canvasPen_, *canvasBrush_);
    DrawBoxes(dc.get());
}

void TSizeRect::HideBoxesPermanently() {
    logic_.FShowBoxes = false;
    Invalidate();
}

void TSizeRect::HideBoxes() {
    logic_.FShowBoxes = false;
    Invalidate();
    // Paint now, while the boxes are off; the flag is back for every later repaint.
    if (ParentHandle() != nullptr) UpdateWindow(ParentHandle());
    logic_.FShowBoxes = true;
}

void SelectSelectionTools(HDC dc, const fw::Pen& pen, const fw::Brush& brush) {
    const bool contrast = fw::HighContrastOn();
    const COLORREF brushColor = contrast ? fw::RoleColor(fw::ColorRole::Selection, brush.Color()) : brush.Color();
    if (contrast) {
        // The context's own pen and brush: nothing to make, own or delete at every paint.
        SelectObject(dc, GetStockObject(pen.Style() == PS_NULL ? NULL_PEN : DC_PEN));
        SetDCPenColor(dc, fw::RoleColor(fw::ColorRole::Selection, pen.Color()));
        SelectObject(dc, brush.Style() == BS_NULL ? brush.Handle() : GetStockObject(DC_BRUSH));
        SetDCBrushColor(dc, brushColor);
    } else {
        SelectObject(dc, pen.Handle());
        SelectObject(dc, brush.Handle());
    }
    if (brush.Style() == BS_SOLID) {
        SetBkColor(dc, brushColor);
        SetBkMode(dc, OPAQUE);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
}

void TSizeRect::SelectTools(HDC dc, const fw::Pen& pen, const fw::Brush& brush) {
    SelectSelectionTools(dc, pen, brush);
    canvasPen_ = &pen;
    canvasBrush_ = &brush;
}

void TSizeRect::Paint(HDC dc) {
    const bool active = logic_.UseActiveFrame();
    SelectTools(dc, active ? FActivePen : FNormalPen, active ? FActiveBrush : FNormalBrush);

    const fw::Rect frame = FrameRect(Width(), Height(), logic_.FBoxSize, logic_.FBoxPos);
    DrawSelectionFrame(dc, fw::ToRECT(frame));

    const fw::Font& font = active ? FActiveDisplayFont : FNormalDisplayFont;
    SelectObject(dc, font.Handle(Dpi()));
    SetTextColor(dc, font.Color());

    const std::u16string text = logic_.InfoText();
    if (logic_.FDisplayInfo) DrawInfoText(dc, text);

    if (CenterMarkFits(logic_.FRadius, RectWidth(), RectHeight())) DrawCenterMark(dc, logic_.FCenterMark);

    const bool activeBoxes = logic_.UseActiveBoxes();
    SelectTools(dc, activeBoxes ? FActiveBoxPen : FNormalBoxPen, activeBoxes ? FActiveBoxBrush : FNormalBoxBrush);
    if (logic_.BoxesVisible()) DrawBoxes(dc);

    if (OnPaint) OnPaint(*this);
}

namespace {

SIZE TextExtent(HDC dc, std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

void TSizeRect::DrawInfoText(HDC dc, const std::u16string& text) {
    const std::vector<std::u16string> lines = SplitLines(text);
    InfoTextMetrics metrics;
    metrics.lineCount = static_cast<int>(lines.size());
    const SIZE whole = TextExtent(dc, text);
    metrics.textHeight = whole.cy;
    metrics.wholeWidth = whole.cx;
    for (const std::u16string& line : lines)
        metrics.widestLine = std::max<int>(metrics.widestLine, TextExtent(dc, line).cx);
    const auto where = InfoTextRect(metrics, Width(), Height(), logic_.FBoxSize, canvasPen_->Width());
    if (!where) return;  // too small: no text at all rather than a clipped one
    RECT rect = fw::ToRECT(*where);
    DrawTextW(dc, fw::AsWide(text), -1, &rect, 0);
}

void TSizeRect::DrawSelectionFrame(HDC dc, const RECT& rect) {
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void TSizeRect::DrawCenterMark(HDC dc, TCenterMark mark) {
    const CenterMarkShape shape =
        CenterMarkGeometry(mark, Width(), Height(), logic_.FRadius, logic_.FBoxSize, canvasPen_->Width(),
                           FCustomCenterMark.width, FCustomCenterMark.height);
    switch (shape.kind) {
        case CenterMarkShape::Ellipse:
            Ellipse(dc, shape.rect.left, shape.rect.top, shape.rect.right, shape.rect.bottom);
            break;
        case CenterMarkShape::Rectangle:
            Rectangle(dc, shape.rect.left, shape.rect.top, shape.rect.right, shape.rect.bottom);
            break;
        case CenterMarkShape::Lines:
            for (const auto& [from, to] : shape.lines) {
                MoveToEx(dc, from.x, from.y, nullptr);
                LineTo(dc, to.x, to.y);
            }
            break;
        case CenterMarkShape::Image:
            DrawCustomMark(dc, shape.rect);
            break;
        case CenterMarkShape::None:
            break;
    }
}

void TSizeRect::DrawCustomMark(HDC dc, const fw::Rect& where) {
    if (!customBitmap_) return;
    fw::UniqueMemoryDC source(CreateCompatibleDC(dc));
    if (!source) return;
    fw::ScopedSelectObject select(source.get(), customBitmap_.get());
    // The picture's bottom-left pixel gives the colour that lets the parent show through.
    const std::uint32_t key = FCustomCenterMark.At(0, FCustomCenterMark.height - 1);
    const COLORREF transparent = RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF);
    GdiTransparentBlt(dc, where.left, where.top, where.Width(), where.Height(), source.get(), 0, 0, where.Width(),
                      where.Height(), transparent);
}

void TSizeRect::DrawBoxes(HDC dc) {
    if (!logic_.FShowBoxes) return;
    for (const fw::Rect& box : BoxRects(Width(), Height(), logic_.FBoxSize)) {
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }
}

void TSizeRect::Resize() {
    Invalidate();
    if (OnResize) OnResize(*this);
}

void TSizeRect::MouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y) {
    logic_.MouseDown(x, y);
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TSizeRect::MouseMove(fw::ShiftState shift, int x, int y) {
    logic_.MouseMove(shift, x, y);
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TSizeRect::MouseUp(fw::MouseButton button, fw::ShiftState shift, int x, int y) {
    logic_.MouseUp();
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TSizeRect::MouseEnter() {
    logic_.MouseEnter();
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TSizeRect::MouseLeave() {
    logic_.MouseLeave();
    if (OnMouseLeave) OnMouseLeave(*this);
}

}  // namespace corvalend
