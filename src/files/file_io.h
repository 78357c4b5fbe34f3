// Whole files in and out of memory. Writing never leaves a half-written file where the user's
// file was: the bytes go to a fresh file next to it, which replaces the old one only once it is
// complete and on disk.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumipad {

// The whole content of a regular file; nullopt if it cannot be opened or read completely, or is
// 4 GiB or larger.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

struct FileOutput {
    // Stands in for write(2); tests make it fail part-way.
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    // Off only for benchmarks that measure encoding and writing without the disk's flush.
    bool syncToDisk = true;
};

// Puts `bytes` under `path`, replacing a regular file of that name. On failure an existing file
// is untouched and no other file is left behind.
bool replaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                 const FileOutput& output = {});

}  // namespace lumipad
