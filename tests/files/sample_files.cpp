#include "files/sample_files.h"

#include "files/formats.h"

namespace lumipad::test {

namespace {

Bytes greyRamp(int count, int step) {
    Bytes out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(i * step));
    return out;
}

Bytes bgrTable(int entries) {
    Bytes out;
    for (int i = 0; i < entries; ++i)
        append(out, {static_cast<std::uint8_t>(i * 40), static_cast<std::uint8_t>(255 - i * 30),
                     static_cast<std::uint8_t>(i * 17), 0});
    return out;
}

}  // namespace

std::vector<SampleFile> sampleFiles() {
    std::vector<SampleFile> files;
    files.push_back({"rgb-5x4.bmp", *encodeBmp(noiseRaster(5, 4, 1))});
    files.push_back({"indexed-4bit-5x3.bmp", makeBmp({.width = 5,
                                                      .height = 3,
                                                      .bitsPerPixel = 4,
                                                      .colorTable = bgrTable(6),
                                                      .pixels = {0x01, 0x23, 0x40, 0, 0x54, 0x32,
                                                                 0x10, 0, 0x11, 0x22, 0x30, 0}})});
    files.push_back(
        {"top-down-565-3x2.bmp", makeBmp({.width = 3,
                                          .height = -2,
                                          .bitsPerPixel = 16,
                                          .compression = 3,
                                          .pixels = {0x1f, 0, 0xe0, 0x07, 0, 0xf8, 0, 0, 0xff, 0xff,
                                                     0x21, 0x84, 0x10, 0x42, 0, 0}})});
    files.push_back({"rle8-6x4.bmp", makeBmp({.width = 6,
                                              .height = 4,
                                              .bitsPerPixel = 8,
                                              .compression = 1,
                                              .colorTable = bgrTable(4),
                                              .pixels = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0,
                                                         2, 2, 1, 4, 3, 0, 0, 6, 2, 0, 1}})});
    files.push_back({"rle4-7x2.bmp", makeBmp({.width = 7,
                                              .height = 2,
                                              .bitsPerPixel = 4,
                                              .compression = 2,
                                              .colorTable = bgrTable(4),
                                              .pixels = {4, 0x12, 0, 3, 0x31, 0x20, 0, 0, 0, 5,
                                                         0x01, 0x23, 0x00, 0, 0, 1}})});
    files.push_back({"rgb-6x5.png", *encodePng(noiseRaster(6, 5, 2))});

    PngFixture palette{.width = 9,
                       .height = 7,
                       .colorType = 3,
                       .bitDepth = 4,
                       .interlaced = true,
                       .rows = greyRamp(5 * 7, 7),
                       .palette = {},
                       .paletteAlpha = {255, 0, 128}};
    for (int i = 0; i < 16; ++i)
        palette.palette.push_back(
            {static_cast<png_byte>(i * 16), static_cast<png_byte>(255 - i * 16), 77});
    files.push_back({"palette-interlaced-9x7.png", makePng(palette)});

    files.push_back(
        {"grey16-trns-4x3.png", makePng({.width = 4,
                                         .height = 3,
                                         .colorType = 0,
                                         .bitDepth = 16,
                                         .rows = greyRamp(24, 11),
                                         .transparentColor = png_color_16{0, 0, 0, 0, 0x0b16}})});
    const Bytes rgbaPng =
        makePng({.width = 3, .height = 3, .colorType = 6, .rows = greyRamp(36, 7)});
    files.push_back({"rgba-3x3.png", rgbaPng});

    Bytes rgb;
    for (int i = 0; i < 16 * 16; ++i)
        append(rgb, {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 16 * 16), 200});
    files.push_back({"baseline-16x16.jpg",
                     makeJpeg({.width = 16, .height = 16, .quality = 60, .pixels = rgb})});
    files.push_back(
        {"progressive-16x16.jpg",
         makeJpeg({.width = 16, .height = 16, .quality = 60, .progressive = true, .pixels = rgb})});
    files.push_back({"grey-8x8.jpg", makeJpeg({.width = 8,
                                               .height = 8,
                                               .components = 1,
                                               .input = JCS_GRAYSCALE,
                                               .stored = JCS_GRAYSCALE,
                                               .quality = 60,
                                               .pixels = greyRamp(64, 4)})});
    Bytes cmyk;
    for (int i = 0; i < 8 * 8; ++i)
        append(cmyk,
               {static_cast<std::uint8_t>(i * 4), 50, 200, static_cast<std::uint8_t>(255 - i)});
    files.push_back({"cmyk-8x8.jpg", makeJpeg({.width = 8,
                                               .height = 8,
                                               .components = 4,
                                               .input = JCS_CMYK,
                                               .stored = JCS_CMYK,
                                               .quality = 60,
                                               .pixels = cmyk})});

    const Bytes mask{0xa0, 0, 0, 0, 0x50, 0, 0, 0, 0xf0, 0, 0, 0, 0, 0, 0, 0};
    files.push_back(
        {"bitmap-8bit-4x4.ico",
         makeIcon({{.width = 4,
                    .height = 4,
                    .bitsPerPixel = 8,
                    .image = iconBitmap(4, 4, 8, bgrTable(3), greyRamp(16, 1), mask)}})});
    Bytes bgra;
    for (int i = 0; i < 16; ++i)
        append(bgra, {static_cast<std::uint8_t>(i * 9), 30, 60, static_cast<std::uint8_t>(i * 16)});
    files.push_back({"two-entries-32bit.ico",
                     makeIcon({{.width = 4,
                                .height = 4,
                                .bitsPerPixel = 8,
                                .image = iconBitmap(4, 4, 8, bgrTable(3), Bytes(16, 2), mask)},
                               {.width = 4,
                                .height = 4,
                                .bitsPerPixel = 32,
                                .image = iconBitmap(4, 4, 32, {}, bgra, mask)}})});
    files.push_back({"png-entry.ico", makeIcon({{.width = 3, .height = 3, .image = rgbaPng}})});
    return files;
}

}  // namespace lumipad::test
