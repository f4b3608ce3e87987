// Where the capture window's save dialog starts: the folder and file type of the last successful
// save, kept between runs, the types it offers with their extensions, and the name it offers.
#pragma once

#include <string>

#include "capture/CaptureRules.h"

namespace corvalend {

// The dialog's file types, numbered from 1 in this order: 1 JPEG, 2 PNG, 3 Bitmap.
inline constexpr char16_t kCaptureSaveFilter[] = u"JPEG (*.jpg)|*.jpg|PNG (*.png)|*.png|Bitmap (*.bmp)|*.bmp";

// The values of the program's settings that keep the last save: its folder, and its type as the
// extension of the format written ("jpg", "png" or "bmp").
inline constexpr char16_t kCaptureFolderValue[] = u"CaptureFolder";
inline constexpr char16_t kCaptureTypeValue[] = u"CaptureType";

struct CaptureSaveStart {
    std::u16string folder;  // "" leaves the folder to the system, as before anything was kept
    int filterIndex = 1;
};

// The kept folder while it exists; the kept type, or JPEG when none or an unknown one is kept.
CaptureSaveStart ChooseCaptureSaveStart(const std::u16string& keptFolder,
                                        const std::u16string& keptType,
                                        bool folderExists);

// The type kept after a file was saved in the format.
std::u16string KeptCaptureType(CaptureFileFormat format);

struct CaptureTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "Capture yyyy-mm-dd hh.mm.ss"; the dialog shows it with the extension of its type.
std::u16string DefaultCaptureName(const CaptureTime& time);

}  // namespace corvalend
