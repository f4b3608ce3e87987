// Entry point of the Windows test programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "core/datau.h"
#include "framework/Registry.h"
#include "ui/WindowPlacementRules.h"
#include "ui/frmFirstUseU.h"

// Each test's settings window opens centred at its designed size, wherever an earlier one was left.
struct ForgetSettingsPlace final : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        fw::RegistryIni(corvalend::kProgramKey).DeleteValue(corvalend::kSettingsPlacementValue);
    }
};

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{.dwSize = sizeof(controls), .dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    // The data module shows the first-use guide while it has not been finished: the tests that want
    // the guide ask for it themselves.
    fw::RegistryIni(corvalend::kProgramKey).WriteBool(corvalend::kFirstUseValue, false);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetSettingsPlace);
    return RUN_ALL_TESTS();
}
