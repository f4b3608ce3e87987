// The picture, turned into 24-bit rows a band at a time, through the system's PNG encoder into a
// stream in memory.
#include "framework/WicPngEncoder.h"

#include <windows.h>

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/Application.h"
#include "framework/ComPtr.h"
#include "framework/Error.h"
#include "framework/SystemError.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

// Exported by the imaging component for those who do not go through COM's class registry.
using CreateImagingFactory = HRESULT WINAPI(UINT sdkVersion, IWICImagingFactory** factory);

// Rows converted and handed to the encoder at a time: a 4K picture is never copied whole.
constexpr int kBandRows = 64;

void Check(HRESULT result) {
    if (FAILED(result)) throw Error(SystemErrorText(static_cast<DWORD>(result)));
}

// The library must outlive every object made from the factory: nothing else holds it loaded.
ComPtr<IWICImagingFactory> ImagingFactory(const SystemLibrary& codecs) {
    UseOle();  // some codecs of the system ask for it on the thread that uses them
    ComPtr<IWICImagingFactory> factory;
    Check(codecs.Get<CreateImagingFactory>("WICCreateImagingFactory_Proxy")(WINCODEC_SDK_VERSION, factory.put()));
    return factory;
}

// 0xAARRGGBB pixels as blue, green, red bytes, as the encoder's 24-bit format has them.
void WriteRows(IWICBitmapFrameEncode& frame, const Picture& picture) {
    const UINT stride = static_cast<UINT>(picture.width) * 3;
    std::vector<BYTE> band(static_cast<size_t>(stride) * kBandRows);
    for (int top = 0; top < picture.height; top += kBandRows) {
        const int rows = std::min(kBandRows, picture.height - top);
        BYTE* out = band.data();
        for (int y = top; y < top + rows; ++y) {
            const std::uint32_t* row = picture.Row(y);
            for (int x = 0; x < picture.width; ++x) {
                const std::uint32_t pixel = row[x];
                *out++ = static_cast<BYTE>(pixel);
                *out++ = static_cast<BYTE>(pixel >> 8);
                *out++ = static_cast<BYTE>(pixel >> 16);
            }
        }
        Check(frame.WritePixels(static_cast<UINT>(rows), stride, stride * static_cast<UINT>(rows), band.data()));
    }
}

std::string StreamBytes(IStream& stream) {
    ULARGE_INTEGER size{};
    Check(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &size));
    Check(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, /*newPosition=*/nullptr));
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    ULONG read = 0;
    Check(stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read));
    bytes.resize(read);
    return bytes;
}

}  // namespace

std::string WicPngEncoder::EncodePng(const Picture& picture) const {
    const SystemLibrary codecs(L"windowscodecs.dll");  // freed last
    const ComPtr<IWICImagingFactory> factory = ImagingFactory(codecs);
    ComPtr<IStream> stream;
    *stream.put() = SHCreateMemStream(/*initial=*/nullptr, 0);
    if (!stream) Check(E_OUTOFMEMORY);
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, /*vendor=*/nullptr, encoder.put()));
    Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    Check(encoder->CreateNewFrame(frame.put(), options.put()));
    Check(frame->Initialize(options.get()));  // as the encoder's defaults have them
    Check(frame->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat24bppBGR) Check(WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
    WriteRows(*frame.get(), picture);
    Check(frame->Commit());
    Check(encoder->Commit());
    return StreamBytes(*stream.get());
}

}  // namespace fw
