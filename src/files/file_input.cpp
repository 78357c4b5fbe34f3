#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "files/file_io.h"

namespace lumipad {

namespace {

// Sizes are handled as 32-bit counts.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 32;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool readFully(int fd, std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
    // O_NONBLOCK so that a FIFO named by mistake cannot hang the open; it is refused below.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size >= kMaxFileSize) return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        if (!readFully(file.get(), bytes.data(), bytes.size())) return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace lumipad
