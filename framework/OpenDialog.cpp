// Shows the system's file-open dialog with the filter and file name set beforehand.
#include "framework/OpenDialog.h"

#include "framework/FileDialog.h"

namespace fw {

bool OpenDialog::Execute(HWND owner) {
    const FileDialogResult result = ShowFileDialog({.owner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr,
                                                    .filter = Filter,
                                                    .fileName = FileName,
                                                    .dropRefusedName = true,
                                                    .failure = u"The file dialog could not be shown"});
    if (result.chosen) FileName = result.fileName;
    return result.chosen;
}

}  // namespace fw
