// A child window with the system's scroll bars that scrolls over one child window of its own: the
// bars appear when the child is larger than the box, and the area beside the child is black.
#pragma once

#include <windows.h>

#include "framework/Window.h"

namespace fw {

class ScrollBox final : public Window {
public:
    // A visible child of the parent; exStyle gives its edge (WS_EX_STATICEDGE for a lowered one).
    ScrollBox(Application& app, HWND parent, DWORD exStyle);

    // The window scrolled over; it is placed at the top-left, less the scroll position.
    void SetContent(HWND content);
    // Call after the content changed its size: the ranges follow and the position stays inside them.
    void ContentResized();

    void ScrollTo(int x, int y);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE ContentSize() const;
    void UpdateBars();
    int NewPos(int bar, WPARAM request) const;

    HWND content_ = nullptr;
    int posX_ = 0;
    int posY_ = 0;
    bool updating_ = false;  // showing or hiding a bar resizes the box
};

}  // namespace fw
