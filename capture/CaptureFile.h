// Saving a captured picture: the file name's extension chooses JPEG, PNG or Windows bitmap.
#pragma once

#include <string>

#include "framework/FileStore.h"
#include "framework/Picture.h"
#include "framework/PngEncoder.h"

namespace corvalend {

// The file's bytes: a JPEG for ".jpg" and ".jpeg" (any case), a PNG from the encoder for ".png", a
// bitmap for every other name.
std::string EncodeCaptureFile(const std::u16string& fileName, const fw::Picture& picture, const fw::PngEncoder& png);

// Writes the file beside its name and then puts it in place, replacing one of the same name without
// asking. A file that cannot be created raises "Cannot create file "%s". %s", a picture that cannot
// be encoded the encoder's error; either way nothing new is left under the name.
void SaveCaptureFile(fw::FileStore& files,
                     const std::u16string& fileName,
                     const fw::Picture& picture,
                     const fw::PngEncoder& png);

}  // namespace corvalend
