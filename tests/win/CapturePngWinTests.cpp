// A capture saved as PNG, read back by the system's decoder: 24-bit colour, pixel for pixel.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <vector>

#include "capture/CaptureFile.h"
#include "framework/ComPtr.h"
#include "framework/WicPngEncoder.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

extern "C" HRESULT WINAPI WICCreateImagingFactory_Proxy(UINT sdkVersion, IWICImagingFactory** factory);

TEST(CapturePng, ReadsBackPixelForPixelAs24BitColour) {
    const wintest::ScratchFolder folder;
    fw::Picture picture(131, 77);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    fw::Win32FileStore files;
    corvalend::SaveCaptureFile(files, folder.File(u"shot.PNG"), picture, fw::WicPngEncoder());
    fw::ComPtr<IWICImagingFactory> factory;
    fw::ComPtr<IWICBitmapDecoder> decoder;
    fw::ComPtr<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format{};
    std::vector<BYTE> bgr(picture.pixels.size() * 3);
    ASSERT_HRESULT_SUCCEEDED(WICCreateImagingFactory_Proxy(WINCODEC_SDK_VERSION, factory.put()));
    ASSERT_HRESULT_SUCCEEDED(factory->CreateDecoderFromFilename(
        fw::AsWide(folder.File(u"shot.PNG")), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put()));
    ASSERT_HRESULT_SUCCEEDED(decoder->GetFrame(0, frame.put()));
    ASSERT_HRESULT_SUCCEEDED(frame->GetPixelFormat(&format));
    EXPECT_TRUE(format == GUID_WICPixelFormat24bppBGR) << "24-bit, no alpha";
    ASSERT_HRESULT_SUCCEEDED(frame->CopyPixels(nullptr, 131 * 3, static_cast<UINT>(bgr.size()), bgr.data()));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        ASSERT_EQ(0xFF000000u | bgr[3 * i + 2] << 16 | bgr[3 * i + 1] << 8 | bgr[3 * i], picture.pixels[i]) << i;
}
