// Whole files through the system's file calls; writing replaces the old file in one step.
#pragma once

#include "framework/FileStore.h"

namespace fw {

class Win32FileStore final : public FileStore {
public:
    bool Exists(const std::u16string& path) const override;
    std::optional<std::string> Read(const std::u16string& path) const override;
    // The file's bytes; a file that cannot be read, a missing one included, raises
    // "Cannot open file "%s". %s" with the system's reason (no such file, no such folder, ...).
    std::string ReadExisting(const std::u16string& path) const;
    void Replace(const std::u16string& path, std::string_view bytes) override;
    void ReplaceKeepingBackup(const std::u16string& path,
                              std::string_view bytes,
                              const std::u16string& backup) override;
};

// The folder part of a path, without the final separator ("" when there is none).
std::u16string ExtractFileDir(const std::u16string& path);

// True when the path names a folder that exists.
bool DirectoryExists(const std::u16string& folder);

// Creates every missing folder on the path; true when the folder exists afterwards.
bool ForceDirectories(const std::u16string& folder);

}  // namespace fw
