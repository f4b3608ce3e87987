// The link label: a text that acts like a web link. It is a control on the system's static text
// (so screen readers and UI automation read its caption, the window text), placed, anchored and
// scaled by its container like any other, and drawn by us: on one line, in a hover colour and
// style while the pointer is over it, optionally shortened with an ellipsis, and on a left press it
// can hand a web address or a file to the shell. With automatic sizing it fits itself to its
// caption from the left edge of its bounds, or, right-justified, up to their right edge.
//
// Accelerators: a caption such as "&Manage hotkeys" fires OnClick on Alt+M, when the window it is
// on offers its Alt+keys to its controls (fw::OfferDialogChar; a toolkit form does).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "controls/BControlsLogic.h"
#include "framework/AccessibleName.h"
#include "framework/Controls.h"
#include "framework/UniqueHandle.h"

namespace corvalend {

struct TLabelFont {
    std::u16string Name = u"Tahoma";
    int Size = 8;  // points
    TFontStyles Style = 0;
    TColor Color = clWindowText;
};

class TBLabel final : public fw::Control {
public:
    // Hands a target to the shell; the Windows tests put a recorder in its place.
    using TShellOpen = std::function<void(const std::u16string& Target)>;

    // The caption is `info.text`.
    TBLabel(fw::Container& parent, const fw::ControlInfo& info, const TLabelFont& font = {});

    // The plain label's properties. Changes show at the next paint.
    const std::u16string& Caption() const { return caption_; }
    void SetCaption(std::u16string Caption);  // also the window text
    const TLabelFont& Font() const { return font_; }
    void SetFont(TLabelFont Font);
    TColor Color() const { return color_; }
    void SetColor(TColor Color);
    bool AutoSize() const { return autoSize_; }  // bounds fitted to the caption (and margin)
    void SetAutoSize(bool AutoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Alignment);  // with automatic sizing, fitted again in the bounds as set
    void SetCursor(HCURSOR Cursor);           // null: the arrow

    // The link's properties. Those that change the layout of the text repaint at once.
    bool FitInRect() const { return fitInRect_; }
    void SetFitInRect(bool FitInRect);
    TFitType FitType() const { return fitType_; }
    void SetFitType(TFitType FitType);
    TVertAlign AlignVert() const { return alignVert_; }
    void SetAlignVert(TVertAlign AlignVert);
    uint8_t Margin() const { return margin_; }
    void SetMargin(uint8_t Margin);
    bool Hover() const { return hover_; }
    void SetHover(bool Hover) { hover_ = Hover; }
    TFontStyles HoverStyle() const { return hoverStyle_; }
    void SetHoverStyle(TFontStyles HoverStyle) { hoverStyle_ = HoverStyle; }
    TColor HoverColor() const { return hoverColor_; }
    void SetHoverColor(TColor HoverColor) { hoverColor_ = HoverColor; }
    TColor HoverBGColor() const { return hoverBGColor_; }
    void SetHoverBGColor(TColor HoverBGColor) { hoverBGColor_ = HoverBGColor; }
    bool UseHoverBGColor() const { return useHoverBGColor_; }
    void SetUseHoverBGColor(bool UseHoverBGColor) { useHoverBGColor_ = UseHoverBGColor; }
    const std::u16string& Execute() const { return execute_; }
    void SetExecute(std::u16string Execute) { execute_ = std::move(Execute); }
    bool ExecuteFile() const { return executeFile_; }
    void SetExecuteFile(bool ExecuteFile) { executeFile_ = ExecuteFile; }
    bool Hovered() const { return hovered_; }

    void SetShellOpen(TShellOpen open) { shellOpen_ = std::move(open); }

    // Fires OnClick when the character is the caption's accelerator; true when it was.
    bool DialogChar(char16_t c);

    std::function<void(TBLabel& Sender)> OnClick;
    std::function<void(TBLabel& Sender)> OnMouseEnter;
    std::function<void(TBLabel& Sender)> OnMouseLeave;
    std::function<void(TBLabel& Sender, TMouseButton Button, WPARAM Keys, int X, int Y)> OnMouseDown;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc, const RECT& area) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // The label's own font, made for the form's DPI.
    void ApplyFont() override;
    fw::Bounds WindowBounds(const fw::Bounds& placed) const override;

private:
    void PaintNow();
    void Invalidate();
    void MouseDown(TMouseButton Button, WPARAM Keys, int X, int Y);
    void ButtonUp(int X, int Y);
    void MakeFont();
    HFONT FontFor(TFontStyles style);
    void AdjustBounds();

    std::u16string caption_;
    TLabelFont font_;
    fw::UniqueFont fontHandle_;
    fw::UniqueFont styledFont_;  // the font in another style, for hovering
    TFontStyles styledFontStyle_ = 0;
    TColor color_ = clBtnFace;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    HCURSOR cursor_ = nullptr;

    bool fitInRect_ = true;
    TFitType fitType_ = ftNormal;
    bool hover_ = true;
    TFontStyles hoverStyle_ = fsUnderline;
    TColor hoverColor_ = clRed;
    TColor hoverBGColor_ = clBtnFace;
    std::u16string execute_;
    bool executeFile_ = false;
    bool useHoverBGColor_ = false;
    TVertAlign alignVert_ = vaTop;
    uint8_t margin_ = 0;
    bool hovered_ = false;

    bool pressed_ = false;  // left button went down on the label
    TShellOpen shellOpen_;
    // Read as a link named by its caption: the system would call the text it sees "static text".
    fw::AccessibleName accessibleName_;
};

}  // namespace corvalend
