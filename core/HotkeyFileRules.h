// The hotkey file's last good copy: which files hold hotkeys, when a save leaves the backup alone,
// and the offer at start to put the backup back in place of a damaged file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"
#include "framework/FileStore.h"
#include "framework/IniFile.h"
#include "framework/TextFile.h"

namespace corvalend {

// A save keeps the file it replaces under this name beside it; a damaged file put aside at start
// under the other.
inline constexpr char16_t kBackupSuffix[] = u".bak";
inline constexpr char16_t kDamagedSuffix[] = u".damaged";

// The action of a section of the hotkey file: hkfNoAction when it has none the program knows, and
// then the loader drops the section.
THotKeyFunc SectionAction(const fw::IniModel& ini, size_t section);

// True when the file's bytes yield a hotkey: a section with an action the loader keeps (active or not).
bool HoldsHotkeys(std::string_view bytes, const fw::AnsiCodePage& ansi);
// True when the bytes hold more than a byte-order mark and blanks (as an empty list is written), yet
// yield no hotkey: a binary file, one cut short, one filled with zeros.
bool HotkeyFileDamaged(std::string_view bytes, const fw::AnsiCodePage& ansi);

// True when saving over `file` must leave `backup` as it is: the backup holds hotkeys and the file
// that would take its place holds none (damaged or empty). A file that cannot be read is taken to
// hold hotkeys: the write that follows meets it too, and reports.
bool SaveLeavesBackupAlone(const std::u16string& file,
                           const std::u16string& backup,
                           const fw::FileStore& files,
                           const fw::AnsiCodePage& ansi);

// What the offer to restore needs from the system: the backup's age as the user writes dates and
// times, and the question itself.
class RestoreQuestion {
public:
    virtual ~RestoreQuestion() = default;
    // The file's last-write time in the user's short date and short time format; raises when the
    // system cannot tell it.
    virtual std::u16string LastWriteText(const std::u16string& path) const = 0;
    // Asks with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::u16string& question) = 0;
};

std::u16string RestoreBackupQuestion(const std::u16string& savedAt);

// At start: when `file` is damaged and its backup can be read and holds hotkeys, asks whether to
// restore it. Yes puts the backup's bytes in the file's place and keeps the damaged file as
// `file` + kDamagedSuffix (an older one goes) in one step; the backup stays. True when restored.
// A hotkey file that cannot be read is left to the load that follows, which reports it.
bool OfferBackupOfDamagedFile(const std::u16string& file,
                              fw::FileStore& files,
                              const fw::AnsiCodePage& ansi,
                              RestoreQuestion& question);

}  // namespace corvalend
