#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "files/file_io.h"

namespace lumipad {

namespace {

struct Target {
    std::string path;  // with a symbolic link followed, so that the link itself stays
    std::string folder;
    bool exists = false;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

std::optional<std::string> followLink(const std::string& path) {
    std::unique_ptr<char, decltype(&::free)> resolved(::realpath(path.c_str(), nullptr), &::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::optional<Target> findTarget(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;

    Target target{path, folderOf(path)};
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) return std::nullopt;
        return target;
    }
    if (S_ISLNK(info.st_mode)) {
        const auto resolved = followLink(path);
        if (!resolved || ::stat(resolved->c_str(), &info) != 0) return std::nullopt;
        target.path = *resolved;
        target.folder = folderOf(*resolved);
    }
    // Folders, FIFOs and devices are never replaced by a picture file.
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    // A write-protected file stays as it is. access() answers for the real user; root may write
    // anything, and then the save really happens.
    if (::access(target.path.c_str(), W_OK) != 0) return std::nullopt;
    target.exists = true;
    target.mode = info.st_mode & 0777;
    target.owner = info.st_uid;
    target.group = info.st_gid;
    return target;
}

// A fresh file in `folder` that no one else has open; its name goes to `name`.
int createTemporary(const std::string& folder, std::string& name) {
    static std::uint64_t counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        std::uint64_t tag = static_cast<std::uint64_t>(now.tv_nsec) ^
                            static_cast<std::uint64_t>(now.tv_sec) << 30 ^
                            static_cast<std::uint64_t>(::getpid()) << 40;
        tag ^= ++counter * 0x9E3779B97F4A7C15u;
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(tag));
        name = folder + "/.lumipad-" + suffix + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes, const FileOutput& output) {
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = output.write ? output.write(fd, data, left) : ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable. Some file systems refuse fsync on a folder; the new file is
// in place by then either way, so that is not a failure of the save.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                 const FileOutput& output) {
    if (path.empty()) return false;
    const auto target = findTarget(path);
    if (!target) return false;

    std::string temporary;
    const int fd = createTemporary(target->folder, temporary);
    if (fd < 0) return false;

    // The replacement keeps the old file's owner and permissions as far as the system lets us.
    if (target->exists) {
        (void)::fchown(fd, target->owner, target->group);
        (void)::fchmod(fd, target->mode);
    }
    bool ok = writeAll(fd, bytes, output);
    if (ok && output.syncToDisk) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temporary.c_str(), target->path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (output.syncToDisk) syncFolder(target->folder);
    return true;
}

}  // namespace lumipad
