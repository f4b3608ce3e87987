// The installed keyboard layouts as the questions before a save read them from the system.
#include <gtest/gtest.h>

#include "ui/Win32SaveQuestions.h"

TEST(KeyboardLayoutsWin, EveryInstalledLayoutHasANameAndTypesWithItsKeys) {
    corvalend::Win32KeyboardLayouts layouts;
    ASSERT_GE(layouts.Count(), 1u);
    for (size_t layout = 0; layout < layouts.Count(); ++layout) {
        EXPECT_FALSE(layouts.Name(layout).empty()) << layout;
        EXPECT_EQ(layouts.Typed(layout, VK_SPACE, 0), u" ") << layout;
    }
}
