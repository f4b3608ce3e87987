// The first-use guide as a real window driven with real key presses: its pages and texts, Finish
// writing the chosen suggestions, the registry flag and the log-on entry, Cancel with its question,
// the close box, and the settings window opened from the guide.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Mnemonics.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/frmFirstUseU.h"

using namespace corvalend;

namespace {

using wintest::PressCombination;

constexpr COLORREF kHeadingBlue = 13003057;
const std::u16string kOldRunValue = u"c:\\old\\Corvalend.exe";

class FirstUse : public wintest::ProgramSuite {
protected:
    void SetUp() override {
        SetFirstUse(u"0");  // the data module is made without showing the guide or the settings
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFile()));
        fw::ForceDirectories(fw::ExtractFileDir(HotkeyFile()));
        SetFirstUse(u"1");
        fw::RegistryIni(kRunKey).WriteString(kRunValueName, kOldRunValue);
    }
    void TearDown() override {
        const std::u16string folder = fw::ExtractFileDir(HotkeyFile());  // asked before the data module goes
        data_.reset();
        wintest::DeleteTree(folder);
        SetFirstUse(u"0");
    }

    std::u16string HotkeyFile() const { return data_->DataFile(dftHotkeys); }
    bool FileExists() const { return fw::Win32FileStore().Exists(HotkeyFile()); }
    std::string FileBytes() const { return fw::Win32FileStore().Read(HotkeyFile()).value_or("<missing>"); }
    void WriteFile(const std::vector<THotKeyData>& hotkeys) const {
        THotkeyList file(data_->HotkeyServices());
        for (const THotKeyData& d : hotkeys) file.Add(d.Active, d.Key, d.Shift, d.Func, d.Params, d.Params2, d.Params3);
        file.SaveToFile(HotkeyFile());
    }
    // The file's hotkeys as "<on|off> <key> <shift> <func> <params>" lines.
    std::vector<std::string> FileHotkeys() const {
        THotkeyList file(data_->HotkeyServices());
        file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
        std::vector<std::string> lines;
        for (int i = 0; i < file.Count(); ++i) {
            const THotKeyData& d = file.GetItem(i)->HotKeyData;
            lines.push_back(std::string(d.Active ? "on " : "off ") + std::to_string(d.Key) + " " +
                            std::to_string(d.Shift) + " " + fw::Utf16ToUtf8(HotKeyFuncToStr(d.Func)) + " " +
                            fw::Utf16ToUtf8(d.Params));
        }
        return lines;
    }
    static std::u16string FirstUseValue() {
        return fw::RegistryIni(kProgramKey).ReadString(kFirstUseValue, u"<missing>");
    }
    static void SetFirstUse(const std::u16string& value) {
        fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, value);
    }
    static std::u16string RunValue() { return fw::RegistryIni(kRunKey).ReadString(kRunValueName, u"<missing>"); }

    TData& Data() { return *data_; }

private:
    std::unique_ptr<wintest::ProgramData> data_;
};

// The colour the label's parent hands the system for drawing the label's text.
COLORREF DrawnTextColor(const fw::Control& label) {
    const HDC dc = GetDC(label.Handle());
    SendMessageW(GetParent(label.Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label.Handle()));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(label.Handle(), dc);
    return colour;
}

bool Contains(const std::vector<int>& values, int value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

const std::string kMinimize = "on 111 8 minimize ";
const std::string kMaximize = "on 106 8 maximize ";
const std::string kCapture = "on 83 8 capturescreen ";
const std::string kNotepad = "on 78 8 openfile notepad.exe";

}  // namespace

TEST_F(FirstUse, PagesControlsAndTexts) {
    TfrmFirstUse guide(App(), nullptr, Data());
    EXPECT_EQ(guide.Caption(), u"Setup Corvalend");
    EXPECT_EQ(wintest::ClientRect(guide.Handle()), (RECT{0, 0, 571, 403}));
    const LONG_PTR style = GetWindowLongPtrW(guide.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "only the close box";
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(guide.pnlTop.PixelBounds(), (RECT{0, 0, 571, 49}));
    EXPECT_EQ(guide.pnlClient.PixelBounds(), (RECT{0, 49, 571, 362}));
    EXPECT_EQ(guide.pnlBottom.PixelBounds(), (RECT{0, 362, 571, 403}));
    EXPECT_EQ(guide.pnlClient.Color(), RGB(255, 255, 255));
    EXPECT_EQ(guide.btnPrevious.PixelBounds(), (RECT{325, 8, 400, 33}));
    EXPECT_EQ(guide.btnNext.PixelBounds(), (RECT{406, 8, 481, 33}));
    EXPECT_EQ(guide.btnCancel.PixelBounds(), (RECT{487, 8, 562, 33}));
    EXPECT_EQ(guide.btnPrevious.Text(), u"&Previous");
    EXPECT_FALSE(guide.btnPrevious.Enabled());
    EXPECT_EQ(guide.btnNext.Text(), u"&Next");
    EXPECT_EQ(guide.btnCancel.Text(), u"Cance&l");
    EXPECT_EQ(guide.DefaultButton(), &guide.btnNext);
    EXPECT_EQ(guide.CancelButton(), &guide.btnCancel);
    ASSERT_EQ(guide.pcClient.PageCount(), 3);
    EXPECT_EQ(guide.pcClient.ActivePage(), &guide.tsWelcome);
    EXPECT_EQ(&guide.pcClient.Page(1), &guide.tsStartup);
    EXPECT_EQ(&guide.pcClient.Page(2), &guide.tsHotkeys);

    for (const fw::Label* heading : {&guide.Label10, &guide.Label1, &guide.Label2}) {
        EXPECT_EQ(wintest::FontHeight(heading->Handle()), -MulDiv(12, 96, 72)) << "12-point heading";
        EXPECT_EQ(DrawnTextColor(*heading), kHeadingBlue) << "blue heading";
        EXPECT_EQ(heading->PixelBounds().left, 32);
    }
    EXPECT_EQ(DrawnTextColor(guide.Label11), GetSysColor(COLOR_WINDOWTEXT)) << "other texts as usual";
    EXPECT_EQ(wintest::FontHeight(guide.Label11.Handle()), -11) << "Tahoma 8 pt";
    EXPECT_EQ(guide.Label10.Text(), u"Setup Corvalend");
    EXPECT_EQ(guide.Label11.Text(), u"Use this simple guide to setup the most basic features of Corvalend.");
    EXPECT_EQ(guide.Label12.Text(), u"Click the Next button below to go to the next page.");
    EXPECT_EQ(guide.Label13.Text(), u"Thank you for choosing Corvalend");
    EXPECT_EQ(guide.Label1.Text(), u"Start this program when you log on");
    EXPECT_EQ(guide.Label4.Text(), u"Check the checkbox below to let Corvalend start when you start your computer.");
    EXPECT_EQ(guide.chkStartAtWindowsStart.Text(), u"&Start when you log on Windows");
    EXPECT_TRUE(guide.chkStartAtWindowsStart.Checked());
    EXPECT_EQ(guide.Label2.Text(), u"Suggested new hotkeys");
    EXPECT_EQ(guide.Label3.Text(), u"Use the checkboxes below to enable or disable the suggested global hotkeys.");
    EXPECT_EQ(guide.Label5.Text(),
              u"Click the button More Hotkeys to setup other hotkeys than the suggested list below.");
    EXPECT_EQ(guide.btnSetupMoreHotkeys.Text(), u"Setup more &hotkeys");

    // The boxes in one column, ticked, named by the system's key names; their labels beside them.
    const fw::Label* labels[] = {&guide.Label6, &guide.Label7, &guide.Label8, &guide.Label9};
    const char16_t* texts[] = {u"Minimize active window", u"Maximize or restore active window", u"Save screen capture",
                               u"Open notepad"};
    const uint16_t keys[] = {111, 106, 'S', 'N'};
    LONG lastTop = -1;
    for (int i = 0; i < kSuggestionCount; ++i) {
        const fw::CheckBox& box = guide.SuggestionBox(static_cast<TSuggestion>(i));
        EXPECT_TRUE(box.Checked()) << i;
        EXPECT_EQ(fw::WithoutMnemonic(box.Text()), Data().HotkeyToString(keys[i], 8)) << i;
        EXPECT_EQ(box.PixelBounds().left, 32) << i;
        EXPECT_GT(box.PixelBounds().top, lastTop) << i;
        lastTop = box.PixelBounds().top;
        EXPECT_EQ(labels[i]->Text(), texts[i]);
        EXPECT_GT(labels[i]->PixelBounds().left, box.PixelBounds().left) << "beside the box";
        EXPECT_LT(std::abs(labels[i]->PixelBounds().top - box.PixelBounds().top), 4) << i;
    }
    EXPECT_EQ(guide.chkKeyScreenCapture.Text(), u"W&IN + S");
    EXPECT_EQ(guide.chkKeyOpenNotepad.Text(), u"&WIN + N");
    EXPECT_GT(guide.btnSetupMoreHotkeys.PixelBounds().top, lastTop) << "under the column";

    // The link opens the maker's web site through the shell.
    TBLabel& link = guide.lblLink;
    EXPECT_EQ(link.Caption(), u"Visit Tamberlo Sotware on the web");
    EXPECT_EQ(link.Font().Color, RGB(0, 0, 255));
    EXPECT_EQ(link.Font().Style, fsUnderline);
    EXPECT_EQ(link.HoverColor(), clRed) << "hovering turns it red, as every link";
    EXPECT_TRUE(link.ExecuteFile());
    EXPECT_EQ(link.Execute(), u"https://www.tamberlo.example/");
    std::vector<std::u16string> opened;
    link.SetShellOpen([&](const std::u16string& target) { opened.push_back(target); });
    SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(opened, (std::vector<std::u16string>{u"https://www.tamberlo.example/"}));
    EXPECT_GT(guide.lblLink.PixelBounds().top, guide.Label13.PixelBounds().top) << "near the bottom";
    EXPECT_FALSE(FileExists()) << "making the guide writes nothing";
}

TEST_F(FirstUse, FinishWithTheDefaultsWritesTheFourSuggestionsTheFlagAndTheRunValue) {
    EXPECT_EQ(frmFirstUse, nullptr);
    TfrmFirstUse* shown = nullptr;
    int pageAfterEnter = -1;
    bool previousEnabled = false;
    std::u16string lastPageNext;
    int pageAfterPrevious = -1;
    std::u16string nextAfterPrevious;
    bool writtenBeforeFinish = true;
    const auto page = [&](int index) {
        return [&shown, index] { return shown != nullptr && shown->pcClient.ActivePageIndex() == index; };
    };
    wintest::ModalScript script;
    script
        .When(
            "the guide in front", [&] { return frmFirstUse != nullptr && wintest::InFront(*frmFirstUse); },
            [&] {
                shown = frmFirstUse;
                ASSERT_NE(shown, nullptr) << "the program-wide reference is set while the guide is open";
                EXPECT_EQ(GetWindow(shown->Handle(), GW_OWNER), nullptr);
                RECT window{};
                GetWindowRect(shown->Handle(), &window);
                RECT work{};
                SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
                EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 2) << "centred";
                EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 2) << "centred";
                wintest::KeepScreenshot(shown->Handle(), u"FirstUse-page1.bmp");
                PressCombination(0, VK_RETURN);  // Next, the default button
            })
        .When("the second page", page(1),
              [&] {
                  pageAfterEnter = shown->pcClient.ActivePageIndex();
                  previousEnabled = shown->btnPrevious.Enabled();
                  wintest::KeepScreenshot(shown->Handle(), u"FirstUse-page2.bmp");
                  PressCombination(MOD_ALT, 'N');
              })
        .When("the last page", page(2),
              [&] {
                  lastPageNext = shown->btnNext.Text();
                  wintest::KeepScreenshot(shown->Handle(), u"FirstUse-page3.bmp");
                  PressCombination(MOD_ALT, 'P');
              })
        .When("the second page again", page(1),
              [&] {
                  pageAfterPrevious = shown->pcClient.ActivePageIndex();
                  nextAfterPrevious = shown->btnNext.Text();
                  PressCombination(MOD_ALT, 'N');
              })
        .When("the last page again", page(2), [&] {
            EXPECT_EQ(shown->pcClient.ActivePage(), &shown->tsHotkeys);
            writtenBeforeFinish = FileExists() || FirstUseValue() != u"1" || RunValue() != kOldRunValue;
            PressCombination(MOD_ALT, 'F');
        });
    script.Start([&] {
        if (frmFirstUse != nullptr) PostMessageW(frmFirstUse->Handle(), WM_CLOSE, 0, 0);
    });
    Data().InitApp();  // shows the guide, as the program's start does while it is unfinished
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(frmFirstUse, nullptr) << "cleared when the guide is gone";
    EXPECT_EQ(pageAfterEnter, 1);
    EXPECT_TRUE(previousEnabled);
    EXPECT_EQ(lastPageNext, u"&Finish");
    EXPECT_EQ(pageAfterPrevious, 1);
    EXPECT_EQ(nextAfterPrevious, u"&Next");
    EXPECT_FALSE(writtenBeforeFinish) << "nothing is written before Finish";

    const auto section = [](int i, int key, const char16_t* func, const char16_t* params) {
        return u"[key" + fw::IntToStr(i) + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=8\r\nfunc=" +
               func + u"\r\nparams=" + params + u"\r\nparams2=\r\nparams3=\r\n\r\n";
    };
    EXPECT_EQ(FileBytes(),
              fw::EncodeUtf16LE(section(0, 111, u"minimize", u"") + section(1, 106, u"maximize", u"") +
                                    section(2, 83, u"capturescreen", u"") + section(3, 78, u"openfile", u"notepad.exe"),
                                /*withBom=*/true));
    EXPECT_EQ(FirstUseValue(), u"0");
    EXPECT_EQ(RunValue(), u"\"" + fw::Application::ExeName() + u"\"");
    EXPECT_EQ(Data().HotKeyList().Count(), 4) << "what the guide wrote is live before InitApp returns";
}

TEST_F(FirstUse, UntickedBoxesLeaveTheirSuggestionOutAndOtherHotkeysStay) {
    WriteFile({{true, 'Q', MOD_CONTROL, hkfClose, u"", u"", u""},
               {true, 111, MOD_WIN, hkfClose, u"", u"", u""},                        // not the suggestion
               {false, 'N', MOD_WIN, hkfOpenFile, u"NOTEPAD.EXE", u"", u""},         // the suggestion
               {false, 106, MOD_WIN, hkfMaximize, u"", u"", u""},                    // the suggestion
               {true, 'S', MOD_WIN | MOD_SHIFT, hkfCaptureScreen, u"", u"", u""}});  // other modifiers
    // Another program holds the notepad suggestion's combination; this program holds the capture's.
    const wintest::HeldCombination held(MOD_WIN, 'N');
    ASSERT_TRUE(held.Held());
    Data().HotKeyList().Add(true, 'S', MOD_WIN, hkfCaptureScreen, u"", u"", u"")->RegisterHotkey();
    TfrmFirstUse guide(App(), nullptr, Data());
    EXPECT_TRUE(guide.chkKeyOpenNotepad.Checked()) << "the boxes are not read from the file";
    EXPECT_TRUE(guide.chkKeyMaximize.Checked());
    std::vector<std::u16string> captions;
    TSuggestionTicks ticks{};
    bool startUnticked = false;
    bool maximizeUnticked = false;
    wintest::ModalScript script;
    script
        .When(
            "the guide in front", [&] { return wintest::InFront(guide); }, [&] { PressCombination(0, VK_RETURN); })
        .When(
            "the second page", [&] { return guide.pcClient.ActivePageIndex() == 1; },
            [&] { guide.chkStartAtWindowsStart.SetFocus(); })
        .When(
            "the log-on box focused", [&] { return guide.chkStartAtWindowsStart.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })
        .When(
            "the log-on box unticked", [&] { return !guide.chkStartAtWindowsStart.Checked(); },
            [&] {
                startUnticked = !guide.chkStartAtWindowsStart.Checked();
                PressCombination(0, VK_RETURN);  // the box leaves Enter to the default button
            })
        .When(
            "the last page", [&] { return guide.pcClient.ActivePageIndex() == 2; },
            [&] {
                for (int i = 0; i < kSuggestionCount; ++i) {
                    const fw::CheckBox& box = guide.SuggestionBox(static_cast<TSuggestion>(i));
                    captions.push_back(fw::WithoutMnemonic(box.Text()));
                    ticks[static_cast<size_t>(i)] = box.Checked();
                }
                wintest::KeepScreenshot(guide.Handle(), u"FirstUse-held-suggestion.bmp");
                guide.chkKeyMaximize.SetFocus();
            })
        .When(
            "the maximize box focused", [&] { return guide.chkKeyMaximize.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })
        .When(
            "the maximize box unticked", [&] { return !guide.chkKeyMaximize.Checked(); },
            [&] {
                maximizeUnticked = !guide.chkKeyMaximize.Checked();
                PressCombination(0, VK_RETURN);  // Finish
            });
    script.Start([&] { PostMessageW(guide.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(guide.ShowModal(), fw::mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(startUnticked);
    EXPECT_TRUE(maximizeUnticked);
    EXPECT_EQ(captions, (std::vector<std::u16string>{Data().HotkeyToString(111, 8), Data().HotkeyToString(106, 8),
                                                     Data().HotkeyToString('S', 8),
                                                     Data().HotkeyToString('N', 8) + u" (used by Windows)"}));
    EXPECT_EQ(ticks, (TSuggestionTicks{true, true, true, false})) << "the one another program holds starts unticked";
    EXPECT_EQ(FileHotkeys(), (std::vector<std::string>{"on 81 2 close ", "on 111 8 close ", "on 83 12 capturescreen ",
                                                       kMinimize, kCapture}));
    EXPECT_EQ(RunValue(), u"") << "the unticked box writes the value empty";
    EXPECT_EQ(FirstUseValue(), u"0");
}

TEST_F(FirstUse, CancelAsksFirstAndWritesNothingTheCloseBoxDoesNotAsk) {
    TfrmFirstUse guide(App(), nullptr, Data());
    {
        std::unique_ptr<wintest::MessageBoxWatcher> box;
        bool stayed = false;
        int pageAfterStay = -1;
        wintest::ModalScript script;
        script
            .When(
                "the guide in front", [&] { return wintest::InFront(guide); },
                [&] {
                    PressCombination(0, VK_RETURN);  // to the second page
                })
            .When(
                "the second page", [&] { return guide.pcClient.ActivePageIndex() == 1; },
                [&] {
                    box = std::make_unique<wintest::MessageBoxWatcher>(u"Confirm", IDCANCEL);
                    PressCombination(0, VK_ESCAPE);
                })
            .When(
                "the question answered Cancel and the guide in front again",
                [&] { return box->Closed() && wintest::InFront(guide); },
                [&] {
                    EXPECT_EQ(fw::Utf16ToUtf8(box->Text()), "Close the setup guide?");
                    EXPECT_TRUE(Contains(box->Buttons(), IDOK) && Contains(box->Buttons(), IDCANCEL));
                    EXPECT_EQ(box->Owner(), guide.Handle());
                    stayed = guide.Visible();
                    pageAfterStay = guide.pcClient.ActivePageIndex();
                    guide.btnCancel.SetFocus();
                })
            .When(
                "the Cancel button focused", [&] { return guide.btnCancel.Focused(); },
                [&] {
                    box = std::make_unique<wintest::MessageBoxWatcher>(u"Confirm", IDOK);
                    PressCombination(0, VK_SPACE);  // presses the Cancel button
                });
        script.Start([&] { PostMessageW(guide.Handle(), WM_CLOSE, 0, 0); });
        EXPECT_EQ(guide.ShowModal(), fw::mrCancel);
        EXPECT_TRUE(script.Done());
        EXPECT_TRUE(stayed) << "Cancel in the question keeps the guide";
        EXPECT_EQ(pageAfterStay, 1);
        ASSERT_TRUE(box->Wait(wintest::kPatience));
        EXPECT_EQ(fw::Utf16ToUtf8(box->Text()), "Close the setup guide?");
    }
    EXPECT_FALSE(FileExists()) << "nothing written";
    EXPECT_EQ(FirstUseValue(), u"1") << "the guide comes back next time";
    EXPECT_EQ(RunValue(), kOldRunValue);

    // The close box: no question, the same result.
    {
        wintest::MessageBoxWatcher box(u"Confirm", IDOK);
        wintest::ModalScript script;
        script.When(
            "the guide in front", [&] { return wintest::InFront(guide); },
            [&] { PostMessageW(guide.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
        script.Start([&] { PostMessageW(guide.Handle(), WM_CLOSE, 0, 0); });
        EXPECT_EQ(guide.ShowModal(), fw::mrCancel);
        EXPECT_TRUE(script.Done());
        EXPECT_FALSE(box.Seen()) << "the close box does not ask";
    }
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(FirstUseValue(), u"1");
    EXPECT_EQ(RunValue(), kOldRunValue);
}

TEST_F(FirstUse, SetupMoreHotkeysSavesOpensTheSettingsWindowAndReadsItBack) {
    WriteFile({{true, 'Q', MOD_CONTROL, hkfClose, u"", u"", u""}});
    TfrmFirstUse guide(App(), nullptr, Data());
    TSettingsForm* settings = nullptr;
    std::vector<std::string> fileWhileOpen;
    std::u16string flagWhileOpen;
    std::u16string runWhileOpen;
    size_t framesWhileOpen = 0;
    bool boxesReadBack = false;
    wintest::ModalScript script;
    script
        .When(
            "the guide in front", [&] { return wintest::InFront(guide); }, [&] { PressCombination(0, VK_RETURN); })
        .When(
            "the second page", [&] { return guide.pcClient.ActivePageIndex() == 1; },
            [&] { PressCombination(MOD_ALT, 'N'); })
        .When(
            "the last page", [&] { return guide.pcClient.ActivePageIndex() == 2; },
            [&] { guide.chkKeyOpenNotepad.SetFocus(); })
        .When(
            "the notepad box focused", [&] { return guide.chkKeyOpenNotepad.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })
        .When(
            "the notepad box unticked", [&] { return !guide.chkKeyOpenNotepad.Checked(); },
            [&] { guide.btnSetupMoreHotkeys.SetFocus(); })
        .When(
            "the more-hotkeys button focused", [&] { return guide.btnSetupMoreHotkeys.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })
        .When(
            "the settings window",
            [&] {
                settings = guide.MoreHotkeysWindow();
                return settings != nullptr && settings->Visible();
            },
            [&] {
                EXPECT_EQ(GetWindow(settings->Handle(), GW_OWNER), guide.Handle()) << "owned by the guide";
                EXPECT_FALSE(IsWindowEnabled(guide.Handle())) << "shown modally";
                EXPECT_NE(SettingsForm, settings) << "not the tray's settings window";
                fileWhileOpen = FileHotkeys();
                flagWhileOpen = FirstUseValue();
                runWhileOpen = RunValue();
                framesWhileOpen = settings->HotKeySettingsList().size();
                // The screen-capture suggestion's frame, deleted as after the confirmed question.
                THotkeySetting& capture = *settings->HotKeySettingsList().at(3);
                capture.OnDelete(capture);
            })
        .When(
            "the capture frame gone", [&] { return settings->HotKeySettingsList().size() == 3; },
            [&] { settings->btnOK.SetFocus(); })
        .When(
            "the Close button focused", [&] { return settings->btnOK.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })  // Close
        .When(
            "the settings window closed and the guide in front",
            [&] { return guide.MoreHotkeysWindow() == nullptr && wintest::InFront(guide); },
            [&] {
                boxesReadBack = guide.chkKeyMinimize.Checked() && guide.chkKeyMaximize.Checked() &&
                                !guide.chkKeyScreenCapture.Checked() && !guide.chkKeyOpenNotepad.Checked() &&
                                guide.chkStartAtWindowsStart.Checked();
                PostMessageW(guide.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            });
    script.Start([&] { PostMessageW(guide.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(guide.ShowModal(), fw::mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(fileWhileOpen, (std::vector<std::string>{"on 81 2 close ", kMinimize, kMaximize, kCapture}))
        << "saved before the settings window opened";
    EXPECT_EQ(flagWhileOpen, u"0");
    EXPECT_EQ(runWhileOpen, u"\"" + fw::Application::ExeName() + u"\"");
    EXPECT_EQ(framesWhileOpen, 4u);
    EXPECT_TRUE(boxesReadBack) << "the boxes follow what the settings window left in the file";
    EXPECT_TRUE(guide.WroteHotkeyFile()) << "the close box after the settings window";
    wintest::PumpPending();  // the release the settings window posted when it closed has found nothing
    EXPECT_EQ(FileHotkeys(), (std::vector<std::string>{"on 81 2 close ", kMinimize, kMaximize}));
    EXPECT_EQ(FirstUseValue(), u"0") << "stays after the close box";
    EXPECT_EQ(Data().HotKeyList().Count(), 3) << "the settings window reloaded the live hotkeys";
}
