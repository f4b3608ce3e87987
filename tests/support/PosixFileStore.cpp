// Test support: files on the build machine's disk through POSIX calls.
#include "tests/support/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/Error.h"
#include "framework/Text.h"

namespace {

std::u16string Reason(int error) {
    return fw::Utf8ToUtf16(std::strerror(error));
}

}  // namespace

bool PosixFileStore::Exists(const std::u16string& path) const {
    struct stat st {};
    return stat(fw::Utf16ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> PosixFileStore::Read(const std::u16string& path) const {
    if (!Exists(path)) return std::nullopt;
    const int fd = open(fw::Utf16ToUtf8(path).c_str(), O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        const int error = errno;
        if (fd >= 0) close(fd);
        throw fw::Error(fw::CannotOpenFileText(path, Reason(error)));
    }
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    bytes.resize(done);
    return bytes;
}

namespace {

// Writes the bytes to "<path>.new" and flushes them; the temporary file's name. On failure raises
// and leaves no temporary file.
std::string WriteTemporary(const std::u16string& path, std::string_view bytes) {
    const std::string temp = fw::Utf16ToUtf8(path) + ".new";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw fw::Error(fw::CannotCreateFileText(path, Reason(errno)));
    size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
            error = errno;
        else
            done += static_cast<size_t>(n);
    }
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        throw fw::Error(fw::CannotCreateFileText(path, Reason(error)));
    }
    return temp;
}

}  // namespace

void PosixFileStore::Replace(const std::u16string& path, std::string_view bytes) {
    const std::string temp = WriteTemporary(path, bytes);
    if (rename(temp.c_str(), fw::Utf16ToUtf8(path).c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        throw fw::Error(fw::CannotCreateFileText(path, Reason(error)));
    }
}

void PosixFileStore::ReplaceKeepingBackup(const std::u16string& path,
                                          std::string_view bytes,
                                          const std::u16string& backup) {
    const std::string temp = WriteTemporary(path, bytes);
    const std::string target = fw::Utf16ToUtf8(path);
    const std::string staged = fw::Utf16ToUtf8(backup) + ".new";
    int error = 0;
    // The old file gets the backup's name as a second link, then the new one takes its place.
    if (Exists(path)) {
        unlink(staged.c_str());
        if (link(target.c_str(), staged.c_str()) != 0 || rename(staged.c_str(), fw::Utf16ToUtf8(backup).c_str()) != 0)
            error = errno;
    }
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(staged.c_str());
        unlink(temp.c_str());
        throw fw::Error(fw::CannotCreateFileText(path, Reason(error)));
    }
}
