// The rules of the link label that need no system: text flags, colours and style by hover state,
// the text rectangle, automatic sizing, accelerator characters and when a press opens the target.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/Geometry.h"
#include "framework/MouseInput.h"

namespace corvalend {

// A colour: 0x00BBGGRR, or one of the system's colours when the top bit is set (index in the low byte).
using TColor = uint32_t;
constexpr TColor SystemColor(uint8_t index) {
    return 0x80000000u | index;
}
constexpr bool IsSystemColor(TColor color) {
    return (color & 0x80000000u) != 0;
}
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clBtnFace = SystemColor(15);    // COLOR_BTNFACE
constexpr TColor clWindowText = SystemColor(8);  // COLOR_WINDOWTEXT

// A set of text styles.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

enum TFitType { ftNormal, ftFilename };
enum TVertAlign { vaTop, vaCenter, vaBottom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The text-drawing flags, with the values the system gives them.
constexpr uint32_t dtCenter = 0x0001;
constexpr uint32_t dtRight = 0x0002;
constexpr uint32_t dtVCenter = 0x0004;
constexpr uint32_t dtBottom = 0x0008;
constexpr uint32_t dtSingleLine = 0x0020;
constexpr uint32_t dtPathEllipsis = 0x4000;
constexpr uint32_t dtEndEllipsis = 0x8000;

// One line always; ellipsis and alignments only when the text is fitted into a rectangle that
// automatic sizing does not choose. Ampersands are left to mark the accelerator.
uint32_t LabelDrawTextFlags(bool FitInRect,
                            bool AutoSize,
                            TFitType FitType,
                            TAlignment Alignment,
                            TVertAlign AlignVert);

// The label's rectangle (0, 0, width, height) less the margin on every side.
fw::Rect LabelTextRect(int Width, int Height, uint8_t Margin);

// Bounds fitted to a caption whose text measures TextWidth x TextHeight, with the margin around it.
// A right-justified label keeps its right edge; the others keep their left edge; the top stays.
fw::Rect AutoSizeBounds(const fw::Rect& Bounds, int TextWidth, int TextHeight, uint8_t Margin, TAlignment Alignment);

struct TLabelLook {
    TColor Background;
    TColor TextColor;
    TFontStyles Style;
    bool operator==(const TLabelLook&) const = default;
};

struct TLabelColors {
    TColor Color;      // the label's background
    TColor FontColor;  // the text colour of the label's font
    TFontStyles FontStyle;
    TColor HoverColor;
    TColor HoverBGColor;
    TFontStyles HoverStyle;
    bool UseHoverBGColor;
};

// Background, text colour and style by hover state. Face and size are always the font's.
TLabelLook LabelPaintLook(bool Hovered, const TLabelColors& Colors);

// The pointer entering makes the label hovered only when hover drawing is on (leaving always
// clears it). True when the state changes (and the label repaints).
bool EnterChangesHover(bool Hovered, bool Hover);

// The caption's accelerator: the character after the first single ampersand ("&&" is a literal
// ampersand); 0 when there is none.
char16_t AcceleratorChar(std::u16string_view Caption);
// Whether a dialog character is the caption's accelerator, letter case ignored.
bool IsAccelerator(std::u16string_view Caption, char16_t Char);

// A press hands the target to the shell only for the left button, with ExecuteFile on and a target.
bool PressExecutes(std::u16string_view Execute, TMouseButton Button, bool ExecuteFile);

}  // namespace corvalend
