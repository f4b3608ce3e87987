// The settings window as a user meets it in the running program: opened from the tray, a hotkey
// added through the wizard with real key presses, then edited, deactivated and deleted in its frame,
// every check's message seen in its box, and the window closed with the program going on. Each step
// is judged by what the user and other programs see: the hotkey file, the clipboard, the windows.
// Each test starts the program itself, with the hotkey file as the user's story has it by then.
#include "tests/e2e/SettingsE2E.h"

using namespace settings_e2e;

TEST_F(SettingsE2E, TrayOpensOneSettingsWindowWithTheVersionLine) {
    Start(kPreparedFile);
    ASSERT_EQ(Settings(), nullptr);
    DoubleClickTrayIcon();
    const HWND settings = WaitForWindow("the settings window after a double click", [this] { return Settings(); });
    ASSERT_NE(settings, nullptr) << "no settings window after a double click";
    EXPECT_EQ(TextOf(settings), u"Settings");
    EXPECT_TRUE(wintest::WaitFor("the settings window in front", [&] { return GetForegroundWindow() == settings; }));

    // "Settings..." of the tray menu shows the same window again.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    EXPECT_TRUE(wintest::WaitFor("the settings window in front", [&] { return GetForegroundWindow() == settings; }));
    int forms = 0;
    for (const HWND window : e2e::TopWindowsOf(Pid())) {
        if (ClassOf(window) == u"Corvalend.Form" && IsWindowVisible(window)) ++forms;
    }
    EXPECT_EQ(forms, 1);
    EXPECT_EQ(Settings(), settings);

    // Every hotkey of the file has its frame, the inactive one too; the unknown action has none.
    EXPECT_EQ(Frames(settings).size(), 2u);
    EXPECT_NE(FrameShowing(settings, u"first"), nullptr);
    EXPECT_NE(FrameShowing(settings, u"old inactive"), nullptr);

    // The other page, turned with the keyboard on its tab, has the version line.
    const HWND tabs = Descendants(settings, u"SysTabControl32", std::nullopt).at(0);
    const HWND otherPage = Descendant(tabs, L"Corvalend.Panel", u"&Other settings");
    ASSERT_NE(otherPage, nullptr);
    const fw::Rect tabsRect = e2e::ScreenRect(tabs);
    e2e::ClickAt(tabsRect.left + 12, tabsRect.top + 8);  // the first tab
    ASSERT_TRUE(Focused(tabs));
    Press(VK_RIGHT);
    ASSERT_TRUE(wintest::WaitFor("the other page", [&] { return IsWindowVisible(otherPage) != FALSE; }));
    std::u16string title;
    for (const HWND label : Descendants(otherPage, u"STATIC", std::nullopt)) {
        if (const std::u16string text = TextOf(label); text.starts_with(u"Corvalend")) title = text;
    }
    EXPECT_EQ(title, u"Corvalend 01.20.01.00");
    Press(VK_LEFT);
    EXPECT_TRUE(wintest::WaitFor("the first page again", [&] { return !IsWindowVisible(otherPage); }));
}

TEST_F(SettingsE2E, WizardShowsItsMessagesThenAddsAHotkeyThatWorksAtOnce) {
    const HWND settings = StartWithSettings(kPreparedFile);
    ASSERT_NE(settings, nullptr) << "needs the settings window open";
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&New hotkey"));
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    ASSERT_NE(wizard, nullptr) << "no wizard";
    const HWND keyField = Descendants(wizard, u"msctls_hotkey32", std::nullopt).at(0);
    ASSERT_TRUE(Focused(keyField));

    // The key page: no key, then a key without a shift key, then a combination an active hotkey has.
    Press(VK_RETURN);
    const std::u16string error = u"Error";
    ASSERT_NE(WaitForWindow("the error box",
                            [&] {
                                const HWND box = wintest::FindTopWindow(Pid(), L"#32770", &error);
                                return box != nullptr && IsWindowVisible(box) ? box : nullptr;
                            }),
              nullptr);
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first") << "hotkeys work while the wizard's message box is up";
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a key for your hotkey.");
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F2);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a shift key for your hotkey.");
    ASSERT_TRUE(Focused(keyField));
    Press(VK_TAB);  // off the key field, which would take Alt+letter for itself
    ASSERT_TRUE(wintest::WaitFor("the focus off the key field",
                                 [&] { return wintest::InFront(wizard) && wintest::FocusOf(wizard) != keyField; }));
    Press('C', MOD_ALT);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&CTRL"), BST_CHECKED));
    Press('A', MOD_ALT);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&ALT"), BST_CHECKED));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    ASSERT_TRUE(InFront(wizard));

    // Ctrl+Alt+F7 belongs to an inactive hotkey only: accepted.
    Press('K', MOD_ALT);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Press(VK_RETURN);
    const HWND finish = WaitForWindow("the action page", [&] { return Descendant(wizard, L"BUTTON", u"&Finish"); });
    ASSERT_NE(finish, nullptr) << "still on the key page";

    // The action page: no action chosen yet.
    ASSERT_TRUE(InFront(wizard));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for the hotkey.");
    ASSERT_TRUE(InFront(wizard));
    const HWND actions = Descendants(wizard, u"ComboBox", std::nullopt).at(0);
    Press('T', MOD_ALT);  // the action list
    ASSERT_TRUE(wintest::WaitFor("the focus on the action list", [&] {
        const HWND focus = wintest::FocusOf(wizard);
        return wintest::InFront(wizard) && (focus == actions || IsChild(actions, focus));
    }));
    e2e::Type(u"p");  // "Place in clipboard", the first action with a P
    EXPECT_TRUE(
        wintest::WaitFor("\"Place in clipboard\" chosen", [&] { return TextOf(actions) == u"Place in clipboard"; }))
        << "action list shows " << fw::Utf16ToUtf8(TextOf(actions));
    Press('R', MOD_ALT);  // the parameter field
    HWND parameters = nullptr;
    ASSERT_TRUE(wintest::WaitFor("the focus on the parameter field", [&] {
        parameters = wintest::FocusOf(wizard);
        return wintest::InFront(wizard) && parameters != nullptr && fw::SameText(ClassOf(parameters), u"Edit");
    }));
    e2e::Type(kWizardText);
    ASSERT_TRUE(wintest::WaitFor("the text in the parameter field", [&] { return TextOf(parameters) == kWizardText; }));
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::WaitFor("the wizard closed", [&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }))
        << "the wizard stays open";

    // The file holds every earlier hotkey of the program's, then the new one, active; it works at once.
    EXPECT_TRUE(wintest::WaitFor("the new hotkey in the file", [] { return FileHolds(kAfterWizard); }))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText);
    EXPECT_NE(WaitForWindow("the new hotkey's frame", [&] { return FrameShowing(settings, kWizardText); }), nullptr)
        << "no frame for the new hotkey";
    EXPECT_EQ(Frames(settings).size(), 3u);
}

TEST_F(SettingsE2E, FrameEditsItsHotkeyAndShowsItsMessages) {
    const HWND settings = StartWithSettings(kAfterWizard);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kWizardText);
    ASSERT_NE(frame, nullptr) << "needs the hotkey the wizard added";
    ASSERT_TRUE(StartEditing(settings, frame));

    // A combination another active hotkey has.
    const HWND keyField = Descendants(frame, u"msctls_hotkey32", std::nullopt).at(0);
    e2e::ClickCentre(keyField);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F2);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    ASSERT_TRUE(InFront(settings));
    EXPECT_TRUE(InEditMode(frame));
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2)) << "the edit was not kept";

    // A combination another program holds; the hotkey's own (F7, held by the program) is saved below.
    {
        const wintest::HeldCombination held(kCtrlAlt, VK_F3);
        ASSERT_TRUE(held.Held());
        e2e::ClickCentre(keyField);
        ASSERT_TRUE(Focused(keyField));
        Press(VK_F3);
        EXPECT_TRUE(KeyFieldShows(keyField, VK_F3));
        e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
        EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is used by another program.");
        ASSERT_TRUE(InFront(settings));
        EXPECT_TRUE(InEditMode(frame));
    }

    // No action: a list of actions offers no way to choose none, and a hotkey file's action of no
    // known name gives no frame; only another program can take the choice away.
    e2e::ClickCentre(keyField);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Ask(Descendants(frame, u"ComboBox", std::nullopt).at(0), CB_SETCURSEL, static_cast<WPARAM>(-1));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for your hotkey.");
    ASSERT_TRUE(InFront(settings));
    EXPECT_TRUE(InEditMode(frame));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Cance&l"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText) << "nothing was saved";

    // A new text, kept on the screen while the frame is in edit mode.
    ASSERT_TRUE(StartEditing(settings, frame));
    ReplaceFieldText(ParametersField(frame), kEditedText);
    EXPECT_TRUE(wintest::WaitFor("the new text in the parameter field", [&] {
        return TextOf(ParametersField(frame)) == kEditedText;
    })) << fw::Utf16ToUtf8(TextOf(ParametersField(frame)));
    const std::u16string artefact = e2e::ArtefactPath(u"settings-e2e.bmp");
    fw::Win32FileStore().Replace(artefact, fw::EncodeBmp(fw::GrabScreen(e2e::ScreenRect(settings))));
    std::printf("settings window screenshot: %s\n", e2e::HostPath(artefact).c_str());

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    EXPECT_TRUE(Shows(frame, kEditedText)) << "the view shows the saved text";
    // A frame's save stores a window state for every action: "NORMAL" when none was chosen.
    EXPECT_TRUE(FileHolds(kAfterEdit)) << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kEditedText);
}

TEST_F(SettingsE2E, DeactivatedHotkeyStaysInTheFileButDoesNothing) {
    const HWND settings = StartWithSettings(kAfterEdit);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    ASSERT_TRUE(StartEditing(settings, frame));
    const HWND active = Descendant(frame, L"BUTTON", u"Ac&tive");
    e2e::ClickCentre(active);
    EXPECT_TRUE(BoxShows(active, BST_UNCHECKED));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));

    EXPECT_TRUE(wintest::WaitFor("the hotkey inactive in the file", [] { return FileHolds(kAfterDeactivation); }))
        << Printable(HotkeyFileBytes());
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7)) << "the combination is still taken";
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, DeletedHotkeyLeavesTheFileAndTheWindow) {
    const HWND settings = StartWithSettings(kAfterDeactivation);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    // Made active again first, so that its deletion has something to withdraw.
    ASSERT_TRUE(StartEditing(settings, frame));
    const HWND active = Descendant(frame, L"BUTTON", u"Ac&tive");
    e2e::ClickCentre(active);
    ASSERT_TRUE(BoxShows(active, BST_CHECKED));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    ASSERT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    ASSERT_FALSE(e2e::CanRegister(kCtrlAlt, VK_F7));
    const std::optional<std::string> beforeDeletion = HotkeyFileBytes();

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"&Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDNO), u"Are you sure you want to delete this global hotkey?");
    ASSERT_TRUE(InFront(settings));
    EXPECT_EQ(Frames(settings).size(), 3u) << "answering No deleted it";
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"&Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDYES), u"Are you sure you want to delete this global hotkey?");
    EXPECT_TRUE(wintest::WaitFor("the frame gone", [&] { return !IsWindow(frame); })) << "the frame is still there";
    EXPECT_EQ(Frames(settings).size(), 2u);
    EXPECT_TRUE(wintest::WaitFor("the hotkey gone from the file", [] { return FileHolds(kAfterDeletion); }))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile() + u".bak"), beforeDeletion) << "the replaced file is kept";
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7));
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, CloseEndsTheWindowButNotTheProgram) {
    const HWND settings = StartWithSettings(kAfterDeletion);
    ASSERT_NE(settings, nullptr);
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&Close"));
    EXPECT_TRUE(wintest::WaitFor("the settings window destroyed", [&] { return !IsWindow(settings); }))
        << "the window was not destroyed";
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");

    // The tray makes a new window the next time, from the file as it is; Esc closes it too.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    const HWND again = WaitForWindow("a new settings window", [this] { return Settings(); });
    ASSERT_NE(again, nullptr) << "no settings window after the first was closed";
    EXPECT_EQ(Frames(again).size(), 2u);
    EXPECT_TRUE(wintest::WaitFor("the new settings window in front", [&] { return GetForegroundWindow() == again; }));
    ASSERT_TRUE(InFront(again));
    Press(VK_ESCAPE);
    EXPECT_TRUE(wintest::WaitFor("the new settings window destroyed", [&] { return !IsWindow(again); }))
        << "Esc did not close the window";
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");
}
