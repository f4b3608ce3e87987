// Encodes a captured picture as JPEG, PNG or bitmap, as its file name's extension says, and writes it.
#include "capture/CaptureFile.h"

#include "capture/CaptureRules.h"
#include "framework/BmpWriter.h"
#include "framework/JpegWriter.h"

namespace corvalend {

std::string EncodeCaptureFile(const std::u16string& fileName, const fw::Picture& picture, const fw::PngEncoder& png) {
    switch (CaptureFileFormatFor(fileName)) {
        case CaptureFileFormat::Jpeg:
            return fw::EncodeJpeg(picture);
        case CaptureFileFormat::Png:
            return png.EncodePng(picture);
        case CaptureFileFormat::Bitmap:
            break;
    }
    return fw::EncodeBmp(picture);
}

void SaveCaptureFile(fw::FileStore& files,
                     const std::u16string& fileName,
                     const fw::Picture& picture,
                     const fw::PngEncoder& png) {
    // Encoded first: a picture that cannot be encoded leaves the old file as it was.
    files.Replace(fileName, EncodeCaptureFile(fileName, picture, png));
}

}  // namespace corvalend
