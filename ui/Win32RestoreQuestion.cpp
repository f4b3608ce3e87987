// The backup's last-write time formatted by the system for the user, and the Yes/No question box.
#include "ui/Win32RestoreQuestion.h"

#include <windows.h>

#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/MessageDlg.h"
#include "framework/SystemError.h"
#include "framework/WinText.h"

namespace corvalend {

std::u16string Win32RestoreQuestion::LastWriteText(const std::u16string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!GetFileAttributesExW(fw::AsWide(path), GetFileExInfoStandard, &attributes) ||
        !FileTimeToSystemTime(&attributes.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(/*zone=*/nullptr, &utc, &local)) {
        throw fw::Error(fw::CannotOpenFileText(path, fw::SystemErrorText(GetLastError())));
    }
    wchar_t date[100] = {};
    wchar_t time[100] = {};
    wchar_t shortTime[80] = {};
    // The short time (hours and minutes as the user chose) is a format of its own, not a flag.
    const bool known = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTTIME, shortTime, 80) > 0;
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, /*format=*/nullptr, date, 100,
                        /*calendar=*/nullptr) == 0 ||
        GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, known ? 0 : TIME_NOSECONDS, &local, known ? shortTime : nullptr, time,
                        100) == 0) {
        throw fw::Error(fw::SystemErrorText(GetLastError()));
    }
    return fw::FromWide(date) + u" " + fw::FromWide(time);
}

bool Win32RestoreQuestion::AskYesNo(const std::u16string& question) {
    return fw::MessageDlg(/*owner=*/nullptr, question, fw::MessageType::Confirmation, fw::MessageButtons::YesNo) ==
           fw::mrYes;
}

}  // namespace corvalend
