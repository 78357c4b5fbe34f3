// Any bytes at all through the picture decoders.
#include <cstddef>
#include <cstdint>

#include "files/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Smaller limits than the program's keep mutated headers from asking for hundreds of
    // megabytes; the code paths are the same.
    constexpr lumipad::DecodeLimits limits{4096, 1 << 22};
    const auto picture = lumipad::decodeImage({data, size}, limits);
    if (picture && picture->pixels.size() != static_cast<std::size_t>(picture->width) *
                                                 picture->height * picture->channels) {
        __builtin_trap();
    }
    return 0;
}
