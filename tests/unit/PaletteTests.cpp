// The palette rule: design colours out of high contrast, the scheme's colours by role in it.
#include <gtest/gtest.h>

#include "framework/Palette.h"

using namespace fw;

TEST(Palette, DesignOutOfHighContrastSchemeColoursByRoleInIt) {
    constexpr ColorSpec kBlue = 0xFF0000, kWhite = 0xFFFFFF;
    const ColorSpec gray = SystemColorSpec(kSysGrayText), face = SystemColorSpec(kSysBtnFace);
    const ColorSpec info = SystemColorSpec(24);  // the tooltip colour, which the popup is designed in
    struct Case {
        ColorRole role;
        ColorSpec design, inHighContrast;
    };
    for (const Case& c :
         {Case{ColorRole::Text, kBlue, SystemColorSpec(kSysWindowText)}, Case{ColorRole::Text, gray, gray},
          Case{ColorRole::Background, kWhite, SystemColorSpec(kSysWindow)},
          Case{ColorRole::Background, info, SystemColorSpec(kSysWindow)}, Case{ColorRole::Background, face, face},
          Case{ColorRole::Link, kBlue, SystemColorSpec(kSysHotLight)},
          Case{ColorRole::LinkHover, 0x0000FF, SystemColorSpec(kSysHighlight)},
          Case{ColorRole::Mark, 0, SystemColorSpec(kSysWindowText)},
          Case{ColorRole::Selection, 0x333333, SystemColorSpec(kSysHighlight)}}) {
        EXPECT_EQ(ChooseColor(c.role, c.design, false), c.design) << static_cast<int>(c.role);
        EXPECT_EQ(ChooseColor(c.role, c.design, true), c.inHighContrast) << static_cast<int>(c.role);
    }
}
