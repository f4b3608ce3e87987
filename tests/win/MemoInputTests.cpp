// The text input dialog as a real window: its layout, and the caller's placeholder exchange driven
// through the dialog with real key presses.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"
#include "framework/Text.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "ui/frmMemoInputU.h"

using namespace corvalend;

namespace {

using wintest::ClientRect;
using wintest::PressCombination;

// The window that calls the dialog: it has the one-line parameter field. Never shown.
class CallerForm final : public fw::Form {
public:
    explicit CallerForm(fw::Application& app)
        : Form(app, nullptr, {.caption = u"Caller", .clientWidth = 300, .clientHeight = 60}) {}
    fw::Edit edtParameters{*this, {.bounds = {8, 8, 284, 21}}};
};

// The dialog's windows as the user meets them.
struct DialogWindows {
    HWND form = nullptr;
    HWND text = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;
};

std::u16string WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return fw::FromWide(text);
}

// What the dialog showed when it opened.
struct Opened {
    bool found = false;
    std::u16string text;
    int lines = 0;
    bool textFocused = false;
    HWND owner = nullptr;
};

class MemoInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        caller_ = std::make_unique<CallerForm>(*app_);
    }
    static void TearDownTestSuite() {
        caller_.reset();
        app_.reset();
    }

    // Runs the caller's "..." on a parameter field holding `parameter`; once the dialog is in front,
    // the actions run one after another, each once this thread has handled what the one before did
    // (the keys they press go to a window of this thread), and the last of them ends the dialog.
    bool EditParameter(const std::u16string& parameter,
                       const std::vector<std::function<void(const DialogWindows&)>>& actions) {
        caller_->edtParameters.SetText(parameter);
        opened_ = {};
        DialogWindows dialog;
        wintest::ModalScript script;
        script.When(
            "the text input dialog in front",
            [&] {
                const std::u16string caption = u"Input text";
                dialog.form = wintest::FindTopWindow(GetCurrentProcessId(), L"Corvalend.Form", &caption);
                return dialog.form != nullptr && IsWindowVisible(dialog.form) && GetActiveWindow() == dialog.form &&
                       IsChild(dialog.form, GetFocus());
            },
            [&] {
                if (dialog.form == nullptr) return;
                dialog.text = wintest::FindChildWindow(dialog.form, L"Edit");
                dialog.ok = wintest::FindChildWindow(dialog.form, L"Button", L"&OK");
                dialog.cancel = wintest::FindChildWindow(dialog.form, L"Button", L"&Cancel");
                opened_.found = dialog.text != nullptr && dialog.ok != nullptr && dialog.cancel != nullptr;
                opened_.text = WindowText(dialog.text);
                opened_.lines = static_cast<int>(SendMessageW(dialog.text, EM_GETLINECOUNT, 0, 0));
                opened_.textFocused = GetFocus() == dialog.text;
                opened_.owner = GetWindow(dialog.form, GW_OWNER);
            });
        for (const auto& action : actions) {
            script.Then([&dialog, action] {
                if (dialog.form != nullptr) action(dialog);
            });
        }
        script.Start([&] { PostMessageW(dialog.form, WM_CLOSE, 0, 0); });
        const bool ok = EditParametersAsText(*app_, caller_->Handle(), caller_->edtParameters);
        EXPECT_TRUE(opened_.found) << "the dialog and its controls";
        EXPECT_TRUE(opened_.textFocused) << "the text field has the focus";
        EXPECT_EQ(opened_.owner, caller_->Handle());
        return ok;
    }

    static fw::Application& App() { return *app_; }
    static CallerForm& Caller() { return *caller_; }
    std::u16string Parameter() const { return caller_->edtParameters.Text(); }
    const Opened& Shown() const { return opened_; }

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<CallerForm> caller_;
    Opened opened_;
};

void ClickOk(const DialogWindows& dialog) {
    SendMessageW(dialog.ok, BM_CLICK, 0, 0);
}

TEST_F(MemoInput, LayoutAt96DpiFollowsResizeAndDpi) {
    TfrmMemoInput dialog(App(), Caller().Handle());
    EXPECT_EQ(dialog.Caption(), u"Input text");
    EXPECT_EQ(ClientRect(dialog.Handle()), (RECT{0, 0, 395, 199}));
    EXPECT_EQ(dialog.pnlClient.PixelBounds(), (RECT{0, 0, 395, 158}));
    EXPECT_EQ(dialog.Label1.Text(), u"Text:");
    EXPECT_EQ(dialog.Label1.PixelBounds(), (RECT{8, 8, 387, 21}));
    EXPECT_EQ(dialog.edtText.PixelBounds(), (RECT{8, 21, 387, 158})) << "8 from the left and right, to the bottom";
    EXPECT_EQ(dialog.pnlBottom.PixelBounds(), (RECT{0, 158, 395, 199}));
    EXPECT_EQ(dialog.Button1.PixelBounds(), (RECT{231, 8, 306, 33}));
    EXPECT_EQ(dialog.Button2.PixelBounds(), (RECT{312, 8, 387, 33}));
    EXPECT_EQ(dialog.Button1.Text(), u"&OK");
    EXPECT_EQ(dialog.Button2.Text(), u"&Cancel");
    EXPECT_EQ(dialog.DefaultButton(), &dialog.Button1);
    EXPECT_EQ(dialog.CancelButton(), &dialog.Button2);
    EXPECT_TRUE(GetWindowLongPtrW(dialog.Button1.Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongPtrW(dialog.edtText.Handle(), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongPtrW(dialog.edtText.Handle(), GWL_STYLE) & WS_VSCROLL);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog.edtText.Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -11);

    dialog.SetClientSize(495, 299);
    EXPECT_EQ(dialog.Button1.PixelBounds(), (RECT{331, 8, 406, 33})) << "keeps its distance to the right edge";
    EXPECT_EQ(dialog.Button2.PixelBounds(), (RECT{412, 8, 487, 33}));
    EXPECT_EQ(dialog.pnlBottom.PixelBounds(), (RECT{0, 258, 495, 299}));
    EXPECT_EQ(dialog.edtText.PixelBounds(), (RECT{8, 21, 487, 258}));
    dialog.SetClientSize(395, 199);

    for (const UINT dpi : {144u, 192u}) {
        wintest::ChangeDpi(dialog, dpi, 395, 199);
        const RECT bottom = dialog.pnlBottom.PixelBounds();
        const RECT cancel = dialog.Button2.PixelBounds();
        EXPECT_EQ(bottom.bottom - bottom.top, fw::ScaleForDpi(41, dpi));
        EXPECT_EQ(cancel.right - cancel.left, fw::ScaleForDpi(75, dpi));
        EXPECT_EQ(cancel.bottom - cancel.top, fw::ScaleForDpi(25, dpi));
        EXPECT_EQ((bottom.right - bottom.left) - cancel.right, fw::ScaleForDpi(8, dpi)) << "to the right edge";
        wintest::ExpectScaled(dialog.Button1.PixelBounds(), {231, 8, 306, 33}, dpi, "Button1");
        wintest::ExpectScaled(dialog.edtText.PixelBounds(), {8, 21, 387, 158}, dpi, "edtText");
        EXPECT_EQ(wintest::FontHeight(dialog.edtText.Handle()), -MulDiv(8, static_cast<int>(dpi), 72));
    }
}

TEST_F(MemoInput, LineBreakPlaceholdersOpenAsLinesAndComeBackUnchanged) {
    // A placeholder in small letters is no placeholder.
    const std::u16string parameter = u"one<?CR?><?LF?>two<?cr?>";
    EXPECT_TRUE(EditParameter(parameter, {ClickOk}));
    EXPECT_EQ(Shown().text, u"one\r\ntwo<?cr?>");
    EXPECT_EQ(Shown().lines, 2);
    EXPECT_EQ(Parameter(), parameter);
}

TEST_F(MemoInput, TypedLineBreaksAndTabsAreStoredAsPlaceholders) {
    const std::u16string typed = u"a<?CR?><?LF?><?TAB?><?LF?>";
    EXPECT_TRUE(EditParameter(u"", {
                                       [](const DialogWindows&) { wintest::TypeText(u"a"); },
                                       [](const DialogWindows&) { PressCombination(0, VK_RETURN); },
                                       [](const DialogWindows&) { PressCombination(0, VK_TAB); },
                                       [](const DialogWindows&) { wintest::TypeText(u"<?LF?>"); },
                                       ClickOk,
                                   }));
    EXPECT_EQ(Shown().text, u"") << "an empty field opens an empty dialog";
    EXPECT_EQ(Parameter(), typed) << "Enter, Tab and the literal text \"<?LF?>\"";

    // The literal text comes back as a line feed; Esc then leaves the field as it was.
    EXPECT_FALSE(EditParameter(typed, {
                                          [](const DialogWindows&) { wintest::TypeText(u"zz"); },
                                          [](const DialogWindows&) { PressCombination(0, VK_ESCAPE); },
                                      }));
    EXPECT_EQ(Shown().text, u"a\r\n\t\n");
    EXPECT_EQ(Parameter(), typed);
}

TEST_F(MemoInput, CancelAndTheCloseBoxLeaveTheFieldAlone) {
    EXPECT_FALSE(EditParameter(u"keep", {
                                            [](const DialogWindows&) { wintest::TypeText(u"x"); },
                                            [](const DialogWindows& d) { SendMessageW(d.cancel, BM_CLICK, 0, 0); },
                                        }));
    EXPECT_EQ(Parameter(), u"keep");

    EXPECT_FALSE(
        EditParameter(u"", {
                               [](const DialogWindows&) { wintest::TypeText(u"zzz"); },
                               [](const DialogWindows& d) { PostMessageW(d.form, WM_SYSCOMMAND, SC_CLOSE, 0); },
                           }));
    EXPECT_EQ(Parameter(), u"");
}

TEST_F(MemoInput, OkOnAnEmptiedDialogEmptiesTheField) {
    EXPECT_TRUE(EditParameter(u"x", {
                                        [](const DialogWindows& d) { SendMessageW(d.text, EM_SETSEL, 0, -1); },
                                        [](const DialogWindows&) { PressCombination(0, VK_DELETE); },
                                        ClickOk,
                                    }));
    EXPECT_EQ(Shown().text, u"x");
    EXPECT_EQ(Parameter(), u"");
}

}  // namespace
