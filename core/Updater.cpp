#include "core/Updater.h"

#include <shellapi.h>
#include <urlmon.h>

#include <memory>
#include <vector>

#include "core/UpdateRules.h"
#include "core/datau.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/MessageDlg.h"
#include "framework/SystemError.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"

namespace {

std::u16string TempFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > buffer.size()) {  // a folder longer than the usual buffer: ask again with room for it
        buffer.resize(length);
        length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    return length == 0 || length > buffer.size() ? std::u16string() : fw::FromW(buffer.data(), length);
}

std::u16string UpdateServerHost() {
    wchar_t value[256] = {};
    const DWORD length = GetEnvironmentVariableW(kUpdateServerVariable, value, 256);
    return length > 0 && length < 256 ? fw::FromW(value, length) : std::u16string(kUpdateServerHost);
}

// Deletes the answer file however reading it ends.
class DeleteOnExit {
public:
    explicit DeleteOnExit(std::u16string path) : path_(std::move(path)) {}
    ~DeleteOnExit() { DeleteFileW(fw::W(path_)); }  // nothing to tell the user when it stays
    DeleteOnExit(const DeleteOnExit&) = delete;
    DeleteOnExit& operator=(const DeleteOnExit&) = delete;

private:
    std::u16string path_;
};

void OpenWithShell(HWND window, const std::u16string& address) {
    // What the browser does with it is not ours to report.
    ShellExecuteW(window, L"open", fw::W(address), L"", L"", SW_SHOWNORMAL);
}

}  // namespace

bool TUpdater::Check() {
    const std::u16string file = UpdateAnswerFile(TempFolder());
    const uint32_t version = TData::GetFileVersion(fw::Application::ExeName());
    const std::u16string address = UpdateQueryAddress(UpdateServerHost(), version);
    if (URLDownloadToFileW(/*caller=*/nullptr, fw::W(address), fw::W(file), /*reserved=*/0, /*callback=*/nullptr) !=
        S_OK) {
        throw fw::Error(u"Error\r\rCould not check for updates.");
    }
    const DeleteOnExit answerFile(file);
    const auto answer = fw::Win32FileStore().Read(file);
    if (!answer) throw fw::Error(fw::CannotOpenFileText(file, fw::SystemErrorText(ERROR_FILE_NOT_FOUND)));
    return AnswerOffersUpdate(*answer, fw::SystemAnsiCodePage());
}

void CheckForUpdatesFrom(HWND window) {
    CheckForUpdatesFrom(window, OpenWithShell);
}

void CheckForUpdatesFrom(HWND window, const PageOpener& openPage) {
    const auto updater = std::make_unique<TUpdater>();
    if (updater->Check()) {
        if (fw::MessageDlg(window,
                           u"A new version of Corvalend is available.\r\rWould you like to download the new version?",
                           fw::MessageType::Information, fw::MessageButtons::YesNo, fw::mrYes) == fw::mrYes) {
            openPage(window, DownloadPageAddress());
        }
    } else {
        fw::MessageDlg(window, u"There is no new version of Corvalend at this time.", fw::MessageType::Information,
                       fw::MessageButtons::Ok);
    }
}
