// The link label's decisions without the system: text flags, look, rectangles, accelerators, presses.
#include "controls/BControlsLogic.h"

#include "framework/Text.h"

namespace corvalend {

uint32_t LabelDrawTextFlags(bool FitInRect,
                            bool AutoSize,
                            TFitType FitType,
                            TAlignment Alignment,
                            TVertAlign AlignVert) {
    uint32_t flags = dtSingleLine;
    if (!FitInRect || AutoSize) return flags;
    flags |= FitType == ftFilename ? dtPathEllipsis : dtEndEllipsis;
    if (Alignment == taCenter) flags |= dtCenter;
    if (Alignment == taRightJustify) flags |= dtRight;
    if (AlignVert == vaCenter) flags |= dtVCenter;
    if (AlignVert == vaBottom) flags |= dtBottom;
    return flags;
}

fw::Rect LabelTextRect(int Width, int Height, uint8_t Margin) {
    return {Margin, Margin, Width - Margin, Height - Margin};
}

fw::Rect AutoSizeBounds(const fw::Rect& Bounds, int TextWidth, int TextHeight, uint8_t Margin, TAlignment Alignment) {
    const int width = TextWidth + 2 * Margin;
    const int height = TextHeight + 2 * Margin;
    const int left = Alignment == taRightJustify ? Bounds.right - width : Bounds.left;
    return {left, Bounds.top, left + width, Bounds.top + height};
}

TLabelLook LabelPaintLook(bool Hovered, const TLabelColors& Colors) {
    if (!Hovered) return {Colors.Color, Colors.FontColor, Colors.FontStyle};
    return {Colors.UseHoverBGColor ? Colors.HoverBGColor : Colors.Color, Colors.HoverColor, Colors.HoverStyle};
}

bool EnterChangesHover(bool Hovered, bool Hover) {
    return !Hovered && Hover;
}

char16_t AcceleratorChar(std::u16string_view Caption) {
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != u'&') continue;
        if (Caption[i + 1] != u'&') return Caption[i + 1];
        ++i;  // "&&" shows one ampersand
    }
    return 0;
}

bool IsAccelerator(std::u16string_view Caption, char16_t Char) {
    const char16_t accelerator = AcceleratorChar(Caption);
    return accelerator != 0 && fw::FoldCase(accelerator) == fw::FoldCase(Char);
}

bool PressExecutes(std::u16string_view Execute, TMouseButton Button, bool ExecuteFile) {
    return !Execute.empty() && Button == mbLeft && ExecuteFile;
}

}  // namespace corvalend
