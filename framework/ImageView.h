// A child window that shows a picture one to one at its top-left corner and sizes itself to it, so
// its client coordinates are the picture's pixel coordinates. Over the picture it can blend one
// overlay layer with per-pixel alpha, and it hosts graphic controls (a selection, say) that get
// the mouse where they lie; the rest of the mouse input is reported through its events.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "framework/GraphicHostWindow.h"
#include "framework/MouseInput.h"
#include "framework/Picture.h"

namespace fw {

class ImageView final : public GraphicHostWindow {
public:
    // A hidden child of the parent at (0, 0), without a picture.
    ImageView(Application& app, HWND parent);

    const Picture& GetPicture() const { return picture_; }
    // Takes the picture (alpha is ignored: it is shown opaque) and takes its size.
    void SetPicture(Picture picture);

    // The overlay layer, blended over the picture at (0, 0) with its own per-pixel alpha.
    bool HasOverlay() const { return overlay_.has_value(); }
    const Picture* Overlay() const { return overlay_ ? &*overlay_ : nullptr; }
    void AddOverlay(Picture layer);
    void DeleteOverlay();

    // Mouse input not taken by a control, in picture pixels. A press on the picture holds the
    // mouse until every button is up, so moves and the release arrive also outside the view.
    std::function<void(MouseButton button, ShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(ShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(MouseButton button, ShiftState shift, int x, int y)> OnMouseUp;
    // After the picture and its overlay are painted, before the controls (client coordinates).
    std::function<void(HDC dc)> OnPaintOver;
    // After the view took a new size.
    std::function<void()> OnResize;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintContent(HDC dc, const RECT& area) override;
    void OwnMouse(const MouseEvent& event) override;
    void CaptureLost() override;

private:
    Picture picture_;
    std::optional<Picture> overlay_;
    std::vector<std::uint32_t> scratch_;  // the composed pixels of the area being painted
    bool ownDrag_ = false;                // a press on the picture holds the mouse
    MouseButton ownButton_ = MouseButton::Left;
    int lastX_ = 0;
    int lastY_ = 0;
};

}  // namespace fw
