// The kind of what is at the path is checked before opening (a device must
// not even be opened: opening a terminal or a tape has effects of its own)
// and again on the descriptor, so a file swapped in between is refused too.
#include "writable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nimbo {

std::string NotRegularFileText(unsigned mode) {
    const char* kind = S_ISREG(mode)    ? nullptr
                       : S_ISDIR(mode)  ? "a folder"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISFIFO(mode) ? "a FIFO (named pipe)"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "not a plain file";
    if (kind == nullptr) return {};
    return std::string("it is ") + kind + ", not a regular file";
}

int OpenWritableFile(const std::string& path, WriteMode mode, std::string& problem) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        problem = NotRegularFileText(st.st_mode);
        return -1;
    }
    // O_NONBLOCK: a FIFO swapped in after the check must not hang the open.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                      (mode == WriteMode::kAppend ? O_APPEND : 0);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        problem = std::strerror(errno);
        return -1;
    }
    problem.clear();
    if (::fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        problem = NotRegularFileText(st.st_mode);
    } else if (mode == WriteMode::kReplace && ::ftruncate(fd, 0) != 0) {
        problem = std::strerror(errno);
    }
    if (!problem.empty()) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string WriteWholeFile(const std::string& path, std::string_view content) {
    std::string problem;
    const int fd = OpenWritableFile(path, WriteMode::kReplace, problem);
    if (fd < 0) return problem;
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            problem = std::strerror(n < 0 ? errno : ENOSPC);
            break;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::close(fd) != 0 && problem.empty()) problem = std::strerror(errno);
    return problem;
}

}  // namespace nimbo
