// Real files on the build machine, for benchmarks and round trips through a disk.
#pragma once

#include "framework/FileStore.h"

class PosixFileStore final : public fw::FileStore {
public:
    bool Exists(const std::u16string& path) const override;
    std::optional<std::string> Read(const std::u16string& path) const override;
    void Replace(const std::u16string& path, std::string_view bytes) override;
    void ReplaceKeepingBackup(const std::u16string& path,
                              std::string_view bytes,
                              const std::u16string& backup) override;
};
