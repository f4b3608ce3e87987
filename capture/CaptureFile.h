// Saving a captured picture: the file name's extension chooses JPEG or Windows bitmap.
#pragma once

#include <string>

#include "framework/FileStore.h"
#include "framework/Picture.h"

namespace corvalend {

// The file's bytes: a JPEG for ".jpg" and ".jpeg" (any case), a bitmap for every other name.
std::string EncodeCaptureFile(const std::u16string& fileName, const fw::Picture& picture);

// Writes the file, replacing one of the same name without asking. A file that cannot be created
// raises "Cannot create file "%s". %s".
void SaveCaptureFile(fw::FileStore& files, const std::u16string& fileName, const fw::Picture& picture);

}  // namespace corvalend
