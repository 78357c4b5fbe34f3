#include "app/qt/screen_mirror.h"

#include <algorithm>
#include <cstring>

namespace lumipad {

namespace {

// Byte offsets of the first and one past the last byte that differ in [0, n); first == n when
// the two are equal.
void differingBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t n, std::size_t& first,
                    std::size_t& last) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, a + i, 8);
        std::memcpy(&wb, b + i, 8);
        if (wa != wb) break;
    }
    while (i < n && a[i] == b[i]) ++i;
    first = i;
    if (i == n) {
        last = n;
        return;
    }
    std::size_t j = n;
    for (; j >= i + 8; j -= 8) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, a + j - 8, 8);
        std::memcpy(&wb, b + j - 8, 8);
        if (wa != wb) break;
    }
    while (j > i && a[j - 1] == b[j - 1]) --j;
    last = j;
}

}  // namespace

void ScreenMirror::reset(const Raster& surface) { shown_ = surface; }

std::vector<Rect> ScreenMirror::update(const Raster& surface, const Rect& area) {
    std::vector<Rect> bands;
    if (surface.width() != shown_.width() || surface.height() != shown_.height()) {
        reset(surface);
        bands.push_back({0, 0, surface.width(), surface.height()});
        return bands;
    }
    const int x0 = std::max(area.x0, 0);
    const int x1 = std::min(area.x1, surface.width());
    const int y0 = std::max(area.y0, 0);
    const int y1 = std::min(area.y1, surface.height());
    if (x0 >= x1 || y0 >= y1) return bands;
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * 3;
    for (int bandTop = y0; bandTop < y1; bandTop += kBandHeight) {
        const int bandBottom = std::min(bandTop + kBandHeight, y1);
        int left = x1, right = x0;
        for (int y = bandTop; y < bandBottom; ++y) {
            std::uint8_t* shown = shown_.row(y) + x0 * 3;
            const std::uint8_t* now = surface.row(y) + x0 * 3;
            std::size_t first = 0, last = 0;
            differingBytes(now, shown, rowBytes, first, last);
            if (first == rowBytes) continue;
            const int from = x0 + static_cast<int>(first / 3);
            const int to = x0 + static_cast<int>((last + 2) / 3);
            std::memcpy(shown + (from - x0) * 3, now + (from - x0) * 3,
                        static_cast<std::size_t>(to - from) * 3);
            left = std::min(left, from);
            right = std::max(right, to);
        }
        if (left < right) bands.push_back({left, bandTop, right, bandBottom});
    }
    return bands;
}

}  // namespace lumipad
