// Files made to break a decoder. Each must fail cleanly or give a well-formed picture; the suite
// also runs under AddressSanitizer and UndefinedBehaviorSanitizer, which catch any read or
// write outside the buffers.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "files/codecs.h"
#include "files/fixtures.h"
#include "files/formats.h"
#include "files/sample_files.h"

namespace lumipad {
namespace {

using test::Bytes;

void expectWellFormed(const Picture& p, const std::string& what) {
    ASSERT_GT(p.width, 0) << what;
    ASSERT_GT(p.height, 0) << what;
    ASSERT_TRUE(p.channels == 3 || p.channels == 4) << what;
    ASSERT_EQ(p.pixels.size(), std::size_t(p.width) * p.height * p.channels) << what;
}

Bytes bmp24(std::int32_t width, std::int32_t height, Bytes pixels = {}) {
    return test::makeBmp({.width = width, .height = height, .pixels = std::move(pixels)});
}

Bytes bmpBits(std::uint16_t bitsPerPixel) {
    return test::makeBmp(
        {.width = 2, .height = 2, .bitsPerPixel = bitsPerPixel, .pixels = Bytes(16, 0)});
}

Bytes rle(std::uint16_t bitsPerPixel, std::int32_t width, std::int32_t height, Bytes data) {
    return test::makeBmp({.width = width,
                          .height = height,
                          .bitsPerPixel = bitsPerPixel,
                          .compression = bitsPerPixel == 8 ? 1u : 2u,
                          .colorTable = Bytes(8, 200),
                          .pixels = std::move(data)});
}

Bytes withField(Bytes file, std::size_t offset, std::uint32_t value) {
    test::putLe32(file, offset, value);
    return file;
}

Bytes truncated(Bytes file, std::size_t length) {
    file.resize(length);
    return file;
}

Bytes withField16(Bytes file, std::size_t offset, std::uint16_t value) {
    test::putLe16(file, offset, value);
    return file;
}

Bytes tinyPng(std::uint32_t width, std::uint32_t height) {
    return test::concat({test::pngSignature(), test::pngHeader(width, height, 8, 2),
                         test::pngChunk("IDAT", {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}),
                         test::pngChunk("IEND", {})});
}

Bytes smallJpeg() {
    return test::makeJpeg(
        {.width = 16, .height = 16, .quality = 50, .pixels = Bytes(16 * 16 * 3, 99)});
}

// The frame header's height and width fields.
Bytes jpegClaiming(std::uint16_t width, std::uint16_t height) {
    Bytes file = smallJpeg();
    for (std::size_t i = 2; i + 9 < file.size(); ++i) {
        if (file[i] == 0xff && file[i + 1] == 0xc0) {
            file[i + 5] = height >> 8;
            file[i + 6] = height & 0xff;
            file[i + 7] = width >> 8;
            file[i + 8] = width & 0xff;
            break;
        }
    }
    return file;
}

Bytes iconWith(test::IconEntry entry) { return test::makeIcon({std::move(entry)}); }

Bytes iconBitmapHeader(std::int32_t width, std::int32_t doubledHeight, std::uint32_t headerSize) {
    Bytes image = test::iconBitmap(2, 2, 32, {}, Bytes(16, 7), Bytes(8, 0));
    test::putLe32(image, 0, headerSize);
    test::putLe32(image, 4, static_cast<std::uint32_t>(width));
    test::putLe32(image, 8, static_cast<std::uint32_t>(doubledHeight));
    return image;
}

enum class Outcome { Fails, Loads };

TEST(HostileInput, MalformedFilesFailCleanlyOrLoadWithinBounds) {
    const Bytes validPng = test::makePng({.width = 4, .height = 4, .rows = Bytes(48, 1)});
    const Bytes validJpeg = smallJpeg();
    const struct {
        const char* name;
        Bytes file;
        Outcome outcome;
    } cases[] = {
        // BMP sizes
        {"bmp width x height overflows", bmp24(INT32_MAX, INT32_MAX), Outcome::Fails},
        {"bmp huge size in a tiny file", bmp24(16000, 16000), Outcome::Fails},
        {"bmp height 0", bmp24(1, 0, Bytes(4)), Outcome::Fails},
        {"bmp height -1: one row, top first", bmp24(1, -1, Bytes(4)), Outcome::Loads},
        {"bmp height INT32_MIN", bmp24(1, INT32_MIN, Bytes(4)), Outcome::Fails},
        {"bmp width negative", bmp24(-4, 1, Bytes(16)), Outcome::Fails},
        {"bmp header too short for its fields", truncated(bmp24(1, 1, Bytes(4)), 33),
         Outcome::Fails},
        // BMP depth and colour table
        {"bmp 0 bits per pixel", bmpBits(0), Outcome::Loads},
        {"bmp 2 bits per pixel", bmpBits(2), Outcome::Loads},
        {"bmp 3 bits per pixel", bmpBits(3), Outcome::Loads},
        {"bmp 30000 bits per pixel", bmpBits(30000), Outcome::Loads},
        {"bmp colour count lies",
         test::makeBmp({.width = 2,
                        .bitsPerPixel = 8,
                        .colorsUsed = 0xffffffff,
                        .colorTable = Bytes(8, 50),
                        .pixels = {0, 255, 0, 0}}),
         Outcome::Loads},
        {"bmp index past a table cut by the file's end",
         test::makeBmp(
             {.width = 2, .bitsPerPixel = 8, .colorTable = Bytes(4, 50), .pixels = {255, 1, 0, 0}}),
         Outcome::Loads},
        {"bmp header size points outside the file", withField(bmpBits(8), 14, 0xfffffff0),
         Outcome::Loads},
        {"bmp pixel offset outside the file", withField(bmp24(1, 1, Bytes(4)), 10, 0xffffffff),
         Outcome::Fails},
        {"bmp pixel offset plus rows wraps 32 bits",
         withField(bmp24(2, 2, Bytes(16)), 10, 0xfffffff8), Outcome::Fails},
        // BMP run lengths
        {"rle8 run past the row's end", rle(8, 2, 1, {200, 1, 0, 1}), Outcome::Loads},
        {"rle8 jump past the picture", rle(8, 2, 2, {1, 1, 0, 2, 255, 255, 1, 1}), Outcome::Loads},
        {"rle8 jump right past the row, then a run", rle(8, 2, 1, {0, 2, 255, 0, 5, 1, 0, 1}),
         Outcome::Loads},
        {"rle8 literal past the end of the data", rle(8, 4, 1, {0, 50, 1, 2}), Outcome::Fails},
        {"rle8 literal past the row's end", rle(8, 1, 1, {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}),
         Outcome::Loads},
        {"rle8 data ends before the end of the picture", rle(8, 2, 2, {2, 1}), Outcome::Fails},
        {"rle8 jump cut short", rle(8, 2, 2, {0, 2, 1}), Outcome::Fails},
        {"rle8 many end-of-lines past the last row", rle(8, 1, 1, {0, 0, 0, 0, 0, 0}),
         Outcome::Loads},
        {"rle4 run past the row's end", rle(4, 1, 1, {255, 0x12, 0, 1}), Outcome::Loads},
        {"rle4 literal past the end of the data", rle(4, 8, 1, {0, 9, 0x12}), Outcome::Fails},
        {"rle pixel offset outside the file", withField(rle(8, 1, 1, {1, 1, 0, 1}), 10, 0x7fffffff),
         Outcome::Fails},
        {"rle huge picture", rle(8, 30000, 30000, {0, 1}), Outcome::Fails},
        // PNG
        {"png width x height overflows", tinyPng(0x7fffffff, 0x7fffffff), Outcome::Fails},
        {"png 65536 x 65536", tinyPng(65536, 65536), Outcome::Fails},
        {"png huge size in a tiny file", tinyPng(16000, 16000), Outcome::Fails},
        {"png width 0", tinyPng(0, 1), Outcome::Fails},
        {"png without image data",
         test::concat(
             {test::pngSignature(), test::pngHeader(1, 1, 8, 2), test::pngChunk("IEND", {})}),
         Outcome::Fails},
        {"png chunk length 2^32 - 1",
         test::concat({truncated(validPng, 33), {0xff, 0xff, 0xff, 0xff, 'I', 'D', 'A', 'T'}}),
         Outcome::Fails},
        {"png header CRC wrong", withField(validPng, 29, 0), Outcome::Fails},
        {"png cut inside the image data", truncated(validPng, validPng.size() - 20),
         Outcome::Fails},
        {"png bit depth 3",
         test::concat(
             {test::pngSignature(), test::pngHeader(1, 1, 3, 0), test::pngChunk("IEND", {})}),
         Outcome::Fails},
        // JPEG
        {"jpeg claiming 65500 x 65500", jpegClaiming(65500, 65500), Outcome::Fails},
        {"jpeg claiming width 0", jpegClaiming(0, 16), Outcome::Fails},
        {"jpeg only its first marker", {0xff, 0xd8}, Outcome::Fails},
        {"jpeg cut inside its header", truncated(validJpeg, 100), Outcome::Fails},
        {"jpeg cut inside the scan loads what there is",
         truncated(validJpeg, validJpeg.size() - 10), Outcome::Loads},
        // Icons
        {"icon without entries", {0, 0, 1, 0, 0, 0}, Outcome::Fails},
        {"icon counting more entries than it holds",
         withField16(iconWith({.image = Bytes(40)}), 4, 1000), Outcome::Fails},
        {"icon entry offset and size wrap 32 bits",
         iconWith({.image = Bytes(40), .size = 0x20, .offset = 0xfffffff0}), Outcome::Fails},
        {"icon entry larger than the file", iconWith({.image = Bytes(40), .size = 1000}),
         Outcome::Fails},
        {"icon entry offset past the file", iconWith({.image = Bytes(40), .offset = 5000}),
         Outcome::Fails},
        {"icon bitmap height 0", iconWith({.image = iconBitmapHeader(2, 0, 40)}), Outcome::Fails},
        {"icon bitmap height 1 (half of it 0)", iconWith({.image = iconBitmapHeader(2, 1, 40)}),
         Outcome::Fails},
        {"icon bitmap huge", iconWith({.image = iconBitmapHeader(INT32_MAX, INT32_MAX - 1, 40)}),
         Outcome::Fails},
        {"icon bitmap header size past the entry",
         iconWith({.image = iconBitmapHeader(2, 4, 0xffffffff)}), Outcome::Fails},
        {"icon bitmap header size too small", iconWith({.image = iconBitmapHeader(2, 4, 12)}),
         Outcome::Fails},
        {"icon 8-bit entry without its mask",
         iconWith({.image = test::iconBitmap(2, 2, 8, Bytes(8, 1), Bytes(8, 1), {})}),
         Outcome::Fails},
        {"icon 8-bit entry whose colour count lies",
         iconWith(
             {.image = withField(test::iconBitmap(2, 2, 8, Bytes(8, 1), Bytes(8, 1), Bytes(8, 0)),
                                 32, 0xffffffff)}),
         Outcome::Fails},
        {"icon embedded PNG cut short",
         iconWith({.image = truncated(validPng, validPng.size() - 20)}), Outcome::Fails},
    };
    for (const auto& c : cases) {
        const auto p = decodeImage(c.file);
        if (c.outcome == Outcome::Fails) {
            EXPECT_FALSE(p) << c.name;
        } else {
            ASSERT_TRUE(p) << c.name;
            expectWellFormed(*p, c.name);
        }
    }
}

TEST(HostileInput, JpegWorkingMemoryIsHeldToTheLimits) {
    // A progressive 4:4:4 picture keeps six bytes of coefficients a pixel; the limits grant four.
    const DecodeLimits limits{512, 512 * 512};
    const struct {
        bool progressive;
        bool subsampled;
        bool loads;
    } cases[] = {{false, false, true}, {true, true, true}, {true, false, false}};
    for (const auto& c : cases) {
        const Bytes file = test::makeJpeg({.width = 512,
                                           .height = 512,
                                           .quality = 50,
                                           .progressive = c.progressive,
                                           .pixels = Bytes(512 * 512 * 3, 80),
                                           .subsampled = c.subsampled});
        EXPECT_EQ(decodeImage(file, limits).has_value(), c.loads)
            << "progressive " << c.progressive << ", subsampled " << c.subsampled;
    }
}

// Small limits keep mutated headers from asking for large pictures; the code paths are the same.
constexpr DecodeLimits kSweepLimits{4096, 1 << 20};

TEST(HostileInput, EveryTruncationAndFlippedByteOfValidFilesReturns) {
    for (const auto& sample : test::sampleFiles()) {
        const Bytes& file = sample.bytes;
        for (std::size_t length = 0; length < file.size(); ++length) {
            const auto p = decodeImage(std::span(file.data(), length), kSweepLimits);
            if (p) expectWellFormed(*p, sample.name + " cut to " + std::to_string(length));
        }
        for (std::size_t at = 0; at < file.size(); ++at) {
            for (std::uint8_t flip : {0xff, 0x01, 0x80}) {
                Bytes mutated = file;
                mutated[at] ^= flip;
                const auto p = decodeImage(mutated, kSweepLimits);
                if (p) expectWellFormed(*p, sample.name + " flipped at " + std::to_string(at));
            }
        }
    }
}

TEST(HostileInput, SeedCorpusFilesAllLoad) {
    const std::filesystem::path corpus = LUMIPAD_FUZZ_CORPUS;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const auto p = loadImage(entry.path());
        ASSERT_TRUE(p) << entry.path();
        expectWellFormed(*p, entry.path());
        ++files;
    }
    EXPECT_EQ(files, test::sampleFiles().size()) << "corpus out of date: run lumipad_fuzz_seeds";
}

TEST(HostileInput, SampleFilesAllLoad) {
    for (const auto& sample : test::sampleFiles()) {
        const auto p = decodeImage(sample.bytes);
        ASSERT_TRUE(p) << sample.name;
        expectWellFormed(*p, sample.name);
    }
}

}  // namespace
}  // namespace lumipad
