// The save dialog's starting folder and type, and the name it offers.
#include "capture/CaptureSaveRules.h"

namespace corvalend {

namespace {

constexpr int kFileTypes = 3;

std::u16string TwoDigits(int value) {
    return {static_cast<char16_t>(u'0' + value / 10 % 10), static_cast<char16_t>(u'0' + value % 10)};
}

}  // namespace

CaptureSaveStart ChooseCaptureSaveStart(const std::u16string& keptFolder,
                                        const std::u16string& keptType,
                                        bool folderExists) {
    CaptureSaveStart start{.folder = folderExists ? keptFolder : u"", .filterIndex = 1};
    for (int type = 1; type <= kFileTypes; ++type) {
        if (keptType == DefaultExtForFileType(type)) start.filterIndex = type;
    }
    return start;
}

std::u16string KeptCaptureType(CaptureFileFormat format) {
    switch (format) {
        case CaptureFileFormat::Jpeg:
            return DefaultExtForFileType(1);
        case CaptureFileFormat::Png:
            return DefaultExtForFileType(2);
        case CaptureFileFormat::Bitmap:
            break;
    }
    return DefaultExtForFileType(3);
}

std::u16string DefaultCaptureName(const CaptureTime& time) {
    return u"Capture " + TwoDigits(time.year / 100) + TwoDigits(time.year) + u"-" + TwoDigits(time.month) + u"-" +
           TwoDigits(time.day) + u" " + TwoDigits(time.hour) + u"." + TwoDigits(time.minute) + u"." +
           TwoDigits(time.second);
}

}  // namespace corvalend
