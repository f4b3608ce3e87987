// The levels and the window in front as the system gives them, and the notice through the tray icon.
// Wine has no privilege isolation (every process runs at one level): refusals are tested natively.
#include <gtest/gtest.h>

#include "controls/TrayIcon.h"
#include "core/SystemIntegrity.h"
#include "framework/Application.h"
#include "framework/WinText.h"
#include "tests/support/Front.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

TEST(ElevatedWindow, LevelsAndTitleAreReadAndTheNoticeLeavesTheWindowInFront) {
    fw::Application app(GetModuleHandleW(nullptr));
    const fw::UniqueWindow window(CreateWindowExW(0, L"STATIC", L"Level probe \U0001F600", WS_POPUP | WS_VISIBLE, 100,
                                                  100, 200, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(wintest::BringToFront(window.get()));
    SystemIntegrity system;
    const std::optional<uint32_t> own = system.OwnLevel();
    ASSERT_TRUE(own.has_value());
    EXPECT_TRUE(*own <= kProtectedIntegrity && (*own % 0x1000 == 0 || *own == kMediumPlusIntegrity)) << *own;
    const WindowInFront front = system.Foreground();
    EXPECT_EQ(front.id, reinterpret_cast<uintptr_t>(window.get()));
    EXPECT_EQ(front.level, own);
    EXPECT_EQ(front.title, u"Level probe \U0001F600");

    TTrayIcon icon(app, nullptr);
    icon.SetIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
    icon.SetIconVisible(true);
    ASSERT_TRUE(icon.ShowNotice(u"Corvalend", u"Windows does not let Corvalend act"));
    EXPECT_EQ(fw::FromWide(icon.IconData().szInfo), u"Windows does not let Corvalend act");
    EXPECT_EQ(fw::FromWide(icon.IconData().szInfoTitle), u"Corvalend");
    EXPECT_EQ(icon.IconData().dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    DWORD shell = 0;  // the process of the tray window, which shows the balloon
    GetWindowThreadProcessId(FindWindowW(L"__winex11_standalone_tray", nullptr), &shell);
    ASSERT_TRUE(wintest::WaitFor("the balloon", [shell] {
        const HWND tip = wintest::FindTopWindow(shell, L"tooltips_class32");
        return tip != nullptr && IsWindowVisible(tip) && (GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON);
    }));
    EXPECT_TRUE(wintest::InFront(window.get()));
}
