// The toolkit's forms and controls as real windows: layout at 96 DPI and scaled, anchors, pages
// and the scrolling column, modal and modeless keyboard handling with real key presses, events of
// the standard controls, hotkeys during a modal loop, and the message dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <fstream>
#include <memory>
#include <vector>

#include "controls/BControls.h"
#include "core/SystemHotkeys.h"
#include "framework/Application.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/MessageDlg.h"
#include "framework/OpenDialog.h"
#include "framework/WinText.h"
#include "framework/Window.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

using fw::akBottom;
using fw::akLeft;
using fw::akRight;
using fw::akTop;
using wintest::ChangeDpi;
using wintest::ClientRect;
using wintest::ExpectScaled;
using wintest::FontHeight;
using wintest::ModalScript;
using wintest::PressCombination;

// A never-shown plain window to own the forms.
class OwnerWindow final : public fw::Window {
public:
    explicit OwnerWindow(fw::Application& app) : Window(app) {
        Create({L"Corvalend.TestFormOwner"}, {.title = u"owner", .style = WS_POPUP, .width = 600, .height = 400});
    }
};

// Tab order: edtName, chkActive, cbKind, hkKey (moved after cbKind), btnOK, btnCancel, memNotes.
class TestForm final : public fw::Form {
public:
    TestForm(fw::Application& app, HWND owner, bool* destroyed = nullptr)
        : Form(app, owner, {.caption = u"Forms test", .clientWidth = 400, .clientHeight = 300}), destroyed_(destroyed) {
        hkKey.PlaceAfter(&cbKind);
        for (const char16_t* kind : {u"First", u"Second", u"Third"}) cbKind.AddItem(kind, 10);
        cbKind.SetItemIndex(0);
        chkActive.OnClick = [this] { ++checkClicks; };
        cbKind.OnSelect = [this] { ++selects; };
        hkKey.OnChange = [this] { ++keyChanges; };
        btnOK.OnClick = [this] { ++okClicks; };
        btnCancel.OnClick = [this] { ++cancelClicks; };
    }
    ~TestForm() override {
        if (destroyed_ != nullptr) *destroyed_ = true;
    }

    fw::Panel pnlTop{*this, {.bounds = {0, 0, 400, 250}, .anchors = fw::kAnchorAll}, {.color = RGB(255, 255, 255)}};
    fw::Label lblName{pnlTop, {.text = u"&Name:", .bounds = {8, 8, 60, 13}}};
    fw::Edit edtName{pnlTop, {.bounds = {70, 5, 322, 21}, .anchors = akLeft | akTop | akRight}};
    fw::CheckBox chkActive{pnlTop, {.text = u"&Active", .bounds = {8, 32, 100, 17}}};
    fw::HotKeyEdit hkKey{pnlTop, {.bounds = {170, 56, 100, 21}}};
    fw::ComboBox cbKind{pnlTop, {.bounds = {8, 56, 150, 21}}};
    fw::Label lblHeading{pnlTop, {.text = u"Heading", .bounds = {8, 90, 200, 20}}};
    fw::Panel pnlBottom{*this, {.bounds = {0, 250, 400, 50}, .anchors = akLeft | akRight | akBottom}};
    fw::Bevel bvlTop{pnlBottom, {.bounds = {0, 0, 400, 2}, .anchors = akLeft | akTop | akRight}};
    fw::Button btnOK{pnlBottom,
                     {.text = u"OK", .bounds = {236, 15, 75, 25}, .anchors = akRight | akBottom},
                     {.isDefault = true, .modalResult = fw::mrOk}};
    fw::Button btnCancel{pnlBottom,
                         {.text = u"Cancel", .bounds = {317, 15, 75, 25}, .anchors = akRight | akBottom},
                         {.isCancel = true, .modalResult = fw::mrCancel}};
    fw::Memo memNotes{*this, {.bounds = {8, 120, 384, 100}, .anchors = fw::kAnchorAll}, {.wantTabs = true}};

    int checkClicks = 0;
    int selects = 0;
    int keyChanges = 0;
    int okClicks = 0;
    int cancelClicks = 0;

private:
    bool* destroyed_;
};

class Forms : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        owner_ = std::make_unique<OwnerWindow>(*app_);
    }
    static void TearDownTestSuite() {
        owner_.reset();
        app_.reset();
    }
    // A form of its own for every test: one shown before remembers its focus, its texts and ticks.
    void SetUp() override { form_ = std::make_unique<TestForm>(*app_, owner_->Handle()); }
    void TearDown() override { form_.reset(); }

    static fw::Application& App() { return *app_; }
    TestForm& Form() { return *form_; }
    static HWND Owner() { return owner_->Handle(); }

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<OwnerWindow> owner_;
    std::unique_ptr<TestForm> form_;
};

TEST_F(Forms, LayoutAt96DpiKeepsAnchoredDistancesOnResize) {
    TestForm& form = Form();
    EXPECT_EQ(ClientRect(form.Handle()), (RECT{0, 0, 400, 300}));
    EXPECT_EQ(form.pnlBottom.PixelBounds(), (RECT{0, 250, 400, 300}));
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{236, 15, 311, 40}));
    EXPECT_EQ(form.edtName.PixelBounds(), (RECT{70, 5, 392, 26}));
    EXPECT_EQ(FontHeight(form.btnOK.Handle()), -11) << "Tahoma 8 pt at 96 DPI";
    EXPECT_NE(form.btnOK.Id(), form.btnCancel.Id());
    EXPECT_EQ(GetDlgCtrlID(form.btnOK.Handle()), form.btnOK.Id());
    EXPECT_EQ(fw::Control::FromHandle(form.btnOK.Handle()), &form.btnOK);

    form.SetClientSize(500, 400);
    EXPECT_EQ(form.pnlTop.PixelBounds(), (RECT{0, 0, 500, 350}));
    EXPECT_EQ(form.pnlBottom.PixelBounds(), (RECT{0, 350, 500, 400}));
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{336, 15, 411, 40})) << "right and bottom anchors keep the distances";
    EXPECT_EQ(form.btnCancel.PixelBounds(), (RECT{417, 15, 492, 40}));
    EXPECT_EQ(form.edtName.PixelBounds(), (RECT{70, 5, 492, 26})) << "left and right anchors stretch";
    EXPECT_EQ(form.lblName.PixelBounds(), (RECT{8, 8, 68, 21})) << "left and top anchors keep the place";
    EXPECT_EQ(form.memNotes.PixelBounds(), (RECT{8, 120, 492, 320}));

    // Bounds set now are taken against the present size.
    form.btnOK.SetBounds({300, 10, 80, 30});
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{300, 10, 380, 40}));
    form.SetClientSize(400, 300);
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{200, 10, 280, 40}));
    form.btnOK.SetBounds({236, 15, 75, 25});
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{236, 15, 311, 40}));
    EXPECT_EQ(form.memNotes.PixelBounds(), (RECT{8, 120, 392, 220}));
}

TEST_F(Forms, DpiChangeScalesLayoutAndFonts) {
    TestForm& form = Form();
    form.lblHeading.SetFont(fw::Font(L"Tahoma", 12, RGB(0, 0, 0)));
    for (const UINT dpi : {144u, 192u, 96u}) {
        ChangeDpi(form, dpi, 400, 300);
        EXPECT_EQ(form.Dpi(), dpi);
        EXPECT_EQ(ClientRect(form.Handle()), (RECT{0, 0, fw::ScaleForDpi(400, dpi), fw::ScaleForDpi(300, dpi)}));
        ExpectScaled(form.pnlBottom.PixelBounds(), {0, 250, 400, 300}, dpi, "pnlBottom");
        ExpectScaled(form.btnOK.PixelBounds(), {236, 15, 311, 40}, dpi, "btnOK");
        ExpectScaled(form.btnCancel.PixelBounds(), {317, 15, 392, 40}, dpi, "btnCancel");
        ExpectScaled(form.edtName.PixelBounds(), {70, 5, 392, 26}, dpi, "edtName");
        ExpectScaled(form.memNotes.PixelBounds(), {8, 120, 392, 220}, dpi, "memNotes");
        EXPECT_EQ(FontHeight(form.btnOK.Handle()), -MulDiv(8, static_cast<int>(dpi), 72));
        EXPECT_EQ(FontHeight(form.lblHeading.Handle()), -MulDiv(12, static_cast<int>(dpi), 72)) << "its own font";
    }
}

// Page controls with and without tabs, and a scrolling column of frames, on a form never shown.
class ColumnFrame final : public fw::Frame {
public:
    explicit ColumnFrame(fw::Container& parent) : Frame(parent, {.bounds = {0, 0, 820, 225}}) {}
    fw::Button btnEdit{*this, {.text = u"Edit", .bounds = {740, 10, 75, 25}, .anchors = akTop | akRight}};
};

TEST_F(Forms, PagesShowOneAtATimeAndTheColumnScrolls) {
    fw::Form form(App(), nullptr, {.caption = u"Containers", .clientWidth = 500, .clientHeight = 400});
    fw::PageControl tabs{form, {.bounds = {0, 0, 500, 200}, .anchors = fw::kAnchorAll}};
    fw::TabSheet first{tabs, u"Hotkeys"};
    fw::TabSheet second{tabs, u"Other settings"};
    int changes = 0;
    tabs.OnChange = [&] { ++changes; };

    EXPECT_EQ(TabCtrl_GetItemCount(tabs.Handle()), 2);
    EXPECT_EQ(tabs.ActivePageIndex(), 0);
    EXPECT_TRUE(first.Visible());
    EXPECT_FALSE(second.Visible());
    RECT display = ClientRect(tabs.Handle());
    TabCtrl_AdjustRect(tabs.Handle(), FALSE, &display);
    EXPECT_EQ(second.PixelBounds(), display) << "a page fills the display area";
    SendMessageW(tabs.Handle(), WM_KEYDOWN, VK_RIGHT, 0);  // as the user moves to the next tab
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tabs.ActivePageIndex(), 1);
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(second.Visible());

    fw::PageControl plain{form, {.bounds = {0, 200, 500, 50}}, /*showTabs=*/false};
    fw::TabSheet one{plain, u"one"};
    fw::TabSheet two{plain, u"two"};
    EXPECT_EQ(two.PixelBounds(), (RECT{0, 0, 500, 50})) << "without tabs a page fills the page control";
    EXPECT_NE(fw::Control::FromHandle(plain.Handle()), nullptr);
    plain.SetActivePage(two);
    EXPECT_EQ(plain.ActivePage(), &two);
    EXPECT_TRUE(two.Visible());
    EXPECT_FALSE(one.Visible());

    fw::ColumnScrollBox box{form, {.bounds = {0, 250, 500, 150}, .anchors = fw::kAnchorAll}};
    std::vector<std::unique_ptr<ColumnFrame>> frames;
    for (int i = 0; i < 4; ++i) {
        frames.push_back(std::make_unique<ColumnFrame>(box));
        frames.back()->SetHeight(100);
    }
    const int width = ClientRect(box.Handle()).right;
    EXPECT_LT(width, 500) << "the scroll bar takes room";
    EXPECT_EQ(box.ColumnHeight(), 400);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[i]->PixelBounds(), (RECT{0, 100 * i, width, 100 * i + 100})) << "frame " << i;
    }
    EXPECT_EQ(frames[0]->btnEdit.PixelBounds(), (RECT{width - 80, 10, width - 5, 35})) << "anchored in the frame";

    // The wheel over a control of a frame scrolls the column (three lines of 16 pixels a notch).
    SendMessageW(frames[1]->btnEdit.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(box.ScrollPosition(), 48);
    EXPECT_EQ(frames[0]->PixelBounds().top, -48);
    EXPECT_EQ(GetScrollPos(box.Handle(), SB_VERT), 48);

    frames[1]->SetVisible(false);
    EXPECT_EQ(box.ColumnHeight(), 300);
    EXPECT_EQ(frames[2]->PixelBounds().top, 100 - 48) << "a hidden frame takes no room";
    box.ScrollTo(10000);
    EXPECT_EQ(box.ScrollPosition(), 300 - 150) << "no further than the end";
    frames.pop_back();
    EXPECT_EQ(box.ColumnHeight(), 200);
    EXPECT_EQ(box.ScrollPosition(), 50) << "the column closes the gap";

    // A virtual column: its height is given, each control stands at its own top in it, and the
    // owner places the controls for the view before the column draws them.
    std::vector<int> viewTops;
    box.OnViewChange = [&] {
        viewTops.push_back(box.View96().top);
        frames[0]->SetBounds({0, viewTops.back() + 10, 100, 100});
    };
    box.SetVirtualHeight(5000);
    EXPECT_EQ(box.ColumnHeight(), 5000);
    frames[2]->SetBounds({0, 4000, 100, 100});
    box.ScrollTo(3950);
    EXPECT_EQ(viewTops.back(), 3950);
    EXPECT_EQ(frames[0]->PixelBounds().top, 10) << "placed by the owner";
    EXPECT_EQ(frames[2]->PixelBounds().top, 50);
    frames.pop_back();
    EXPECT_EQ(box.ColumnHeight(), 5000);
    EXPECT_EQ(box.ScrollPosition(), 3950) << "a virtual column's rows go only when its owner says";
}

TEST_F(Forms, ModalKeyboardEventsAndHotkeys) {
    TestForm& form = Form();
    constexpr uint16_t kHotkeyId = 0x5A1;
    int hotkeys = 0;
    corvalend::SystemHotkeys registrar([&](uint16_t id, uint32_t, uint32_t) {
        if (id == kHotkeyId) ++hotkeys;
    });
    ASSERT_TRUE(registrar.RegisterHotKey(kHotkeyId, MOD_CONTROL | MOD_SHIFT, 'Q'));
    std::vector<HWND> focus;
    const auto tab = [&](unsigned modifiers) {
        return [&focus, modifiers] {
            PressCombination(modifiers, VK_TAB);
            focus.push_back(nullptr);  // filled in by the next step
        };
    };
    const auto record = [&] { focus.back() = GetFocus(); };
    bool ownerDisabled = false;
    bool focusedFirst = false;
    uint16_t key = 0;
    uint8_t modifiers = 0xFF;

    // The keys go to this thread's own form: each takes effect before the step after it runs.
    ModalScript script;
    script.When(
        "the form in front", [&] { return wintest::InFront(form); },
        [&] {
            ownerDisabled = !IsWindowEnabled(Owner());
            focusedFirst = form.edtName.Focused();
        });
    for (int i = 0; i < 5; ++i) script.Then(tab(0)).Then(record);
    script.Then(tab(MOD_SHIFT)).Then(record);
    script.Then(tab(0)).Then(record);
    script.Then(tab(0)).Then(record);
    script.Then(tab(0)).Then(record);  // in the memo Tab types a tab
    script.Then([] { PressCombination(MOD_ALT, 'N'); }).Then([&] { focus.push_back(GetFocus()); });
    script.Then(tab(MOD_SHIFT)).Then(record);  // from the first control back round to the last
    script.Then([&] { form.chkActive.SetFocus(); });
    script.When(
        "the check box focused", [&] { return form.chkActive.Focused(); }, [] { PressCombination(0, VK_SPACE); });
    script.Then([&] { form.cbKind.SetFocus(); });
    script.When(
        "the list focused", [&] { return form.cbKind.Focused(); }, [] { PressCombination(0, VK_DOWN); });
    script.Then([&] { form.hkKey.SetFocus(); });
    script.When(
        "the key field focused", [&] { return form.hkKey.Focused(); }, [] { PressCombination(MOD_CONTROL, 'K'); });
    // Read at once: the key field starts again with the next key pressed in it, a modifier too.
    script.Then([&] {
        key = form.hkKey.Key();
        modifiers = form.hkKey.Modifiers();
        form.edtName.SetFocus();
    });
    script.When(
        "the name field focused", [&] { return form.edtName.Focused(); },
        [] { PressCombination(MOD_CONTROL | MOD_SHIFT, 'Q'); });
    script.When(
        "the hotkey through the program's hotkey window", [&] { return hotkeys == 1; },
        [] { PressCombination(0, VK_RETURN); });
    script.Start([&] { form.SetModalResult(fw::mrAbort); });
    const int result = form.ShowModal();
    registrar.UnregisterHotKey(kHotkeyId);

    EXPECT_EQ(result, fw::mrOk) << "Enter presses the default button";
    EXPECT_EQ(form.okClicks, 1);
    EXPECT_TRUE(ownerDisabled) << "the owner is disabled while the form is modal";
    EXPECT_TRUE(IsWindowEnabled(Owner())) << "and enabled again after";
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(focusedFirst) << "the first control in tab order has the focus";
    const std::vector<HWND> expected{form.chkActive.Handle(), form.cbKind.Handle(),    form.hkKey.Handle(),
                                     form.btnOK.Handle(),     form.btnCancel.Handle(), form.btnOK.Handle(),
                                     form.btnCancel.Handle(), form.memNotes.Handle(),  form.memNotes.Handle(),
                                     form.edtName.Handle(),   form.memNotes.Handle()};
    EXPECT_EQ(focus, expected) << "Tab, Shift+Tab and Alt+N in creation order (hkKey moved after cbKind)";
    EXPECT_EQ(form.memNotes.Text(), u"\t") << "the memo that wants tabs types one";
    EXPECT_EQ(form.checkClicks, 1);
    EXPECT_TRUE(form.chkActive.Checked());
    EXPECT_EQ(form.selects, 1);
    EXPECT_EQ(form.cbKind.ItemIndex(), 1);
    EXPECT_EQ(form.cbKind.ItemText(1), u"Second");
    EXPECT_EQ(form.cbKind.ItemObject(1), 10);
    EXPECT_EQ(key, 'K') << "the bare key, without CTRL";
    EXPECT_EQ(modifiers, 0);
    EXPECT_GE(form.keyChanges, 1);
    EXPECT_EQ(hotkeys, 1) << "the hotkey reached its window during the modal loop";
}

TEST_F(Forms, EscAndCloseBoxEndWithCancel) {
    TestForm& form = Form();
    const int cancels = form.cancelClicks;
    ModalScript escape;
    escape
        .When(
            "the form in front", [&] { return wintest::InFront(form); }, [&] { form.memNotes.SetFocus(); })
        .When(
            "the memo focused", [&] { return form.memNotes.Focused(); }, [] { PressCombination(0, VK_ESCAPE); });
    escape.Start([&] { form.SetModalResult(fw::mrAbort); });
    EXPECT_EQ(form.ShowModal(), fw::mrCancel) << "Esc, even in a memo that wants tabs";
    EXPECT_EQ(form.cancelClicks, cancels + 1);

    bool allow = false;
    int queries = 0;
    std::vector<fw::CloseAction> actions;
    form.OnCloseQuery = [&] {
        ++queries;
        return allow;
    };
    form.OnClose = [&](fw::CloseAction& action) { actions.push_back(action); };
    bool stillOpen = false;
    ModalScript closeBox;
    closeBox.When(
        "the form in front again", [&] { return wintest::InFront(form); },
        [&] { PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    closeBox.When(
        "the first close asked", [&] { return queries == 1; },
        [&] {
            stillOpen = form.Modal() && form.Visible();
            allow = true;
            PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    closeBox.Start([&] { form.SetModalResult(fw::mrAbort); });
    EXPECT_EQ(form.ShowModal(), fw::mrCancel) << "the close box";
    form.OnCloseQuery = nullptr;
    form.OnClose = nullptr;
    EXPECT_TRUE(stillOpen) << "OnCloseQuery kept the form open";
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(actions, std::vector<fw::CloseAction>{fw::CloseAction::Hide});
    EXPECT_EQ(form.cancelClicks, cancels + 1) << "the close box does not press Cancel";
}

TEST_F(Forms, FailingToShowEndsTheModalStateAndReportsTheError) {
    TestForm& form = Form();
    form.OnShow = [] { throw fw::Error(u"Cannot show"); };
    EXPECT_THROW(form.ShowModal(), fw::Error);
    form.OnShow = nullptr;
    EXPECT_FALSE(form.Modal());
    EXPECT_TRUE(IsWindowEnabled(Owner()));
    EXPECT_FALSE(form.Visible());
}

TEST_F(Forms, ModelessFormGetsDialogKeysAndFreesItself) {
    bool destroyed = false;
    auto* form = new TestForm(App(), nullptr, &destroyed);
    TBLabel web(*form, {.text = u"&Web", .bounds = {300, 100, 65, 13}});
    int webClicks = 0;
    web.OnClick = [&](TBLabel&) { ++webClicks; };
    form->SetCloseAction(fw::CloseAction::Free);
    HWND afterTab = nullptr;
    int okClicks = -1;
    int cancelClicks = -1;
    int checkClicks = -1;
    bool stillShown = false;

    // The keys go to this thread's own form: each takes effect before the step after it runs.
    ModalScript script;
    script.When(
        "the form in front", [&] { return wintest::InFront(*form); }, [] { PressCombination(0, VK_TAB); });
    script.Then([&] { afterTab = GetFocus(); });
    script.Then([] { PressCombination(0, VK_RETURN); });
    script.Then([] { PressCombination(0, VK_ESCAPE); });
    script.Then([] { PressCombination(MOD_ALT, 'W'); });
    script.Then([] { PressCombination(MOD_ALT, 'A'); });
    script.Then([&] {
        okClicks = form->okClicks;
        cancelClicks = form->cancelClicks;
        checkClicks = form->checkClicks;
        stillShown = form->Visible();
        PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    const HWND chkActive = form->chkActive.Handle();
    form->Show();
    script.Start([&] { form->Hide(); });
    while (!destroyed && !script.Done()) App().ProcessMessage();
    wintest::WaitFor("the form's release", [&] { return destroyed; });

    EXPECT_EQ(afterTab, chkActive) << "Tab moves on in a modeless form";
    EXPECT_EQ(okClicks, 1) << "Enter";
    EXPECT_EQ(cancelClicks, 1) << "Esc";
    EXPECT_EQ(webClicks, 1) << "Alt+W reached the link label";
    EXPECT_EQ(checkClicks, 1) << "Alt+A pressed the check box";
    EXPECT_TRUE(stillShown) << "buttons with modal results do not close a modeless form";
    EXPECT_TRUE(destroyed) << "the close action Free deleted the form";
}

TEST_F(Forms, MessageDialogsShowCaptionIconAndButtons) {
    struct Case {
        fw::MessageType type;
        fw::MessageButtons buttons;
        int defaultResult;
        const char16_t* caption;
        const wchar_t* icon;
        std::vector<int> shown;
        int press;
    };
    const Case cases[] = {
        {fw::MessageType::Error, fw::MessageButtons::Ok, fw::mrNone, u"Error", IDI_HAND, {IDOK}, IDOK},
        {fw::MessageType::Confirmation,
         fw::MessageButtons::YesNo,
         fw::mrNo,
         u"Confirm",
         IDI_QUESTION,
         {IDYES, IDNO},
         IDYES},
        {fw::MessageType::Information,
         fw::MessageButtons::YesNo,
         fw::mrNone,
         u"Information",
         IDI_ASTERISK,
         {IDYES, IDNO},
         IDNO},
        {fw::MessageType::Warning,
         fw::MessageButtons::OkCancel,
         fw::mrCancel,
         u"Warning",
         IDI_EXCLAMATION,
         {IDOK, IDCANCEL},
         IDCANCEL},
    };
    for (const Case& c : cases) {
        wintest::MessageBoxWatcher box(c.caption, c.press);
        const int result =
            fw::MessageDlg(Form().edtName.Handle(), u"Message text.", c.type, c.buttons, c.defaultResult);
        const std::string name(fw::Utf16ToUtf8(c.caption));
        ASSERT_TRUE(box.Wait(wintest::kPatience)) << name;
        EXPECT_EQ(result, c.press) << name;
        EXPECT_EQ(box.Text(), u"Message text.") << name;
        EXPECT_EQ(box.Icon(), LoadIconW(nullptr, c.icon)) << name;
        EXPECT_EQ(box.Buttons(), c.shown) << name;
        const int expectedDefault = c.defaultResult != fw::mrNone ? c.defaultResult : c.shown.front();
        EXPECT_EQ(box.DefaultButton(), expectedDefault) << name;
    }
}

TEST_F(Forms, OpenDialogShowsTheFilterAndGivesTheChosenPath) {
    const wintest::ScratchFolder folder;
    const std::u16string file = folder.File(u"notes.txt");
    CloseHandle(CreateFileW(fw::AsWide(file), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    fw::OpenDialog dialog;
    // Quotes and arguments are no file name: the dialog must open all the same.
    dialog.FileName = u"\"C:\\Program Files\\x.exe\" <arg>";
    std::u16string filterShown;
    HWND box = nullptr;
    // The dialog's loop runs on this thread and so do the script's steps.
    ModalScript script;
    script.When(
        "the Open dialog with its filter",
        [&] {
            const std::u16string caption = u"Open";
            box = wintest::FindTopWindow(GetCurrentProcessId(), L"#32770", &caption);
            return box != nullptr && IsWindowVisible(box) && GetWindowTextLengthW(GetDlgItem(box, cmb1)) > 0;
        },
        [&] {
            wchar_t text[512] = {};
            GetDlgItemTextW(box, cmb1, text, 512);
            filterShown = fw::FromWide(text);
            SetDlgItemTextW(box, cmb13, fw::AsWide(file));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    script.Start([&] { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    const bool chosen = dialog.Execute(Form().edtName.Handle());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.FileName, file);
    EXPECT_EQ(filterShown, u"*.*");
}

}  // namespace
