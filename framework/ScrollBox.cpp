// The scroll box: its scroll bars, scroll requests and the content window it moves.
#include "framework/ScrollBox.h"

#include <algorithm>

#include "framework/GdiObjects.h"

namespace fw {

namespace {

constexpr int kLine = 16;  // pixels per arrow click, at any DPI: the content is in screen pixels

}  // namespace

ScrollBox::ScrollBox(Application& app, HWND parent, DWORD exStyle) : Window(app) {
    Create({.name = L"Corvalend.ScrollBox", .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))},
           {.exStyle = exStyle,
            .title = u"",
            .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL,
            .x = 0,
            .y = 0,
            .width = 0,
            .height = 0,
            .parent = parent});
}

void ScrollBox::SetContent(HWND content) {
    content_ = content;
    posX_ = 0;
    posY_ = 0;
    ContentResized();
}

void ScrollBox::ContentResized() {
    UpdateBars();
}

void ScrollBox::ScrollTo(int x, int y) {
    posX_ = x;
    posY_ = y;
    UpdateBars();
}

SIZE ScrollBox::ContentSize() const {
    RECT contentRect{};
    if (content_ != nullptr) GetWindowRect(content_, &contentRect);
    return {contentRect.right - contentRect.left, contentRect.bottom - contentRect.top};
}

void ScrollBox::UpdateBars() {
    if (updating_) return;
    updating_ = true;
    const SIZE content = ContentSize();
    // Showing one bar narrows the room for the other; a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        RECT client{};
        GetClientRect(Handle(), &client);
        posX_ = std::clamp(posX_, 0, std::max<int>(0, content.cx - client.right));
        posY_ = std::clamp(posY_, 0, std::max<int>(0, content.cy - client.bottom));
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = std::max<int>(content.cx - 1, 0);
        info.nPage = static_cast<UINT>(client.right);
        info.nPos = posX_;
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        info.nMax = std::max<int>(content.cy - 1, 0);
        info.nPage = static_cast<UINT>(client.bottom);
        info.nPos = posY_;
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
        RECT after{};
        GetClientRect(Handle(), &after);
        if (after.right == client.right && after.bottom == client.bottom) break;
    }
    if (content_ != nullptr) {
        SetWindowPos(content_, /*after=*/nullptr, -posX_, -posY_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    updating_ = false;
}

int ScrollBox::NewPos(int bar, WPARAM request) const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar, &info);
    const int page = static_cast<int>(info.nPage);
    switch (LOWORD(request)) {
        case SB_LINEUP:
            return info.nPos - kLine;
        case SB_LINEDOWN:
            return info.nPos + kLine;
        case SB_PAGEUP:
            return info.nPos - page;
        case SB_PAGEDOWN:
            return info.nPos + page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return info.nTrackPos;
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return info.nMax;
        default:
            return info.nPos;
    }
}

LRESULT ScrollBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            // Black round the content, or in high contrast the scheme's window colour.
            RECT client{};
            GetClientRect(Handle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client,
                     Brush(RoleColor(ColorRole::Background, RGB(0, 0, 0))).Handle());
            return 1;
        }
        case WM_SIZE:
            UpdateBars();
            break;
        case WM_HSCROLL:
            ScrollTo(NewPos(SB_HORZ, wParam), posY_);
            return 0;
        case WM_VSCROLL:
            ScrollTo(posX_, NewPos(SB_VERT, wParam));
            return 0;
        case WM_MOUSEWHEEL:
            ScrollTo(posX_, posY_ - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * kLine / WHEEL_DELTA);
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace fw
