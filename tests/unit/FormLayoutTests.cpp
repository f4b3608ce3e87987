// Scaling for the DPI and keeping anchored distances.
#include <gtest/gtest.h>

#include "framework/FormLayout.h"

namespace {

using fw::akBottom;
using fw::akLeft;
using fw::akRight;
using fw::akTop;
using fw::Bounds;
using fw::PlaceAnchored;

TEST(FormLayout, ScalesToTheNearestPixel) {
    EXPECT_EQ(fw::ScaleForDpi(75, 96), 75);
    EXPECT_EQ(fw::ScaleForDpi(75, 144), 113);   // 112.5
    EXPECT_EQ(fw::ScaleForDpi(25, 144), 38);    // 37.5
    EXPECT_EQ(fw::ScaleForDpi(395, 120), 494);  // 493.75
    EXPECT_EQ(fw::ScaleForDpi(-8, 144), -12);
    EXPECT_EQ(fw::ScaleForDpi(199, 192), 398);
    EXPECT_EQ(fw::UnscaleForDpi(494, 120), 395);
    EXPECT_EQ(fw::UnscaleForDpi(593, 144), 395);
    EXPECT_EQ(fw::ScaleForDpi(Bounds{231, 8, 75, 25}, 144), (Bounds{347, 12, 113, 38}));
}

TEST(FormLayout, AnchorsKeepDistancesToTheirEdges) {
    const fw::Size design{395, 41};
    const Bounds button{231, 8, 75, 25};
    // Unchanged parent at 96 DPI: where it was designed, whatever the anchors.
    for (const fw::Anchors anchors : {akLeft | akTop, akRight | akTop, akLeft | akRight | akTop, 0u}) {
        EXPECT_EQ(PlaceAnchored(button, anchors, design, design, 96), button) << anchors;
    }
    // 100 pixels wider and 20 higher.
    const fw::Size grown{495, 61};
    EXPECT_EQ(PlaceAnchored(button, akLeft | akTop, design, grown, 96), (Bounds{231, 8, 75, 25}));
    EXPECT_EQ(PlaceAnchored(button, akRight | akTop, design, grown, 96), (Bounds{331, 8, 75, 25}));
    EXPECT_EQ(PlaceAnchored(button, akRight | akBottom, design, grown, 96), (Bounds{331, 28, 75, 25}));
    EXPECT_EQ(PlaceAnchored(button, akLeft | akRight | akTop | akBottom, design, grown, 96), (Bounds{231, 8, 175, 45}));
    EXPECT_EQ(PlaceAnchored(button, 0, design, grown, 96), (Bounds{281, 18, 75, 25})) << "stays centred";
    // Shrunk below the control: never a negative size.
    EXPECT_EQ(PlaceAnchored(button, akLeft | akRight | akTop, design, {100, 41}, 96), (Bounds{231, 8, 0, 25}));
}

TEST(FormLayout, ScaledParentScalesDistancesAndSizes) {
    const fw::Size design{395, 41};
    const Bounds button{312, 8, 75, 25};
    // The parent as the form scales it at 144 DPI.
    const fw::Size scaled{fw::ScaleForDpi(395, 144), fw::ScaleForDpi(41, 144)};
    const Bounds right = PlaceAnchored(button, akRight | akTop, design, scaled, 144);
    EXPECT_EQ(right.width, 113);
    EXPECT_EQ(right.height, 38);
    EXPECT_EQ(scaled.width - (right.left + right.width), 12) << "8 pixels to the right edge, scaled";
    EXPECT_EQ(right.top, 12);
    const Bounds stretched = PlaceAnchored({8, 21, 379, 137}, akLeft | akTop | akRight | akBottom, {395, 158},
                                           {fw::ScaleForDpi(395, 192), fw::ScaleForDpi(158, 192)}, 192);
    EXPECT_EQ(stretched, (Bounds{16, 42, 758, 274}));
}

}  // namespace
