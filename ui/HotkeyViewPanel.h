// The view panel of a hotkey editor frame: the hotkey's marks and texts, read-only. A settings
// window shows hundreds of frames, and each window costs time to make and to paint, so the panel is
// one window: a text control that draws the marks and texts itself, and whose own text is all of
// them in reading order, which is what screen readers and UI automation read.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "ui/HotkeySettingRules.h"

namespace corvalend {

class THotkeyViewPanel final : public fw::Control {
public:
    THotkeyViewPanel(fw::Container& parent, const fw::ControlInfo& info);

    const THotkeyView& View() const { return view_; }
    // Shows another view; the same one again draws nothing.
    void SetView(const THotkeyView& view);

    // A mark's square in the panel at 96 DPI: 0 is Active, then the modifiers in the order of
    // kModifiers. An outline; a ticked mark has a filled square inside it.
    static fw::Bounds MarkBounds96(size_t mark);

protected:
    bool UsesParentColor() const override { return true; }
    void OnPaint(HDC dc, const RECT& area) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    THotkeyView view_;
};

}  // namespace corvalend
