// Whole-file reading and writing, as the portable units need it from the system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

class FileStore {
public:
    virtual ~FileStore() = default;

    virtual bool Exists(const std::u16string& path) const = 0;

    // The file's bytes, or nothing when it does not exist. A file that exists but cannot be read
    // raises "Cannot open file "%s". %s".
    virtual std::optional<std::string> Read(const std::u16string& path) const = 0;

    // Replaces the file's content in one step: the new bytes go to a temporary file in the same
    // folder, are flushed, and then take the old file's place. On failure raises
    // "Cannot create file "%s". %s", the old file keeps its bytes and no temporary file stays.
    virtual void Replace(const std::u16string& path, std::string_view bytes) = 0;

    // As Replace, and the file replaced is kept as `backup` (an older backup goes), in the same step
    // that puts the new file in place; when there is no file at `path` yet, no backup is made. On
    // failure both files keep their bytes.
    virtual void ReplaceKeepingBackup(const std::u16string& path,
                                      std::string_view bytes,
                                      const std::u16string& backup) = 0;
};

std::u16string CannotOpenFileText(const std::u16string& path, const std::u16string& reason);
std::u16string CannotCreateFileText(const std::u16string& path, const std::u16string& reason);

}  // namespace fw
