// Layout arithmetic without the system: DPI scaling and anchored distances.
#include "framework/FormLayout.h"

#include <algorithm>

namespace fw {

namespace {

int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// One axis: the position and length of a control between its parent's edges.
struct Span {
    int start;
    int length;
};

Span PlaceAxis(int start, int length, bool nearEdge, bool farEdge, int parentDesign, int parentPixels, unsigned dpi) {
    const int scaledStart = ScaleForDpi(start, dpi);
    const int scaledLength = ScaleForDpi(length, dpi);
    const int farGap = ScaleForDpi(parentDesign - start - length, dpi);
    if (nearEdge && farEdge) return {scaledStart, std::max(0, parentPixels - farGap - scaledStart)};
    if (farEdge) return {parentPixels - farGap - scaledLength, scaledLength};
    if (nearEdge) return {scaledStart, scaledLength};
    // Neither edge: the control keeps its place relative to the parent's centre.
    return {scaledStart + (parentPixels - ScaleForDpi(parentDesign, dpi)) / 2, scaledLength};
}

}  // namespace

int ScaleForDpi(int value, unsigned dpi) {
    return MulDivRound(value, static_cast<int>(dpi), 96);
}

int UnscaleForDpi(int pixels, unsigned dpi) {
    return dpi == 0 ? pixels : MulDivRound(pixels, 96, static_cast<int>(dpi));
}

Bounds ScaleForDpi(const Bounds& bounds, unsigned dpi) {
    return {ScaleForDpi(bounds.left, dpi), ScaleForDpi(bounds.top, dpi), ScaleForDpi(bounds.width, dpi),
            ScaleForDpi(bounds.height, dpi)};
}

Bounds PlaceAnchored(const Bounds& design, Anchors anchors, Size parentDesign, Size parentPixels, unsigned dpi) {
    const Span horizontal = PlaceAxis(design.left, design.width, anchors & akLeft, anchors & akRight,
                                      parentDesign.width, parentPixels.width, dpi);
    const Span vertical = PlaceAxis(design.top, design.height, anchors & akTop, anchors & akBottom, parentDesign.height,
                                    parentPixels.height, dpi);
    return {horizontal.start, vertical.start, horizontal.length, vertical.length};
}

}  // namespace fw
