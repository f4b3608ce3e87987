// The view panel of a hotkey editor frame, drawn as the separate texts and marks it stands for.
#include "ui/HotkeyViewPanel.h"

#include <array>
#include <string>

#include "framework/GdiObjects.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"

namespace corvalend {

namespace {

// Where each text goes, at 96 DPI; a width of zero or less stretches to the panel's right edge
// less that much: the parameters take the room up to the panel's edge.
constexpr fw::Bounds kShiftCaption{76, 8, 120, 13};
constexpr fw::Bounds kKeyCaption{206, 8, 76, 13};
constexpr fw::Bounds kKey{206, 26, 78, 13};
constexpr fw::Bounds kActionCaption{288, 8, 190, 13};
constexpr fw::Bounds kAction{288, 26, 192, 13};
constexpr fw::Bounds kParamsCaption{486, 8, 200, 13};
constexpr fw::Bounds kParams{486, 26, -8, 13};
constexpr fw::Bounds kParams2Caption{486, 50, 200, 13};
constexpr fw::Bounds kParams2{486, 66, -8, 13};
// The marks' squares, each with its caption to its right.
constexpr std::array<fw::Bounds, 1 + kModifiers.size()> kMarks{{
    {6, 26, 13, 13},    // Active
    {76, 26, 13, 13},   // ALT
    {76, 46, 13, 13},   // CTRL
    {141, 26, 13, 13},  // SHIFT
    {141, 46, 13, 13},  // WIN
}};
constexpr int kMarkCaptionGap = 4;
constexpr int kMarkCaptionWidth = 45;
constexpr int kTickInset = 3;

std::u16string MarkCaption(size_t mark) {
    if (mark == 0) return u"Active";
    const std::u16string_view prefix = kModifiers[mark - 1].prefix;
    return std::u16string(prefix.substr(0, prefix.find(u' ')));
}

}  // namespace

THotkeyViewPanel::THotkeyViewPanel(fw::Container& parent, const fw::ControlInfo& info)
    : Control(parent, info, {.className = L"STATIC", .style = SS_NOPREFIX, .paintsItself = true}) {
    SetText(HotkeyViewReading(view_));
}

fw::Bounds THotkeyViewPanel::MarkBounds96(size_t mark) {
    return kMarks.at(mark);
}

void THotkeyViewPanel::SetView(const THotkeyView& view) {
    if (view == view_) return;
    view_ = view;
    SetText(HotkeyViewReading(view_));
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT THotkeyViewPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The parameters reach to the right edge: a new width moves where they end.
    if (message == WM_SIZE) InvalidateRect(Handle(), nullptr, TRUE);
    return Control::OnMessage(message, wParam, lParam);
}

void THotkeyViewPanel::OnPaint(HDC dc, const RECT& /*area*/) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, Parent()->BackgroundBrush());
    const int dpi = static_cast<int>(Dpi());
    const auto scaled = [&](const fw::Bounds& bounds) {
        const int right = bounds.width > 0 ? bounds.left + bounds.width : MulDiv(client.right, 96, dpi) + bounds.width;
        return RECT{MulDiv(bounds.left, dpi, 96), MulDiv(bounds.top, dpi, 96), MulDiv(right, dpi, 96),
                    MulDiv(bounds.top + bounds.height, dpi, 96)};
    };

    const fw::ScopedSelectObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColor());
    const auto text = [&](const fw::Bounds& bounds, const std::u16string& value) {
        RECT rect = scaled(bounds);
        DrawTextW(dc, fw::AsWide(value), static_cast<int>(value.size()), &rect,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    };

    const fw::Brush markBrush(fw::RoleColor(fw::ColorRole::Mark, RGB(0, 0, 0)));
    for (size_t mark = 0; mark < kMarks.size(); ++mark) {
        const fw::Bounds square = kMarks[mark];
        const RECT outline = scaled(square);
        FrameRect(dc, &outline, markBrush.Handle());
        if (mark == 0 ? view_.Active : view_.Ticks[mark - 1]) {
            const RECT tick = scaled({square.left + kTickInset, square.top + kTickInset, square.width - 2 * kTickInset,
                                      square.height - 2 * kTickInset});
            FillRect(dc, &tick, markBrush.Handle());
        }
        text({square.left + square.width + kMarkCaptionGap, square.top, kMarkCaptionWidth, square.height},
             MarkCaption(mark));
    }
    text(kShiftCaption, u"Shift key:");
    text(kKeyCaption, u"Key:");
    if (view_.Refused) {
        // As the popup shows a refused hotkey: greyed, with its mark.
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        text(kKey, HotkeyViewKeyText(view_));
        SetTextColor(dc, TextColor());
    } else {
        text(kKey, view_.Key);
    }
    text(kActionCaption, u"Action:");
    text(kAction, view_.Action);
    if (view_.Shown.params) {
        text(kParamsCaption, ParametersCaption(view_.Shown, kParametersCaption));
        text(kParams, view_.Params);
    }
    if (view_.Shown.params2) {
        text(kParams2Caption, kAdditionalParametersCaption);
        text(kParams2, view_.Params2);
    }
}

}  // namespace corvalend
