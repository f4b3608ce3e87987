// Whole-file reads and replacing writes through the system's file calls, missing folders created.
#include "framework/Win32FileStore.h"

#include <windows.h>

#include "framework/Error.h"
#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"

namespace fw {

std::u16string ExtractFileDir(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

bool DirectoryExists(const std::u16string& folder) {
    const DWORD attributes = GetFileAttributesW(AsWide(folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectories(const std::u16string& folder) {
    if (folder.empty()) return false;
    const DWORD attributes = GetFileAttributesW(AsWide(folder));
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::u16string parent = ExtractFileDir(folder);
    if (parent.size() < folder.size() && !parent.empty() && parent.back() != u':') ForceDirectories(parent);
    return CreateDirectoryW(AsWide(folder), /*security=*/nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

namespace {

// Writes the whole content and flushes it to the disk; the error code, or ERROR_SUCCESS.
DWORD WriteAndFlush(const wchar_t* path, std::string_view bytes) {
    UniqueFile file(CreateFileW(path, GENERIC_WRITE, /*share=*/0, /*security=*/nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, /*template=*/nullptr));
    if (!file) return GetLastError();
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, /*overlapped=*/nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file.get()) ? ERROR_SUCCESS : GetLastError();
}

UniqueFile OpenForReading(const std::u16string& path) {
    return UniqueFile(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  /*security=*/nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, /*template=*/nullptr));
}

std::string ReadWhole(HANDLE file, const std::u16string& path) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) throw Error(CannotOpenFileText(path, SystemErrorText(GetLastError())));
    // Whole files are read into memory in one piece: beyond 2 GB the system's own reason is the size.
    if (size.QuadPart > 0x7FFFFFFF) throw Error(CannotOpenFileText(path, SystemErrorText(ERROR_FILE_TOO_LARGE)));
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw Error(CannotOpenFileText(path, SystemErrorText(GetLastError())));
    bytes.resize(read);
    return bytes;
}

}  // namespace

bool Win32FileStore::Exists(const std::u16string& path) const {
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileStore::Read(const std::u16string& path) const {
    const UniqueFile file = OpenForReading(path);
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        throw Error(CannotOpenFileText(path, SystemErrorText(error)));
    }
    return ReadWhole(file.get(), path);
}

std::string Win32FileStore::ReadExisting(const std::u16string& path) const {
    const UniqueFile file = OpenForReading(path);
    if (!file) throw Error(CannotOpenFileText(path, SystemErrorText(GetLastError())));
    return ReadWhole(file.get(), path);
}

namespace {

// A temporary file beside `path` holding the bytes, flushed to the disk; its name. On failure raises
// the error for `path` and leaves no temporary file.
std::wstring WriteBeside(const std::u16string& path, std::string_view bytes) {
    std::u16string folder = ExtractFileDir(path);
    if (folder.empty()) folder = u".";
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(AsWide(folder), L"cvl", /*unique=*/0, temp))
        throw Error(CannotCreateFileText(path, SystemErrorText(GetLastError())));
    const DWORD error = WriteAndFlush(temp, bytes);
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temp);
        throw Error(CannotCreateFileText(path, SystemErrorText(error)));
    }
    return temp;
}

[[noreturn]] void RemoveAndFail(const std::wstring& temp, const std::u16string& path, DWORD error) {
    DeleteFileW(temp.c_str());
    throw Error(CannotCreateFileText(path, SystemErrorText(error)));
}

}  // namespace

void Win32FileStore::Replace(const std::u16string& path, std::string_view bytes) {
    const std::wstring temp = WriteBeside(path, bytes);
    if (!MoveFileExW(temp.c_str(), AsWide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RemoveAndFail(temp, path, GetLastError());
}

void Win32FileStore::ReplaceKeepingBackup(const std::u16string& path,
                                          std::string_view bytes,
                                          const std::u16string& backup) {
    const std::wstring temp = WriteBeside(path, bytes);
    if (!Exists(path)) {
        if (!MoveFileExW(temp.c_str(), AsWide(path), MOVEFILE_WRITE_THROUGH)) RemoveAndFail(temp, path, GetLastError());
        return;
    }
    if (ReplaceFileW(AsWide(path), temp.c_str(), AsWide(backup),
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                     /*exclude=*/nullptr, /*reserved=*/nullptr)) {
        return;
    }
    const DWORD error = GetLastError();
    // The old file already went to the backup's name but the new one could not follow: it goes back.
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(AsWide(backup), AsWide(path), MOVEFILE_WRITE_THROUGH);
    RemoveAndFail(temp, path, error);
}

}  // namespace fw
