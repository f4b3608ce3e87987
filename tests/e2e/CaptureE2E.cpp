// Capture hotkeys pressed as a user presses them, with the program in its own process: the capture
// window shows what was on the screen, a selection drawn with the real mouse is cropped, saved
// through the real save dialog and copied to the clipboard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/PictureOps.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/CaptureDriver.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/JpegDecode.h"
#include "tests/support/Pictures.h"
#include "tests/support/SaveDialogDriver.h"
#include "tests/support/WinTest.h"

namespace {

using namespace std::chrono_literals;

constexpr unsigned kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr unsigned kScreenKey = VK_F5;
constexpr unsigned kWindowKey = VK_F6;

std::u16string Section(int index, unsigned key, const std::u16string& func) {
    return u"[key" + fw::IntToStr(index) + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=" +
           fw::IntToStr(kCtrlAlt) + u"\r\nfunc=" + func + u"\r\nparams=\r\nparams2=\r\nparams3=\r\n\r\n";
}

// The selection every test draws, in picture pixels: from (200, 150) up and left to (50, 40).
constexpr POINT kFrom{200, 150};
constexpr POINT kTo{50, 40};
constexpr fw::Rect kSelection{50, 40, 200, 150};

// The tests share one running program and the pattern window: each leaves no capture window behind.
class CaptureE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        e2e::PrepareRegistry();
        e2e::WriteHotkeyFile(Section(0, kScreenKey, u"capturescreen") + Section(1, kWindowKey, u"capturewindow"));
        program_ = new e2e::RunningProgram();
        pattern_ = new e2e::PatternWindow(30, 20, 320, 240);
    }
    static void TearDownTestSuite() {
        delete pattern_;
        EXPECT_EQ(program_->Close(), 0u);
        delete program_;
    }
    void TearDown() override {
        wintest::MouseMoveTo(1200, 750);
        EXPECT_TRUE(e2e::WaitNoCaptureWindow(Pid(), wintest::kPatience)) << "a capture window left open";
    }

    static DWORD Pid() { return program_->ProcessId(); }

    // The screen settled: no capture window, and the pattern shown again where one was.
    static void WaitForTheScreen() {
        EXPECT_TRUE(e2e::WaitNoCaptureWindow(Pid(), wintest::kPatience)) << "an earlier capture window still shows";
        EXPECT_TRUE(wintest::WaitFor("the pattern window on the screen", [] { return pattern_->OnScreen(); }));
    }

    // Presses the hotkey with the screen as it is now grabbed just before; the new capture window.
    static HWND Capture(unsigned key, fw::Picture& grabbed) {
        WaitForTheScreen();
        grabbed = e2e::GrabWholeScreen();
        e2e::Press(kCtrlAlt, key);
        return e2e::WaitForCaptureWindow(Pid(), wintest::kPatience);
    }

    // A selection drawn with the real mouse; done once the shade shows on the screen.
    // The picture shows the pattern at (40, 30), outside the selection.
    static bool DrawSelection(HWND window, const fw::Picture& picture) {
        const HWND view = e2e::CaptureView(window);
        e2e::DragOnView(view, kFrom, kTo);
        const fw::Rect on = e2e::ScreenRect(view);
        const std::uint32_t shaded = fw::BlendPixel(picture.At(40, 30), 0x96000000u);
        return wintest::WaitFor("the selection's shade on the screen", [&] {
            return fw::GrabScreen({on.left + 40, on.top + 30, on.left + 41, on.top + 31}).At(0, 0) == shaded;
        });
    }

    static bool Crop(HWND window) {
        e2e::ClickCentre(e2e::CaptureButton(window, L"&Crop to selection"));
        const HWND view = e2e::CaptureView(window);
        return wintest::WaitFor("the view cropped",
                                [&] { return e2e::ScreenRect(view).Width() == kSelection.Width(); });
    }

    // "Save to file..." with the name typed into the real dialog; the file's bytes.
    static std::optional<std::string> Save(HWND window, const std::u16string& path) {
        e2e::ClickCentre(e2e::CaptureButton(window, L"&Save to file..."));
        const HWND dialog = wintest::WaitForSaveDialog(Pid(), u"Save screenshot", wintest::kPatience);
        if (dialog == nullptr) return std::nullopt;
        wintest::SetSaveDialogFileName(dialog, path);
        wintest::PressSaveDialogButton(dialog, IDOK);
        fw::Win32FileStore files;
        std::optional<std::string> bytes;
        wintest::WaitFor("the saved file", [&] { return (bytes = files.Read(path)).has_value(); });
        return bytes;
    }

    inline static e2e::RunningProgram* program_ = nullptr;
    inline static e2e::PatternWindow* pattern_ = nullptr;
};

}  // namespace

TEST_F(CaptureE2E, ScreenHotkeyShowsTheScreenAsItWasAndCtrlCCopiesAllOfIt) {
    fw::Picture grabbed;
    const HWND window = Capture(kScreenKey, grabbed);
    ASSERT_NE(window, nullptr);
    const fw::Rect view = e2e::ScreenRect(e2e::CaptureView(window));
    EXPECT_EQ(view.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(view.Height(), GetSystemMetrics(SM_CYSCREEN));
    ASSERT_TRUE(wintest::WaitInFront(window)) << "not brought to the front";
    wintest::EmptyTheClipboard();
    e2e::Press(MOD_CONTROL, 'C');
    fw::Picture copied;
    ASSERT_TRUE(wintest::WaitFor("a picture on the clipboard",
                                 [&] { return !(copied = wintest::ClipboardPicture()).Empty(); }));
    EXPECT_EQ(copied.width, grabbed.width);
    EXPECT_EQ(copied.height, grabbed.height);
    EXPECT_TRUE(copied.pixels == grabbed.pixels) << "the capture is not the screen as grabbed just before";
}

TEST_F(CaptureE2E, SelectionDrawnWithTheMouseIsCroppedAndSavedAsJpegAndBitmap) {
    wintest::ScratchFolder folder;
    fw::Picture grabbed;
    HWND window = Capture(kScreenKey, grabbed);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(DrawSelection(window, grabbed)) << "no shade on the screen";

    // The preview with its selection and shade, kept for people to look at.
    const std::u16string artefact = e2e::ArtefactPath(u"capture-preview.bmp");
    fw::Win32FileStore().Replace(artefact, fw::EncodeBmp(e2e::GrabWholeScreen()));
    std::printf("capture preview screenshot: %s\n", e2e::HostPath(artefact).c_str());

    ASSERT_TRUE(Crop(window));
    const fw::Picture expected = fw::CopyRect(grabbed, kSelection);
    const std::optional<std::string> jpeg = Save(window, folder.File(u"cropped.jpg"));
    ASSERT_TRUE(jpeg.has_value());
    const DecodedJpeg decoded = DecodeJpeg(*jpeg);
    EXPECT_EQ(decoded.picture.width, 150);
    EXPECT_EQ(decoded.picture.height, 110);
    // As libjpeg itself encodes the selection's pixels, give or take rounding.
    EXPECT_LT(wintest::MeanChannelError(decoded.picture, DecodeJpeg(ReferenceJpeg(expected)).picture), 1.0);
    EXPECT_LT(wintest::MeanChannelError(decoded.picture, expected), 10.0);

    window = Capture(kScreenKey, grabbed);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(DrawSelection(window, grabbed));
    ASSERT_TRUE(wintest::WaitInFront(window));
    e2e::Press(0, VK_RETURN);  // Enter crops as the button does
    const HWND view = e2e::CaptureView(window);
    ASSERT_TRUE(
        wintest::WaitFor("the view cropped", [&] { return e2e::ScreenRect(view).Width() == kSelection.Width(); }));
    const std::optional<std::string> bitmap = Save(window, folder.File(u"cropped.bmp"));
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_TRUE(*bitmap == fw::EncodeBmp(fw::CopyRect(grabbed, kSelection))) << "the bitmap is not the selection";
}

TEST_F(CaptureE2E, WindowHotkeyCapturesTheForegroundWindowAndCopiesTheSelection) {
    WaitForTheScreen();
    ASSERT_TRUE(wintest::BringToFront(pattern_->Handle()));
    const fw::Rect rect = pattern_->Rect();
    fw::Picture grabbed;
    const HWND window = Capture(kWindowKey, grabbed);
    ASSERT_NE(window, nullptr);
    const fw::Rect view = e2e::ScreenRect(e2e::CaptureView(window));
    EXPECT_EQ(view.Width(), rect.Width());
    EXPECT_EQ(view.Height(), rect.Height());

    const fw::Picture windowPicture = fw::CopyRect(grabbed, rect);
    ASSERT_TRUE(DrawSelection(window, windowPicture));
    wintest::EmptyTheClipboard();
    e2e::ClickCentre(e2e::CaptureButton(window, L"C&opy to clipboard"));
    fw::Picture copied;
    ASSERT_TRUE(wintest::WaitFor("a picture on the clipboard",
                                 [&] { return !(copied = wintest::ClipboardPicture()).Empty(); }));
    EXPECT_EQ(copied.width, 150);
    EXPECT_EQ(copied.height, 110);
    EXPECT_TRUE(copied.pixels == fw::CopyRect(windowPicture, kSelection).pixels);
}
