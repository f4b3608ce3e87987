// The link label on the system's static control: our painting, hover, sizing, shell hand-off.
#include "controls/BControls.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include <oleacc.h>

#include "framework/DialogChar.h"
#include "framework/Mnemonics.h"
#include "framework/ShellOpen.h"
#include "framework/SystemError.h"
#include "framework/SystemPalette.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"

namespace corvalend {

static_assert(dtCenter == DT_CENTER && dtRight == DT_RIGHT && dtVCenter == DT_VCENTER && dtBottom == DT_BOTTOM);
static_assert(SystemColor(COLOR_HOTLIGHT) == fw::SystemColorSpec(COLOR_HOTLIGHT), "one colour encoding");
static_assert(dtSingleLine == DT_SINGLELINE && dtPathEllipsis == DT_PATH_ELLIPSIS && dtEndEllipsis == DT_END_ELLIPSIS);

namespace {

fw::UniqueFont CreateLabelFont(const TLabelFont& font, TFontStyles style, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(font.Size, static_cast<int>(dpi), 72);
    lf.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    const size_t length = std::min(font.Name.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(fw::AsWide(font.Name), length, lf.lfFaceName);
    fw::UniqueFont handle(CreateFontIndirectW(&lf));
    if (!handle) fw::ThrowLastError();
    return handle;
}

}  // namespace

// SS_NOTIFY: the control takes the mouse instead of passing it through to the parent. A tab stop:
// a link is reached and followed with the keyboard too.
TBLabel::TBLabel(fw::Container& parent, const fw::ControlInfo& info, const TLabelFont& font)
    : Control(parent, info, {.className = L"STATIC", .style = SS_LEFT | SS_NOTIFY | WS_TABSTOP, .paintsItself = true}),
      caption_(info.text),
      font_(font),
      shellOpen_([](const std::u16string& target) { fw::ShellOpen(target); }),
      accessibleName_(
          Handle(),
          [this] { return fw::WithoutMnemonic(caption_); },
          ROLE_SYSTEM_LINK) {
    WatchMouseEnterLeave();
    MakeFont();
    AdjustBounds();
}

// ---- Properties ----

void TBLabel::SetCaption(std::u16string Caption) {
    // The window text is the caption: WM_SETTEXT stores it and fits the bounds.
    SetWindowTextW(Handle(), fw::AsWide(Caption));
}

void TBLabel::SetFont(TLabelFont Font) {
    font_ = std::move(Font);
    MakeFont();
    AdjustBounds();
    Invalidate();
}

void TBLabel::SetColor(TColor Color) {
    color_ = Color;
    Invalidate();
}

void TBLabel::SetAutoSize(bool AutoSize) {
    autoSize_ = AutoSize;
    AdjustBounds();
    Invalidate();
}

void TBLabel::SetAlignment(TAlignment Alignment) {
    alignment_ = Alignment;
    AdjustBounds();  // a right-justified label ends where its bounds do
    Invalidate();
}

void TBLabel::SetCursor(HCURSOR Cursor) {
    cursor_ = Cursor;
}

void TBLabel::SetFitInRect(bool FitInRect) {
    if (FitInRect == fitInRect_) return;
    fitInRect_ = FitInRect;
    PaintNow();
}

void TBLabel::SetFitType(TFitType FitType) {
    if (FitType == fitType_) return;
    fitType_ = FitType;
    PaintNow();
}

void TBLabel::SetAlignVert(TVertAlign AlignVert) {
    if (AlignVert == alignVert_) return;
    alignVert_ = AlignVert;
    PaintNow();
}

void TBLabel::SetMargin(uint8_t Margin) {
    if (Margin == margin_) return;
    margin_ = Margin;
    AdjustBounds();  // automatic sizing keeps the margin around the text
    PaintNow();
}

// ---- Accelerators ----

bool TBLabel::DialogChar(char16_t c) {
    if (!IsAccelerator(caption_, c)) return false;
    if (OnClick) OnClick(*this);
    return true;
}

// ---- Messages ----

LRESULT TBLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = Handle();
    if (message == fw::DialogCharMessage()) return DialogChar(static_cast<char16_t>(wParam)) ? 1 : 0;
    switch (message) {
        case WM_SETTEXT: {
            // Past the static control, which would draw its own look straight away.
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            caption_ = fw::FromWide(reinterpret_cast<const wchar_t*>(lParam));
            AdjustBounds();
            Invalidate();
            return result;
        }
        case WM_ENABLE:
            Invalidate();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();  // the focus rectangle
            return DefaultProc(message, wParam, lParam);
        case WM_GETDLGCODE: {
            // Enter and Space follow the link, instead of pressing the window's default button.
            const auto* keys = reinterpret_cast<const MSG*>(lParam);
            const bool activates = keys != nullptr && keys->message == WM_KEYDOWN &&
                                   (keys->wParam == VK_RETURN || keys->wParam == VK_SPACE);
            return DefaultProc(message, wParam, lParam) | (activates ? DLGC_WANTMESSAGE : 0);
        }
        case WM_KEYDOWN:
            if (wParam != VK_RETURN && wParam != VK_SPACE) return DefaultProc(message, wParam, lParam);
            if (PressExecutes(execute_, mbLeft, executeFile_)) shellOpen_(execute_);
            if (OnClick) OnClick(*this);
            return 0;
        case WM_SETCURSOR:
            ::SetCursor(cursor_ != nullptr ? cursor_ : LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(hwnd);
            pressed_ = true;
            MouseDown(mbLeft, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            ButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            MouseDown(mbRight, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            MouseDown(mbMiddle, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

void TBLabel::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(*this);
    if (!EnterChangesHover(hovered_, hover_)) return;
    hovered_ = true;
    PaintNow();
}

void TBLabel::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(*this);
    if (!hovered_) return;  // also when hover drawing was switched off meanwhile
    hovered_ = false;
    PaintNow();
}

void TBLabel::MouseDown(TMouseButton Button, WPARAM Keys, int X, int Y) {
    if (OnMouseDown) OnMouseDown(*this, Button, Keys, X, Y);
    if (PressExecutes(execute_, Button, executeFile_)) shellOpen_(execute_);
}

void TBLabel::ButtonUp(int X, int Y) {
    const bool wasPressed = std::exchange(pressed_, false);
    if (GetCapture() == Handle()) ReleaseCapture();
    RECT client{};
    GetClientRect(Handle(), &client);
    // A click is a press and a release on the label.
    if (wasPressed && PtInRect(&client, POINT{X, Y}) && OnClick) OnClick(*this);
}

// ---- Painting ----

void TBLabel::OnPaint(HDC dc, const RECT& /*area*/) {
    // The whole label every time: the text is laid out in all of it.
    RECT client{};
    GetClientRect(Handle(), &client);
    const TLabelLook look = LabelPaintLook(hovered_, {.Color = color_,
                                                      .FontColor = font_.Color,
                                                      .FontStyle = font_.Style,
                                                      .HoverColor = hoverColor_,
                                                      .HoverBGColor = hoverBGColor_,
                                                      .HoverStyle = hoverStyle_,
                                                      .UseHoverBGColor = useHoverBGColor_});
    const fw::UniqueBrush brush(CreateSolidBrush(fw::RoleColor(fw::ColorRole::Background, look.Background)));
    FillRect(dc, &client, brush.get());

    const fw::ScopedSelectObject font(dc, FontFor(look.Style));
    SetTextColor(dc, fw::RoleColor(hovered_ ? fw::ColorRole::LinkHover : fw::ColorRole::Link, look.TextColor));
    SetBkMode(dc, TRANSPARENT);
    RECT textRect = fw::ToRECT(LabelTextRect(client.right, client.bottom, margin_));
    // No DT_NOPREFIX: "&x" underlines the accelerator and "&&" shows one ampersand.
    DrawTextW(dc, fw::AsWide(caption_), static_cast<int>(caption_.size()), &textRect,
              LabelDrawTextFlags(fitInRect_, autoSize_, fitType_, alignment_, alignVert_));
    // Given the focus from the keyboard, it shows so, as a system button does.
    if (GetFocus() == Handle() && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
        DrawFocusRect(dc, &client);
    }
}

void TBLabel::PaintNow() {
    RedrawWindow(Handle(), /*rect=*/nullptr, /*region=*/nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TBLabel::Invalidate() {
    InvalidateRect(Handle(), /*rect=*/nullptr, /*erase=*/FALSE);
}

void TBLabel::ApplyFont() {
    MakeFont();
    AdjustBounds();
    Invalidate();
}

void TBLabel::MakeFont() {
    fontHandle_ = CreateLabelFont(font_, font_.Style, Dpi());
    styledFont_.reset();
    // The control keeps the font for those who ask it (WM_GETFONT), such as UI automation.
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle_.get()), /*redraw=*/FALSE);
}

HFONT TBLabel::FontFor(TFontStyles style) {
    if (style == font_.Style) return fontHandle_.get();
    if (!styledFont_ || styledFontStyle_ != style) {
        styledFont_ = CreateLabelFont(font_, style, Dpi());
        styledFontStyle_ = style;
    }
    return styledFont_.get();
}

void TBLabel::AdjustBounds() {
    // Only automatic sizing moves the window; without, it keeps its size until it is placed again.
    if (autoSize_) Place();
}

fw::Bounds TBLabel::WindowBounds(const fw::Bounds& placed) const {
    if (!autoSize_ || !fontHandle_) return placed;
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    const fw::ScopedSelectObject font(dc.get(), fontHandle_.get());
    RECT extent{};
    DrawTextW(dc.get(), fw::AsWide(caption_), static_cast<int>(caption_.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    if (caption_.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        extent = {0, 0, 0, metrics.tmHeight};
    }
    const fw::Rect fitted = AutoSizeBounds(fw::ToRect(placed), extent.right, extent.bottom, margin_, alignment_);
    return {fitted.left, fitted.top, fitted.Width(), fitted.Height()};
}

}  // namespace corvalend
