// The arithmetic of our window layouts: sizes are designed in pixels at 96 DPI, scaled for the
// monitor's DPI, and anchors keep a control's distances to its parent's edges when the parent
// changes size. No system calls, so the rules are tested natively.
#pragma once

#include "framework/Geometry.h"

namespace fw {

// The edges of the parent a control keeps its distance to. Left and right together stretch the
// control with its parent; neither keeps it centred where it was.
enum Anchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using Anchors = unsigned;
inline constexpr Anchors kAnchorAll = akLeft | akTop | akRight | akBottom;

// A length designed at 96 DPI in pixels at `dpi`, rounded to the nearest pixel (halves away from
// zero), and back.
int ScaleForDpi(int value, unsigned dpi);
int UnscaleForDpi(int pixels, unsigned dpi);
Bounds ScaleForDpi(const Bounds& bounds, unsigned dpi);

// Where a control goes, in device pixels of its parent's client area. `design` are its bounds at 96
// DPI when its parent's client area was `parentDesign` (also at 96 DPI); `parentPixels` is the
// parent's client area now, at `dpi`. Widths and heights never go below zero.
Bounds PlaceAnchored(const Bounds& design, Anchors anchors, Size parentDesign, Size parentPixels, unsigned dpi);

}  // namespace fw
