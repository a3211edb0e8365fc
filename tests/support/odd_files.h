// Files that are not plain files, for the rule that the programs write only
// regular files: a FIFO and (as root) a character device made with mknod;
// and a folder on a tiny file system of its own that is full, so that files
// can be created in it but every write fails with "No space left on device".
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace dovrel::testing {

// Makes "fifo" and, when the process may, "device" (the numbers of
// /dev/full) in `dir`; returns the paths made.
inline std::vector<std::filesystem::path> MakeOddFiles(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> made;
    if (::mkfifo((dir / "fifo").c_str(), 0666) == 0) made.push_back(dir / "fifo");
    if (::mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        made.push_back(dir / "device");
    return made;
}

// What is at `path` now ('c' character device, 'p' FIFO, 'f' file, '-' none).
inline char KindOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return '-';
    return S_ISCHR(st.st_mode) ? 'c' : S_ISFIFO(st.st_mode) ? 'p' : S_ISREG(st.st_mode) ? 'f' : '?';
}

class FullFolder {
  public:
    explicit FullFolder(const std::filesystem::path& path) : m_path(path) {
        std::filesystem::create_directories(path);
        if (::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=16k,mode=0777") != 0) return;
        m_mounted = true;
        const int fd = ::open((path / ".filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }
    ~FullFolder() {
        if (m_mounted) ::umount2(m_path.c_str(), MNT_DETACH);
    }
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;
    // False when no file system could be mounted (not root): skip the test.
    bool Full() const { return m_mounted; }

  private:
    std::filesystem::path m_path;
    bool m_mounted = false;
};

}  // namespace dovrel::testing
