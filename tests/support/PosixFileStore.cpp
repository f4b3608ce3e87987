#include "tests/support/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

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
    std::ifstream in(fw::Utf16ToUtf8(path), std::ios::binary);
    if (!in) throw fw::Error(fw::CannotOpenFileText(path, Reason(errno)));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void PosixFileStore::Replace(const std::u16string& path, std::string_view bytes) {
    const std::string target = fw::Utf16ToUtf8(path);
    const std::string temp = target + ".new";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw fw::Error(fw::CannotCreateFileText(path, Reason(errno)));
    size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) error = errno;
        else done += static_cast<size_t>(n);
    }
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        throw fw::Error(fw::CannotCreateFileText(path, Reason(error)));
    }
}
