// TSizeRect: a windowless selection rectangle with eight sizing boxes. Dragging inside moves it,
// dragging a box resizes it (never below twice the box size); it can show a centre mark and a text
// with its size and position, and highlight itself while the mouse is over it. It is not opaque:
// where it draws nothing (a hollow brush, the gaps of a dotted pen) the parent shows through.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "capture/SizeRectLogic.h"
#include "framework/GdiObjects.h"
#include "framework/GraphicControl.h"
#include "framework/Picture.h"
#include "framework/UniqueHandle.h"

namespace corvalend {

class TSizeRect : public fw::GraphicControl {
public:
    // A new control is 100 x 100 at (0, 0), shows its boxes, and is neither hovered nor pressed.
    explicit TSizeRect(fw::GraphicHost& host);

    // Tools. Setters copy the given tool; the normal ones and the fonts repaint, the active ones
    // (used only while highlighted) do not.
    const fw::Brush& NormalBrush() const { return FNormalBrush; }
    void SetNormalBrush(const fw::Brush& value);
    const fw::Pen& NormalPen() const { return FNormalPen; }
    void SetNormalPen(const fw::Pen& value);
    const fw::Brush& ActiveBrush() const { return FActiveBrush; }
    void SetActiveBrush(const fw::Brush& value) { FActiveBrush = value; }
    const fw::Pen& ActivePen() const { return FActivePen; }
    void SetActivePen(const fw::Pen& value) { FActivePen = value; }
    const fw::Brush& NormalBoxBrush() const { return FNormalBoxBrush; }
    void SetNormalBoxBrush(const fw::Brush& value);
    const fw::Pen& NormalBoxPen() const { return FNormalBoxPen; }
    void SetNormalBoxPen(const fw::Pen& value);
    const fw::Brush& ActiveBoxBrush() const { return FActiveBoxBrush; }
    void SetActiveBoxBrush(const fw::Brush& value) { FActiveBoxBrush = value; }
    const fw::Pen& ActiveBoxPen() const { return FActiveBoxPen; }
    void SetActiveBoxPen(const fw::Pen& value) { FActiveBoxPen = value; }
    const fw::Font& NormalDisplayFont() const { return FNormalDisplayFont; }
    void SetNormalDisplayFont(const fw::Font& value);
    const fw::Font& ActiveDisplayFont() const { return FActiveDisplayFont; }
    void SetActiveDisplayFont(const fw::Font& value);
    // The picture for cmCustom; its bottom-left pixel's colour is drawn transparent.
    const fw::Picture& CustomCenterMark() const { return FCustomCenterMark; }
    void SetCustomCenterMark(const fw::Picture& value);

    // Settings; every setter but SetDefaultCursor repaints.
    bool ActiveBoxAnimation() const { return logic_.FActiveBoxAnimation; }
    void SetActiveBoxAnimation(bool value);
    int BoxSize() const { return logic_.FBoxSize; }
    void SetBoxSize(int value);
    TDragBoxPos BoxPos() const { return logic_.FBoxPos; }
    void SetBoxPos(TDragBoxPos value);
    bool AutoHideBoxes() const { return logic_.FAutoHideBoxes; }
    void SetAutoHideBoxes(bool value);
    bool DisplayInfo() const { return logic_.FDisplayInfo; }
    void SetDisplayInfo(bool value);
    bool ActiveAnimation() const { return logic_.FActiveAnimation; }
    void SetActiveAnimation(bool value);
    fw::CursorId DefaultCursor() const { return logic_.FDefaultCursor; }
    void SetDefaultCursor(fw::CursorId value) { logic_.FDefaultCursor = value; }
    TCenterMark CenterMark() const { return logic_.FCenterMark; }
    void SetCenterMark(TCenterMark value);
    int CenterMarkRadius() const { return logic_.FRadius; }
    void SetCenterMarkRadius(int value);
    const std::u16string& DisplayInfoFormat() const { return logic_.FDisplayInfoFormat; }
    void SetDisplayInfoFormat(const std::u16string& value);

    // The frame rectangle's position in the parent and its size; Center is half its size.
    int RectLeft() const { return logic_.RectLeft(); }
    int RectTop() const { return logic_.RectTop(); }
    int RectWidth() const { return logic_.RectWidth(); }
    int RectHeight() const { return logic_.RectHeight(); }
    fw::Point Center() const { return logic_.Center(); }
    bool MouseOverSizeBox() const { return logic_.MouseOverSizeBox(); }
    // Press position, pressed and hovered flags and the box under the mouse.
    const SizeRectLogic& State() const { return logic_; }

    // Draws the boxes at once with the pen and brush last used (the box tools after a paint).
    void ShowBoxes();
    // Hides the boxes until ShowBoxes.
    void HideBoxesPermanently();
    // Repaints the control once without its boxes; the next repaint shows them again.
    void HideBoxes();

    // Events, fired after the control's own handling. Mouse positions are in control pixels.
    std::function<void(TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TSizeRect& sender, fw::ShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(TSizeRect& sender)> OnMouseEnter;
    std::function<void(TSizeRect& sender)> OnMouseLeave;
    std::function<void(TSizeRect& sender)> OnPaint;
    std::function<void(TSizeRect& sender)> OnResize;

protected:
    void Paint(HDC dc) override;
    void Resize() override;
    void MouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y) override;
    void MouseMove(fw::ShiftState shift, int x, int y) override;
    void MouseUp(fw::MouseButton button, fw::ShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Drawing steps, in the order Paint calls them; dc holds the pen and brush to use.
    virtual void DrawSelectionFrame(HDC dc, const RECT& rect);
    virtual void DrawCenterMark(HDC dc, TCenterMark mark);
    virtual void DrawBoxes(HDC dc);

private:
    // The control as its logic sees it.
    class Control final : public SizeRectControl {
    public:
        explicit Control(TSizeRect& owner) : owner_(owner) {}
        int Left() const override { return owner_.Left(); }
        int Top() const override { return owner_.Top(); }
        int Width() const override { return owner_.Width(); }
        int Height() const override { return owner_.Height(); }
        void SetLeft(int value) override { owner_.SetLeft(value); }
        void SetTop(int value) override { owner_.SetTop(value); }
        void SetWidth(int value) override { owner_.SetWidth(value); }
        void SetHeight(int value) override { owner_.SetHeight(value); }
        void SetCursor(fw::CursorId cursor) override { owner_.SetCursorId(cursor); }
        void Repaint() override { owner_.Invalidate(); }

    private:
        TSizeRect& owner_;
    };

    // Selects a pen and brush as the canvas does: a solid brush paints the gaps of a styled pen
    // and the text background in its colour, any other brush leaves them transparent.
    void SelectTools(HDC dc, const fw::Pen& pen, const fw::Brush& brush);
    void DrawInfoText(HDC dc, const std::u16string& text);
    void DrawCustomMark(HDC dc, const fw::Rect& where);

    Control control_{*this};
    SizeRectLogic logic_{control_};

    fw::Brush FNormalBrush;
    fw::Pen FNormalPen;
    fw::Brush FActiveBrush;
    fw::Pen FActivePen;
    fw::Brush FNormalBoxBrush;
    fw::Pen FNormalBoxPen;
    fw::Brush FActiveBoxBrush;
    fw::Pen FActiveBoxPen;
    fw::Font FNormalDisplayFont;
    fw::Font FActiveDisplayFont;
    fw::Picture FCustomCenterMark;
    fw::UniqueBitmap customBitmap_;  // FCustomCenterMark as a system bitmap

    // The pen and brush the canvas holds: the frame pair during the frame, mark and text, the box
    // pair from then on.
    const fw::Pen* canvasPen_ = &FNormalBoxPen;
    const fw::Brush* canvasBrush_ = &FNormalBoxBrush;
};

// Selects a selection's pen and brush into `dc`, with the background mode a solid brush needs. In
// high contrast the scheme's selection colour takes their place (a hollow brush stays hollow, and the
// outline is drawn solid, one pixel wide).
void SelectSelectionTools(HDC dc, const fw::Pen& pen, const fw::Brush& brush);

}  // namespace corvalend
