// Shows the system's file-open dialog with the filter and file name set beforehand.
#include "framework/OpenDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/Application.h"
#include "framework/DialogFilter.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"
#include "framework/WinText.h"

namespace fw {

bool OpenDialog::Execute(HWND owner) {
    // The dialog's library comes with its first use, and the shell view in it wants OLE.
    const SystemLibrary dialogs(L"comdlg32.dll");
    const auto getOpenFileName = dialogs.Get<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    const auto extendedError = dialogs.Get<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
    UseOle();
    const std::u16string filter = SystemDialogFilter(Filter);
    std::vector<wchar_t> name(32768, L'\0');
    const auto run = [&](const std::u16string& preset) {
        std::fill(name.begin(), name.end(), L'\0');
        std::copy_n(W(preset), std::min(preset.size(), name.size() - 1), name.begin());
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
        dialog.lpstrFilter = W(filter);
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = static_cast<DWORD>(name.size());
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
        return getOpenFileName(&dialog) != FALSE;
    };
    bool chosen = run(FileName);
    // A preset the system refuses as a file name (quotes, arguments, an address) would keep the
    // dialog from showing at all: it opens without one instead.
    if (!chosen && extendedError() == FNERR_INVALIDFILENAME) chosen = run(u"");
    if (!chosen) {
        if (const DWORD error = extendedError()) {
            throw Error(u"The file dialog could not be shown (error " + IntToStr(static_cast<long long>(error)) + u")");
        }
        return false;
    }
    FileName = FromW(name.data());
    return true;
}

}  // namespace fw
