// Encodes a captured picture as JPEG or bitmap, as its file name's extension says, and writes it.
#include "capture/CaptureFile.h"

#include "capture/CaptureRules.h"
#include "framework/BmpWriter.h"
#include "framework/JpegWriter.h"

namespace corvalend {

std::string EncodeCaptureFile(const std::u16string& fileName, const fw::Picture& picture) {
    return CaptureFileFormatFor(fileName) == CaptureFileFormat::Jpeg ? fw::EncodeJpeg(picture) : fw::EncodeBmp(picture);
}

void SaveCaptureFile(fw::FileStore& files, const std::u16string& fileName, const fw::Picture& picture) {
    files.Replace(fileName, EncodeCaptureFile(fileName, picture));
}

}  // namespace corvalend
