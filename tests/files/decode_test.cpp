// What our readers make of each kind of file.
#include <gtest/gtest.h>

#include "files/codecs.h"
#include "files/fixtures.h"
#include "files/formats.h"

namespace lumipad {
namespace {

using test::Bytes;

// The first pixels of a picture, channel by channel.
Bytes head(const Picture& p, std::size_t pixels) {
    return Bytes(p.pixels.begin(), p.pixels.begin() + pixels * p.channels);
}

TEST(Recognise, FirstMatchingSignatureDecidesInTheOrderIconBmpJpegPng) {
    const Bytes png = test::pngSignature();
    const struct {
        const char* name;
        Bytes bytes;
        FileKind kind;
    } cases[] = {
        {"icon", {0, 0, 1, 0}, FileKind::Icon},
        {"cursor", {0, 0, 2, 0}, FileKind::Unknown},
        {"bmp", {'B', 'M', 9, 9, 9, 9, 0, 0, 0, 0}, FileKind::Bmp},
        {"bmp, reserved word 1 set", {'B', 'M', 0, 0, 0, 0, 1, 0, 0, 0}, FileKind::Unknown},
        {"bmp, reserved word 2 set", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 1}, FileKind::Unknown},
        {"bmp cut before the reserved words", {'B', 'M', 0, 0, 0, 0, 0, 0, 0}, FileKind::Unknown},
        {"jpeg", {0xff, 0xd8}, FileKind::Jpeg},
        {"png", png, FileKind::Png},
        {"png signature cut short", Bytes(png.begin(), png.end() - 1), FileKind::Unknown},
        {"empty", {}, FileKind::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(recognise(c.bytes), c.kind) << c.name;
}

TEST(Recognise, FileNamesPlayNoPart) {
    test::TempDir dir;
    const Raster r = test::noiseRaster(3, 2, 9);
    test::writeBytes(dir.file("really-png.jpg"), *encodePng(r));
    test::writeBytes(dir.file("really-jpeg.png"), *encodeJpeg(r, 10));
    test::writeBytes(dir.file("really-bmp"), *encodeBmp(r));
    for (const char* name : {"really-png.jpg", "really-jpeg.png", "really-bmp"}) {
        const auto p = loadImage(dir.file(name));
        ASSERT_TRUE(p) << name;
        EXPECT_EQ(p->width, 3);
        EXPECT_EQ(p->height, 2);
    }
    Bytes expected(r.row(0), r.row(0) + 9);
    expected.insert(expected.end(), r.row(1), r.row(1) + 9);
    EXPECT_EQ(loadImage(dir.file("really-png.jpg"))->pixels, expected);
}

// --- PNG

png_color_16 color16(std::uint16_t r, std::uint16_t g, std::uint16_t b, std::uint16_t grey = 0) {
    png_color_16 c{};
    c.red = r;
    c.green = g;
    c.blue = b;
    c.gray = grey;
    return c;
}

TEST(ReadPng, EveryColourTypeBecomesEightBitRgbOrRgba) {
    const struct {
        const char* name;
        test::PngFixture fixture;
        int channels;
        Bytes pixels;
    } cases[] = {
        {"16-bit grey keeps the high byte, not rounded",
         {.width = 2,
          .colorType = PNG_COLOR_TYPE_GRAY,
          .bitDepth = 16,
          .rows = {0x80, 0xff, 0x12, 0x34}},
         3,
         {0x80, 0x80, 0x80, 0x12, 0x12, 0x12}},
        {"1-bit grey widens to 0 and 255",
         {.width = 3, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {0b10100000}},
         3,
         {255, 255, 255, 0, 0, 0, 255, 255, 255}},
        {"grey with tRNS gains alpha",
         {.width = 2,
          .colorType = PNG_COLOR_TYPE_GRAY,
          .rows = {50, 60},
          .transparentColor = color16(0, 0, 0, 50)},
         4,
         {50, 50, 50, 0, 60, 60, 60, 255}},
        {"16-bit truecolour with tRNS matches all sixteen bits",
         {.width = 2,
          .bitDepth = 16,
          .rows = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0x12, 0x35, 0x56, 0x78, 0x9a, 0xbc},
          .transparentColor = color16(0x1234, 0x5678, 0x9abc)},
         4,
         {0x12, 0x56, 0x9a, 0, 0x12, 0x56, 0x9a, 255}},
        {"2-bit palette with tRNS",
         {.width = 2,
          .colorType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 2,
          .rows = {0b01100000},
          .palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
          .paletteAlpha = {255, 128}},
         4,
         {4, 5, 6, 128, 7, 8, 9, 255}},
        {"grey and alpha",
         {.width = 1, .colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .rows = {77, 33}},
         4,
         {77, 77, 77, 33}},
        {"16-bit RGBA",
         {.width = 1,
          .colorType = PNG_COLOR_TYPE_RGBA,
          .bitDepth = 16,
          .rows = {1, 0xff, 2, 0xff, 3, 0xff, 4, 0xff}},
         4,
         {1, 2, 3, 4}},
        {"fully transparent pixels keep their stored colours",
         {.width = 2, .colorType = PNG_COLOR_TYPE_RGBA, .rows = {200, 100, 50, 0, 10, 20, 30, 0}},
         4,
         {200, 100, 50, 0, 10, 20, 30, 0}},
    };
    for (const auto& c : cases) {
        const auto p = decodeImage(test::makePng(c.fixture));
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(p->channels, c.channels) << c.name;
        EXPECT_EQ(p->pixels, c.pixels) << c.name;
        EXPECT_FALSE(p->isIcon) << c.name;
    }
}

TEST(ReadPng, InterlacedFileLoadsEveryPass) {
    const Raster r = test::noiseRaster(11, 9, 21);
    test::PngFixture fixture{.width = 11, .height = 9, .interlaced = true};
    for (int y = 0; y < 9; ++y) fixture.rows.insert(fixture.rows.end(), r.row(y), r.row(y) + 33);
    const auto p = decodeImage(test::makePng(fixture));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixels, fixture.rows);
}

// --- JPEG

TEST(ReadJpeg, CmykAndYcckBecomeRgbThroughTheBlackChannel) {
    // Flat pictures: CMYK survives the transform exactly at quality 100; YCCK goes through a
    // colour conversion and back, which may round.
    const struct {
        J_COLOR_SPACE stored;
        Bytes cmyk;
        Bytes rgb;
        int tolerance;
    } cases[] = {
        {JCS_CMYK, {255, 0, 0, 255}, {255, 0, 0}, 0},
        {JCS_CMYK, {255, 255, 255, 128}, {128, 128, 128}, 0},
        {JCS_YCCK, {255, 0, 0, 255}, {255, 0, 0}, 2},
        {JCS_YCCK, {255, 255, 255, 128}, {128, 128, 128}, 2},
    };
    for (const auto& c : cases) {
        test::JpegFixture fixture{
            .width = 16, .height = 16, .components = 4, .input = JCS_CMYK, .stored = c.stored};
        for (int i = 0; i < 16 * 16; ++i)
            fixture.pixels.insert(fixture.pixels.end(), c.cmyk.begin(), c.cmyk.end());
        const auto p = decodeImage(test::makeJpeg(fixture));
        ASSERT_TRUE(p);
        EXPECT_EQ(p->channels, 3);
        for (std::size_t i = 0; i < p->pixels.size(); ++i)
            ASSERT_NEAR(p->pixels[i], c.rgb[i % 3], c.tolerance)
                << "byte " << i << " of " << (c.stored == JCS_CMYK ? "CMYK" : "YCCK");
    }
}

TEST(ReadJpeg, GreyAndProgressiveFilesLoadAsRgb) {
    test::JpegFixture grey{.width = 8,
                           .height = 8,
                           .components = 1,
                           .input = JCS_GRAYSCALE,
                           .stored = JCS_GRAYSCALE,
                           .pixels = Bytes(64, 90)};
    const auto g = decodeImage(test::makeJpeg(grey));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->channels, 3);
    EXPECT_EQ(head(*g, 1), (Bytes{90, 90, 90}));

    test::JpegFixture progressive{.width = 24, .height = 16, .progressive = true};
    for (int i = 0; i < 24 * 16; ++i) test::append(progressive.pixels, {200, 40, 40});
    const auto p = decodeImage(test::makeJpeg(progressive));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 24);
    EXPECT_EQ(p->height, 16);
    EXPECT_NEAR(p->pixels[0], 200, 3);
    EXPECT_NEAR(p->pixels[1], 40, 3);
}

TEST(ReadJpeg, UnrecognisedColourSpaceFails) {
    test::JpegFixture twoChannels{.components = 2,
                                  .input = JCS_UNKNOWN,
                                  .stored = JCS_UNKNOWN,
                                  .pixels = Bytes(8 * 8 * 2, 100)};
    const Bytes file = test::makeJpeg(twoChannels);
    ASSERT_EQ(recognise(file), FileKind::Jpeg);
    EXPECT_FALSE(decodeImage(file));
}

// --- BMP

Bytes table(std::initializer_list<Bytes> rgbColours) {
    Bytes out;
    for (const Bytes& c : rgbColours) test::append(out, {c[2], c[1], c[0], 0});
    return out;
}

TEST(ReadBmp, EveryStoredFormDecodes) {
    const Bytes red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    const struct {
        const char* name;
        test::BmpFixture fixture;
        Bytes pixels;  // RGB, top row first
    } cases[] = {
        {"1-bit is black and white whatever the table holds",
         {.width = 3,
          .bitsPerPixel = 1,
          .colorTable = table({red, blue}),
          .pixels = {0b01000000, 0, 0, 0}},
         {0, 0, 0, 255, 255, 255, 0, 0, 0}},
        {"4-bit, high half first",
         {.width = 3,
          .bitsPerPixel = 4,
          .colorTable = table({red, blue, green}),
          .pixels = {0x21, 0x00, 0, 0}},
         {0, 255, 0, 0, 0, 255, 255, 0, 0}},
        {"8-bit, index past the table is black",
         {.width = 2,
          .bitsPerPixel = 8,
          .colorsUsed = 2,
          .colorTable = table({red, blue}),
          .pixels = {1, 7, 0, 0}},
         {0, 0, 255, 0, 0, 0}},
        {"16-bit 5-5-5 times 8",
         {.width = 1, .bitsPerPixel = 16, .pixels = {0x21, 0x7c, 0, 0}},  // red 31, green 1, blue 1
         {248, 8, 8}},
        {"16-bit 5-6-5 with bit fields",
         {.width = 1,
          .bitsPerPixel = 16,
          .compression = 3,
          .pixels = {0x21, 0xf8, 0, 0}},  // 31, 1, 1
         {248, 4, 8}},
        {"24-bit, bottom row first, rows padded",
         {.width = 1, .height = 2, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}},
         {6, 5, 4, 3, 2, 1}},
        {"24-bit, negative height stores the top row first",
         {.width = 1, .height = -2, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}},
         {3, 2, 1, 6, 5, 4}},
        {"32-bit, fourth byte ignored",
         {.width = 1, .bitsPerPixel = 32, .pixels = {1, 2, 3, 99}},
         {3, 2, 1}},
        {"last row may lack its padding", {.width = 1, .pixels = {1, 2, 3}}, {3, 2, 1}},
        {"RLE8: run, literal with fill byte, end of line, jump, end of picture",
         {.width = 4,
          .height = 3,
          .bitsPerPixel = 8,
          .compression = 1,
          .colorTable = table({{0, 0, 0}, red, blue, green}),
          .pixels = {2, 1, 0, 3, 2, 3, 2, 0,  // bottom row: red red | blue green blue
                     0, 0,                    // end of line
                     0, 2, 1, 1,              // jump to x 1 of the top row
                     1, 3,                    // green
                     0, 1}},
         {0,   0, 0, 0,   255, 0, 0, 0, 0,   0, 0,   0,  // top: black green black black
          0,   0, 0, 0,   0,   0, 0, 0, 0,   0, 0,   0,  // middle: skipped
          255, 0, 0, 255, 0,   0, 0, 0, 255, 0, 255, 0}},
        {"RLE4: runs alternate halves, literals packed two to a byte",
         {.width = 4,
          .height = 1,
          .bitsPerPixel = 4,
          .compression = 2,
          .colorTable = table({{0, 0, 0}, red, blue, green}),
          .pixels = {3, 0x12, 0, 3, 0x30, 0, 0, 1}},
         {255, 0, 0, 0, 0, 255, 255, 0, 0, 0, 255, 0}},
        {"16-bit with another compression is a black picture",
         {.width = 2, .bitsPerPixel = 16, .compression = 4},
         {0, 0, 0, 0, 0, 0}},
        {"2 bits per pixel is a black picture",
         {.width = 2, .bitsPerPixel = 2},
         {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto p = decodeImage(test::makeBmp(c.fixture));
        ASSERT_TRUE(p) << c.name;
        EXPECT_EQ(p->width, c.fixture.width) << c.name;
        EXPECT_EQ(p->height, std::abs(c.fixture.height)) << c.name;
        EXPECT_EQ(p->channels, 3) << c.name;
        EXPECT_EQ(p->pixels, c.pixels) << c.name;
    }
}

TEST(ReadBmp, PixelDataEndingEarlyFails) {
    test::BmpFixture fixture{.width = 2, .height = 2, .pixels = Bytes(16, 7)};
    const Bytes whole = test::makeBmp(fixture);
    ASSERT_TRUE(decodeImage(whole));
    // The last row needs its six pixel bytes; its two fill bytes may be missing.
    EXPECT_TRUE(decodeImage(Bytes(whole.begin(), whole.end() - 2)));
    EXPECT_FALSE(decodeImage(Bytes(whole.begin(), whole.end() - 3)));
    EXPECT_FALSE(decodeImage(Bytes(whole.begin(), whole.begin() + 54)));
}

// --- icons

// A 32-bit bitmap entry of one colour, its own alpha; stored rows equal, so orientation is moot.
Bytes solidIconImage(int size, Bytes bgra) {
    Bytes rows;
    for (int i = 0; i < size * size; ++i) rows.insert(rows.end(), bgra.begin(), bgra.end());
    return test::iconBitmap(size, size, 32, {}, rows, Bytes(size * 4, 0));
}

TEST(ReadIcon, SameSizeAsTheFirstWithMoreBitsWins) {
    const Bytes fourBit =
        test::iconBitmap(16, 16, 4, table({{9, 9, 9}}), Bytes(16 * 8, 0), Bytes(16 * 4, 0));
    const Bytes icon = test::makeIcon({
        {.width = 16, .height = 16, .bitsPerPixel = 4, .image = fourBit},
        {.width = 32,
         .height = 32,
         .bitsPerPixel = 32,
         .image = solidIconImage(32, {1, 1, 1, 255})},
        {.width = 16,
         .height = 16,
         .bitsPerPixel = 32,
         .image = solidIconImage(16, {30, 20, 10, 200})},
        {.width = 16,
         .height = 16,
         .bitsPerPixel = 32,
         .image = solidIconImage(16, {2, 2, 2, 255})},
    });
    const auto p = decodeImage(icon);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->isIcon);
    EXPECT_EQ(p->width, 16);
    EXPECT_EQ(p->channels, 4);
    EXPECT_EQ(head(*p, 1), (Bytes{10, 20, 30, 200}));
}

TEST(ReadIcon, TransparencyComesFromTheMaskOrTheAlphaChannel) {
    // 2×2 entries; the mask marks the stored first row's left pixel (the bottom-left) transparent.
    const Bytes mask{0x80, 0, 0, 0, 0, 0, 0, 0};
    const Bytes eightBit =
        test::iconBitmap(2, 2, 8, table({{0, 0, 0}, {250, 0, 0}}), Bytes(8, 1), mask);
    Bytes rows32;
    for (int i = 0; i < 4; ++i)
        test::append(rows32, {0, 0, 250, static_cast<std::uint8_t>(i * 60)});
    Bytes noAlpha;
    for (int i = 0; i < 4; ++i) test::append(noAlpha, {0, 0, 250, 0});
    test::PngFixture png{.width = 2, .height = 2};
    for (int i = 0; i < 4; ++i) test::append(png.rows, {250, 0, 0});

    const struct {
        const char* name;
        Bytes image;
        Bytes alpha;  // top row first
    } cases[] = {
        {"8-bit with mask", eightBit, {255, 255, 0, 255}},
        {"32-bit with its own alpha",
         test::iconBitmap(2, 2, 32, {}, rows32, mask),
         {120, 180, 0, 60}},
        {"32-bit whose alpha is all zero uses the mask",
         test::iconBitmap(2, 2, 32, {}, noAlpha, mask),
         {255, 255, 0, 255}},
        {"32-bit without alpha or mask is opaque",
         test::iconBitmap(2, 2, 32, {}, noAlpha, {}),
         {255, 255, 255, 255}},
        {"embedded PNG without alpha is opaque", test::makePng(png), {255, 255, 255, 255}},
    };
    for (const auto& c : cases) {
        const auto p = decodeImage(test::makeIcon({{.width = 2, .height = 2, .image = c.image}}));
        ASSERT_TRUE(p) << c.name;
        EXPECT_TRUE(p->isIcon) << c.name;
        ASSERT_EQ(p->channels, 4) << c.name;
        Bytes alpha;
        for (std::size_t i = 3; i < p->pixels.size(); i += 4) alpha.push_back(p->pixels[i]);
        EXPECT_EQ(alpha, c.alpha) << c.name;
        EXPECT_EQ(head(*p, 1), (Bytes{250, 0, 0, c.alpha[0]})) << c.name;
    }
}

}  // namespace
}  // namespace lumipad
