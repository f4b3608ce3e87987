// PNG captures read back by the system's decoder, a save that fails leaving the old file alone, and
// the capture window's Ctrl+Z, its crop button and the save dialog's start from the last save.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <memory>
#include <thread>
#include <vector>

#include "capture/CaptureFile.h"
#include "capture/CaptureSaveRules.h"
#include "capture/SaveCaptureU.h"
#include "framework/Application.h"
#include "framework/ComPtr.h"
#include "framework/Error.h"
#include "framework/PictureOps.h"
#include "framework/Registry.h"
#include "framework/UniqueHandle.h"
#include "framework/WicPngEncoder.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/SaveDialogDriver.h"
#include "tests/support/WinTest.h"

extern "C" HRESULT WINAPI WICCreateImagingFactory_Proxy(UINT sdkVersion, IWICImagingFactory** factory);

using namespace corvalend;
using namespace std::chrono_literals;

namespace {

fw::Picture Varied(int width, int height) {
    fw::Picture picture(width, height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    return picture;
}

// The file as the system's decoder reads it: 24-bit BGR, or an empty picture for any other format.
fw::Picture DecodePng(const std::u16string& path) {
    fw::ComPtr<IWICImagingFactory> factory;
    fw::ComPtr<IWICBitmapDecoder> decoder;
    fw::ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(WICCreateImagingFactory_Proxy(WINCODEC_SDK_VERSION, factory.put())) ||
        FAILED(factory->CreateDecoderFromFilename(fw::AsWide(path), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return {};
    std::vector<BYTE> bytes(width * height * 3);
    if (FAILED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(bytes.size()), bytes.data()))) return {};
    fw::Picture picture(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = 0xFF000000u | bytes[3 * i + 2] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i];
    return picture;
}

}  // namespace

TEST(CapturePng, ReadsBackPixelForPixelAndAFailedSaveLeavesTheOldFile) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const fw::Picture picture = Varied(131, 77);
    SaveCaptureFile(files, folder.File(u"shot.PNG"), picture, fw::WicPngEncoder());
    EXPECT_EQ(files.Read(folder.File(u"shot.PNG")).value_or("").substr(0, 4), "\x89PNG");
    EXPECT_EQ(DecodePng(folder.File(u"shot.PNG")).pixels, picture.pixels);

    // Held open by another program: the error as for any file, the old bytes, no temporary file.
    const std::u16string held = folder.File(u"held.png");
    files.Replace(held, "old");
    fw::UniqueFile open(CreateFileW(fw::AsWide(held), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open);
    try {
        SaveCaptureFile(files, held, picture, fw::WicPngEncoder());
        ADD_FAILURE() << "no error";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text().rfind(u"Cannot create file \"" + held + u"\". ", 0), 0u) << e.what();
    }
    open.reset();
    EXPECT_EQ(files.Read(held), "old");
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW(fw::AsWide(folder.File(u"*")), &found);
    int entries = find != INVALID_HANDLE_VALUE ? 1 : 0;
    while (entries > 0 && FindNextFileW(find, &found)) ++entries;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    EXPECT_EQ(entries, 4) << "'.', '..', shot.PNG and held.png only";
}

namespace {

class CaptureWindowKeeps : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr)); }
    static void TearDownTestSuite() { app_.reset(); }

    static void Mouse(TSaveCapture& window, UINT message, WPARAM keys, int x, int y) {
        PostMessageW(window.CaptureImage().Handle(), message, keys, MAKELPARAM(x, y));
        wintest::PumpPending();
    }
    static void Drag(TSaveCapture& window, int x1, int y1, int x2, int y2) {
        Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, x1, y1);
        Mouse(window, WM_MOUSEMOVE, MK_LBUTTON, x2, y2);
        Mouse(window, WM_LBUTTONUP, 0, x2, y2);
    }
    static void CtrlZ(TSaveCapture& window) {
        BYTE state[256] = {};
        state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
        PostMessageW(window.Handle(), WM_KEYDOWN, 'Z', 1);
        app_->ProcessMessages();
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }

    static std::u16string NameOfNow() {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return DefaultCaptureName({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
    }

    inline static std::unique_ptr<fw::Application> app_;
};

}  // namespace

TEST_F(CaptureWindowKeeps, CtrlZUndoesEachCropAndCropWaitsForASelection) {
    CaptureWindows windows;
    TSaveCapture& window = windows.Add(*app_);
    window.CaptureImage().SetPicture(Varied(200, 150));
    window.Show();
    EXPECT_FALSE(window.btnCrop.Enabled());
    Drag(window, 10, 10, 110, 90);
    EXPECT_TRUE(window.btnCrop.Enabled());
    SetFocus(window.btnCrop.Handle());
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(window.btnCrop.Enabled());
    EXPECT_EQ(GetFocus(), window.Button1.Handle()) << "the keys still reach the window";
    Drag(window, 5, 5, 6, 6);  // the slip of a hand
    EXPECT_EQ(GetFocus(), window.btnCrop.Handle()) << "the focus comes back to the crop button";
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(window.CaptureImage().GetPicture().width, 1);
    CtrlZ(window);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, fw::CopyRect(Varied(200, 150), {10, 10, 110, 90}).pixels);
    CtrlZ(window);
    CtrlZ(window);  // nothing more to undo
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, Varied(200, 150).pixels);
    EXPECT_FALSE(window.btnCrop.Enabled());
    Drag(window, 10, 10, 110, 90);
    Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, 150, 120);
    Mouse(window, WM_LBUTTONUP, 0, 150, 120);
    EXPECT_FALSE(window.btnCrop.Enabled()) << "a plain click takes the selection away";
}

TEST_F(CaptureWindowKeeps, SaveDialogNamesTheTypesAndStartsWhereTheLastSaveWent) {
    const std::u16string key = u"Software\\Tamberlo\\CorvalendCaptureTests\\";
    fw::RegistryIni(key).DeleteValue(kCaptureFolderValue);
    fw::RegistryIni(key).DeleteValue(kCaptureTypeValue);
    wintest::ScratchFolder folder;
    CaptureWindows windows;
    windows.SettingsKey = key;
    for (const int pass : {1, 2}) {
        TSaveCapture& window = windows.Add(*app_);
        window.CaptureImage().SetPicture(Varied(30, 20));
        std::u16string name, types, shown;
        wchar_t current[MAX_PATH] = {};
        std::thread user([&] {
            const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s);
            if (dialog == nullptr) return;
            name = wintest::SaveDialogFileName(dialog);
            for (int i = 0; i < 3; ++i) {
                wchar_t type[64] = {};
                SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(type));
                types += fw::FromWide(type) + u"|";
            }
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(current));
            wintest::SelectSaveDialogType(dialog, 2);
            shown = wintest::SaveDialogFileName(dialog);
            wintest::SetSaveDialogFileName(dialog, folder.File(u"shot"));
            wintest::PressSaveDialogButton(dialog, pass == 1 ? IDOK : IDCANCEL);
        });
        const std::u16string before = NameOfNow();
        SendMessageW(window.Button1.Handle(), BM_CLICK, 0, 0);
        user.join();
        EXPECT_EQ(types, u"JPEG (*.jpg)|PNG (*.png)|Bitmap (*.bmp)|");
        const std::u16string stem = name.substr(0, before.size());
        EXPECT_TRUE(stem >= before && stem <= NameOfNow()) << fw::Utf16ToUtf8(name);  // fixed width: ordered as times
        EXPECT_EQ(name.substr(before.size()), pass == 1 ? u".jpg" : u".png");
        EXPECT_EQ(shown.substr(shown.size() - 4), u".png");
        if (pass == 2) {
            EXPECT_EQ(fw::FromWide(current), folder.Path());
            window.Close();
        }
    }
    EXPECT_EQ(fw::Win32FileStore().Read(folder.File(u"shot.png")).value_or("").substr(0, 4), "\x89PNG");
    fw::RegistryIni(key).DeleteValue(kCaptureFolderValue);
    fw::RegistryIni(key).DeleteValue(kCaptureTypeValue);
}
