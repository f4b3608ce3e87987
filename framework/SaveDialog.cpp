// The save dialog's system call and its hook, which follows the user's choice of file type.
#include "framework/SaveDialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/FileDialog.h"
#include "framework/WinText.h"

namespace fw {

namespace {

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextW(window, text.data(), length + 1);
    return FromWide(text.data(), static_cast<size_t>(std::max(got, 0)));
}

}  // namespace

void SaveDialog::SetDefaultExt(const std::u16string& ext) {
    defaultExt_ = ext;
    const size_t count = std::min(ext.size(), std::size(defaultExtBuffer_) - 1);
    std::copy_n(reinterpret_cast<const wchar_t*>(ext.c_str()), count, defaultExtBuffer_);
    defaultExtBuffer_[count] = L'\0';
    // Some versions of the dialog copy the extension when they open, others read it when the user
    // confirms: the buffer they were given changes in place, and the open dialog is told as well.
    if (dialog_ != nullptr) SendMessageW(dialog_, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(defaultExtBuffer_));
}

HWND SaveDialog::NameField() const {
    if (dialog_ == nullptr) return nullptr;
    // The name field is a combo box in newer dialogs and an edit control in older ones.
    const HWND combo = GetDlgItem(dialog_, cmb13);
    return combo != nullptr ? combo : GetDlgItem(dialog_, edt1);
}

std::u16string SaveDialog::DialogFileName() const {
    const HWND field = NameField();
    return field != nullptr ? WindowText(field) : FileName;
}

void SaveDialog::SetDialogFileName(const std::u16string& name) {
    if (const HWND field = NameField()) SetWindowTextW(field, AsWide(name));
}

void SaveDialog::TypeChanged() {
    const LRESULT selected = SendDlgItemMessageW(dialog_, cmb1, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) FilterIndex = static_cast<int>(selected) + 1;
    if (OnTypeChange) OnTypeChange(*this);
}

UINT_PTR CALLBACK SaveDialog::Hook(HWND child, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SaveDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        SetWindowLongPtrW(child, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->dialog_ = GetParent(child);
        return 0;
    }
    auto* self = reinterpret_cast<SaveDialog*>(GetWindowLongPtrW(child, DWLP_USER));
    if (self == nullptr || message != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (notify->hdr.code == CDN_TYPECHANGE) {
        try {
            self->TypeChanged();
        } catch (...) {
            if (!self->error_) self->error_ = std::current_exception();
        }
    }
    return 0;
}

bool SaveDialog::Execute(HWND owner) {
    SetDefaultExt(defaultExt_);
    error_ = nullptr;
    // An error the type notification raised comes first: the dialog went on after it.
    const auto raiseNotificationError = [this] {
        dialog_ = nullptr;
        if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    };
    FileDialogResult result;
    try {
        result =
            ShowFileDialog({.save = true,
                            .owner = owner,
                            .filter = Filter,
                            .filterIndex = FilterIndex,
                            .fileName = FileName,
                            .initialDir = InitialDir,
                            .flags = OFN_ENABLEHOOK | (OverwritePrompt ? static_cast<DWORD>(OFN_OVERWRITEPROMPT) : 0u),
                            .title = Title.empty() ? nullptr : AsWide(Title),
                            .defaultExt = defaultExt_.empty() ? nullptr : defaultExtBuffer_,
                            .hook = &SaveDialog::Hook,
                            .hookData = reinterpret_cast<LPARAM>(this),
                            .failure = u"The save dialog failed"});
    } catch (...) {
        raiseNotificationError();
        throw;
    }
    raiseNotificationError();
    if (!result.chosen) return false;
    FileName = result.fileName;
    FilterIndex = result.filterIndex;
    return true;
}

}  // namespace fw
