// Which hotkey files hold hotkeys, and the backup kept safe from a file that holds none.
#include "core/HotkeyFileRules.h"

#include <optional>

#include "framework/Error.h"

namespace corvalend {

namespace {

// A file that cannot be read counts as none here: an unreadable backup is nothing to restore, and
// the caller that needs the file itself reads it again and reports.
std::optional<std::string> ReadIfReadable(const fw::FileStore& files, const std::u16string& path) {
    try {
        return files.Read(path);
    } catch (const fw::Error&) {
        return std::nullopt;
    }
}

bool Blank(std::u16string_view text) {
    return text.find_first_not_of(u" \t\r\n") == std::u16string_view::npos;
}

}  // namespace

THotKeyFunc SectionAction(const fw::IniModel& ini, size_t section) {
    return StrToHotKeyFunc(ini.ReadString(section, u"func", u""));
}

bool HoldsHotkeys(std::string_view bytes, const fw::AnsiCodePage& ansi) {
    const fw::IniModel ini = fw::IniModel::Parse(fw::DecodeText(bytes, ansi));
    for (size_t section = 0; section < ini.SectionCount(); ++section) {
        if (SectionAction(ini, section) != hkfNoAction) return true;
    }
    return false;
}

bool HotkeyFileDamaged(std::string_view bytes, const fw::AnsiCodePage& ansi) {
    return !Blank(fw::DecodeText(bytes, ansi)) && !HoldsHotkeys(bytes, ansi);
}

bool SaveLeavesBackupAlone(const std::u16string& file,
                           const std::u16string& backup,
                           const fw::FileStore& files,
                           const fw::AnsiCodePage& ansi) {
    const std::optional<std::string> replaced = ReadIfReadable(files, file);
    if (!replaced || HoldsHotkeys(*replaced, ansi)) return false;
    const std::optional<std::string> kept = ReadIfReadable(files, backup);
    return kept && HoldsHotkeys(*kept, ansi);
}

std::u16string RestoreBackupQuestion(const std::u16string& savedAt) {
    return u"The hotkey file holds no hotkeys Corvalend can read. Restore the copy saved on " + savedAt + u"?";
}

bool OfferBackupOfDamagedFile(const std::u16string& file,
                              fw::FileStore& files,
                              const fw::AnsiCodePage& ansi,
                              RestoreQuestion& question) {
    const std::optional<std::string> damaged = ReadIfReadable(files, file);
    if (!damaged || !HotkeyFileDamaged(*damaged, ansi)) return false;
    const std::u16string backup = file + kBackupSuffix;
    const std::optional<std::string> good = ReadIfReadable(files, backup);
    if (!good || !HoldsHotkeys(*good, ansi)) return false;
    if (!question.AskYesNo(RestoreBackupQuestion(question.LastWriteText(backup)))) return false;
    files.ReplaceKeepingBackup(file, *good, file + kDamagedSuffix);
    return true;
}

}  // namespace corvalend
