// The link label's rules: text flags, look by hover state, text rectangle, automatic sizing,
// accelerators and when a press opens the target.
#include <gtest/gtest.h>

#include "controls/BControlsLogic.h"

using namespace corvalend;

TEST(LinkLabelFlags, EllipsisAndAlignmentsOnlyWhenFittedWithoutAutoSize) {
    // Automatic sizing on, or FitInRect off: one line from the top left, whatever else is set.
    for (bool fit : {false, true}) {
        for (bool autoSize : {false, true}) {
            if (fit && !autoSize) continue;
            for (TFitType type : {ftNormal, ftFilename}) {
                for (TAlignment align : {taLeftJustify, taRightJustify, taCenter}) {
                    for (TVertAlign vert : {vaTop, vaCenter, vaBottom}) {
                        EXPECT_EQ(LabelDrawTextFlags(fit, autoSize, type, align, vert), 0x0020u)
                            << fit << autoSize << type << align << vert;
                    }
                }
            }
        }
    }
    EXPECT_EQ(LabelDrawTextFlags(true, false, ftNormal, taLeftJustify, vaTop), 0x0020u | 0x8000u);
    EXPECT_EQ(LabelDrawTextFlags(true, false, ftFilename, taLeftJustify, vaTop), 0x0020u | 0x4000u);
    EXPECT_EQ(LabelDrawTextFlags(true, false, ftNormal, taCenter, vaCenter), 0x0020u | 0x8000u | 0x0001u | 0x0004u);
    EXPECT_EQ(LabelDrawTextFlags(true, false, ftFilename, taRightJustify, vaBottom),
              0x0020u | 0x4000u | 0x0002u | 0x0008u);
}

TEST(LinkLabelLook, HoverColourStyleAndBackground) {
    const TLabelColors colors{.Color = clBtnFace,
                              .FontColor = clBlue,
                              .FontStyle = fsBold | fsUnderline,
                              .HoverColor = clRed,
                              .HoverBGColor = 0x00FFFF,
                              .HoverStyle = fsUnderline,
                              .UseHoverBGColor = false};
    EXPECT_EQ(LabelPaintLook(false, colors), (TLabelLook{clBtnFace, clBlue, fsBold | fsUnderline}));
    // Not using the hover background: the label's own colour stays.
    EXPECT_EQ(LabelPaintLook(true, colors), (TLabelLook{clBtnFace, clRed, fsUnderline}));
    TLabelColors withBackground = colors;
    withBackground.UseHoverBGColor = true;
    EXPECT_EQ(LabelPaintLook(true, withBackground), (TLabelLook{0x00FFFF, clRed, fsUnderline}));
    EXPECT_EQ(LabelPaintLook(false, withBackground), (TLabelLook{clBtnFace, clBlue, fsBold | fsUnderline}));
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clRed));
    EXPECT_EQ(clRed, 255u);
}

TEST(LinkLabelGeometry, MarginAndAutomaticSizing) {
    EXPECT_EQ(LabelTextRect(100, 20, 0), (fw::Rect{0, 0, 100, 20}));
    EXPECT_EQ(LabelTextRect(100, 20, 4), (fw::Rect{4, 4, 96, 16}));
    EXPECT_EQ(LabelTextRect(6, 6, 4), (fw::Rect{4, 4, 2, 2}));  // empty: DrawText draws nothing

    const fw::Rect bounds{200, 30, 260, 43};
    EXPECT_EQ(AutoSizeBounds(bounds, 90, 13, 0, taLeftJustify), (fw::Rect{200, 30, 290, 43}));
    EXPECT_EQ(AutoSizeBounds(bounds, 90, 13, 0, taCenter), (fw::Rect{200, 30, 290, 43}));
    // Right-justified: the right edge stays put.
    EXPECT_EQ(AutoSizeBounds(bounds, 90, 13, 0, taRightJustify), (fw::Rect{170, 30, 260, 43}));
    EXPECT_EQ(AutoSizeBounds(bounds, 20, 13, 0, taRightJustify), (fw::Rect{240, 30, 260, 43}));
    // The margin is kept around the text, so fitted text is never cut by it.
    EXPECT_EQ(AutoSizeBounds(bounds, 90, 13, 4, taLeftJustify), (fw::Rect{200, 30, 298, 51}));
    EXPECT_EQ(AutoSizeBounds(bounds, 90, 13, 4, taRightJustify), (fw::Rect{162, 30, 260, 51}));
}

TEST(LinkLabelHover, TransitionsFollowHoverSwitch) {
    EXPECT_TRUE(EnterChangesHover(false, true));
    EXPECT_FALSE(EnterChangesHover(false, false));  // Hover off: entering changes nothing
    EXPECT_FALSE(EnterChangesHover(true, true));    // already hovered
    EXPECT_FALSE(EnterChangesHover(true, false));
}

TEST(LinkLabelAccelerator, CharacterAfterASingleAmpersand) {
    EXPECT_EQ(AcceleratorChar(u"&Manage hotkeys"), u'M');
    EXPECT_EQ(AcceleratorChar(u"Check for &updates"), u'u');
    EXPECT_EQ(AcceleratorChar(u"Manage hotkeys"), 0);
    EXPECT_EQ(AcceleratorChar(u""), 0);
    EXPECT_EQ(AcceleratorChar(u"Trailing&"), 0);
    EXPECT_EQ(AcceleratorChar(u"Tom && Jerry"), 0);      // a literal ampersand
    EXPECT_EQ(AcceleratorChar(u"Tom &&& Jerry"), u' ');  // literal, then a prefix before the blank
    EXPECT_EQ(AcceleratorChar(u"A&&&B"), u'B');
    EXPECT_EQ(AcceleratorChar(u"&&&&"), 0);
    EXPECT_EQ(AcceleratorChar(u"&First &Second"), u'F');  // the first one counts
    EXPECT_EQ(AcceleratorChar(u"Gr\u00FC&\u00DFe"), u'\u00DF');

    EXPECT_TRUE(IsAccelerator(u"&Manage", u'm'));
    EXPECT_TRUE(IsAccelerator(u"&Manage", u'M'));
    EXPECT_TRUE(IsAccelerator(u"&\u00C4rger", u'\u00E4'));  // case ignored beyond ASCII
    EXPECT_FALSE(IsAccelerator(u"&Manage", u'a'));
    EXPECT_FALSE(IsAccelerator(u"M&&anage", u'a'));
    EXPECT_FALSE(IsAccelerator(u"Manage", 0));
    EXPECT_FALSE(IsAccelerator(u"Manage&", 0));
}

TEST(LinkLabelPress, OnlyLeftPressWithExecuteFileAndTarget) {
    EXPECT_TRUE(PressExecutes(u"http://example.invalid/", mbLeft, true));
    EXPECT_FALSE(PressExecutes(u"http://example.invalid/", mbRight, true));
    EXPECT_FALSE(PressExecutes(u"http://example.invalid/", mbMiddle, true));
    EXPECT_FALSE(PressExecutes(u"http://example.invalid/", mbLeft, false));
    EXPECT_FALSE(PressExecutes(u"", mbLeft, true));
}
