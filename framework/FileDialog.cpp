// The open and save dialogs' one system call.
#include "framework/FileDialog.h"

#include <cderr.h>

#include <algorithm>
#include <vector>

#include "framework/Application.h"
#include "framework/DialogFilter.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"
#include "framework/WinText.h"

namespace fw {

FileDialogResult ShowFileDialog(const FileDialogRequest& request) {
    const SystemLibrary dialogs(L"comdlg32.dll");
    const auto show = request.save ? dialogs.Get<decltype(GetSaveFileNameW)>("GetSaveFileNameW")
                                   : dialogs.Get<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    const auto extendedError = dialogs.Get<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
    UseOle();
    const std::u16string filter = SystemDialogFilter(request.filter);
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW dialog{};
    const auto run = [&](const std::u16string& preset) {
        std::fill(name.begin(), name.end(), L'\0');
        std::copy_n(AsWide(preset), std::min(preset.size(), name.size() - 1), name.begin());
        dialog = {};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = request.owner;
        dialog.lpstrFilter = AsWide(filter);
        dialog.nFilterIndex = static_cast<DWORD>(std::max(request.filterIndex, 1));
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = static_cast<DWORD>(name.size());
        dialog.lpstrInitialDir = request.initialDir.empty() ? nullptr : AsWide(request.initialDir);
        dialog.lpstrTitle = request.title;
        dialog.lpstrDefExt = request.defaultExt;
        dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | request.flags;
        dialog.lpfnHook = request.hook;
        dialog.lCustData = request.hookData;
        return show(&dialog) != FALSE;
    };
    bool chosen = run(request.fileName);
    if (!chosen && request.dropRefusedName && extendedError() == FNERR_INVALIDFILENAME) chosen = run(u"");
    if (!chosen) {
        if (const DWORD error = extendedError()) {
            throw Error(request.failure + u" (error " + IntToStr(static_cast<long long>(error)) + u")");
        }
        return {};
    }
    return {.chosen = true, .fileName = FromWide(name.data()), .filterIndex = static_cast<int>(dialog.nFilterIndex)};
}

}  // namespace fw
