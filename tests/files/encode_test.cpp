// What our writers put in a file, byte by byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "files/codecs.h"
#include "files/fixtures.h"
#include "files/formats.h"

namespace lumipad {
namespace {

using test::Bytes;

std::uint32_t le32At(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(WriteBmp, CanvasHeaderHoldsEveryFieldAndRowsStartAtTheBottom) {
    Raster canvas(480, 480);
    canvas.setPixel(0, 479, rgb(10, 20, 30));  // bottom row: stored first
    canvas.setPixel(0, 0, rgb(40, 50, 60));    // top row: stored last
    const Bytes file = *encodeBmp(canvas);

    ASSERT_EQ(file.size(), 691254u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    const struct {
        std::size_t offset;
        int size;
        std::uint32_t value;
    } fields[] = {
        {2, 4, 691254},  {6, 2, 0},    {8, 2, 0},  {10, 4, 54}, {14, 4, 40},
        {18, 4, 480},    {22, 4, 480}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
        {34, 4, 691200}, {38, 4, 0},   {42, 4, 0}, {46, 4, 0},  {50, 4, 0},
    };
    for (const auto& f : fields) {
        const std::uint32_t got =
            f.size == 2 ? (file[f.offset] | file[f.offset + 1] << 8) : le32At(file, f.offset);
        EXPECT_EQ(got, f.value) << "field at offset " << f.offset;
    }
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 57), (Bytes{30, 20, 10}));
    EXPECT_EQ(Bytes(file.end() - 1440, file.end() - 1437), (Bytes{60, 50, 40}));
}

TEST(WriteBmp, OddWidthsPadRowsWithZerosAndReadBackUnchanged) {
    const struct {
        int width, height;
        std::size_t fileSize;
    } cases[] = {{1, 1, 58}, {5, 3, 102}, {7, 2, 102}, {480, 480, 691254}};
    for (const auto& c : cases) {
        const Raster raster = test::noiseRaster(c.width, c.height, 7);
        const Bytes file = *encodeBmp(raster);
        ASSERT_EQ(file.size(), c.fileSize) << c.width << "x" << c.height;
        const std::size_t rowSize = (c.fileSize - 54) / c.height;
        for (int r = 0; r < c.height; ++r)
            for (std::size_t i = c.width * 3; i < rowSize; ++i)
                EXPECT_EQ(file[54 + r * rowSize + i], 0) << "padding of stored row " << r;

        const auto back = decodeImage(file);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->channels, 3);
        for (int y = 0; y < c.height; ++y)
            ASSERT_EQ(
                0, std::memcmp(back->pixels.data() + y * c.width * 3, raster.row(y), c.width * 3))
                << "row " << y;
    }
}

// A typical canvas: flat areas and a few shapes.
Raster drawing(int width, int height) {
    Raster r(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            r.setPixel(x, y, (x / 40 + y / 60) % 3 == 0 ? rgb(255, 255, 255) : rgb(x, y, 90));
    return r;
}

TEST(WritePng, OnlyHeaderDataAndEndChunksInFullSizedPieces) {
    const Bytes file = *encodePng(test::noiseRaster(480, 480, 1));
    ASSERT_EQ(Bytes(file.begin(), file.begin() + 8), test::pngSignature());
    const auto chunks = test::pngChunks(file);
    ASSERT_GE(chunks.size(), 3u);

    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.front().data, (Bytes{0, 0, 1, 0xe0, 0, 0, 1, 0xe0, 8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks.back().type, "IEND");
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
        if (i + 2 < chunks.size()) {
            EXPECT_EQ(chunks[i].data.size(), 8192u) << "chunk " << i;
        }
    }
    // Nothing may follow IEND.
    std::size_t total = 8;
    for (const auto& c : chunks) total += 12 + c.data.size();
    EXPECT_EQ(total, file.size());
}

TEST(WritePng, UnfilteredRowsAtLevelNineHoldTheCanvasExactly) {
    const struct {
        const char* name;
        Raster raster;
    } cases[] = {
        {"drawing 480x480", drawing(480, 480)},
        {"noise 7x5", test::noiseRaster(7, 5, 3)},
        {"noise 1x1", test::noiseRaster(1, 1, 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Raster& r = c.raster;
        const Bytes file = *encodePng(r);
        Bytes stream;
        for (const auto& chunk : test::pngChunks(file))
            if (chunk.type == "IDAT")
                stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
        // The zlib header's level bits say "maximum compression".
        ASSERT_GE(stream.size(), 2u);
        EXPECT_EQ(stream[1] >> 6, 3);
        const Bytes data = test::inflateAll(stream);
        const std::size_t rowBytes = r.width() * 3;
        ASSERT_EQ(data.size(), r.height() * (rowBytes + 1));
        for (int y = 0; y < r.height(); ++y) {
            EXPECT_EQ(data[y * (rowBytes + 1)], 0) << "filter byte of row " << y;
            EXPECT_EQ(0, std::memcmp(&data[y * (rowBytes + 1) + 1], r.row(y), rowBytes))
                << "row " << y;
        }

        const auto back = decodeImage(file);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->channels, 3);
        for (int y = 0; y < r.height(); ++y)
            EXPECT_EQ(0, std::memcmp(back->pixels.data() + y * rowBytes, r.row(y), rowBytes));
    }
}

TEST(WriteJpeg, DefaultMarkersAndAllOneTablesAtTopQuality) {
    const Bytes file = *encodeJpeg(test::noiseRaster(480, 480, 2), 10);
    ASSERT_EQ(Bytes(file.begin(), file.begin() + 2), (Bytes{0xff, 0xd8}));
    const auto segments = test::jpegSegments(file);
    ASSERT_FALSE(segments.empty());

    // JFIF 1.01 right after SOI: no units, aspect ratio 1:1, no thumbnail.
    EXPECT_EQ(segments[0].marker, 0xe0);
    EXPECT_EQ(segments[0].data, (Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));

    int tables = 0, scans = 0, frames = 0;
    for (const auto& s : segments) {
        EXPECT_NE(s.marker, 0xee) << "Adobe marker";
        EXPECT_NE(s.marker, 0xdd) << "restart interval";
        if (s.marker == 0xdb) {
            for (std::size_t at = 0; at < s.data.size(); at += 65, ++tables) {
                EXPECT_EQ(s.data[at] >> 4, 0) << "8-bit table";
                EXPECT_TRUE(std::all_of(s.data.begin() + at + 1, s.data.begin() + at + 65,
                                        [](std::uint8_t q) { return q == 1; }))
                    << "table " << (s.data[at] & 15);
            }
        }
        if (s.marker == 0xda) ++scans;
        if ((s.marker & 0xf0) == 0xc0 && s.marker != 0xc4) {
            ++frames;
            EXPECT_EQ(s.marker, 0xc0) << "baseline sequential frame";
            // Three components: luminance 2×2 with table 0, both chrominances 1×1 with table 1.
            EXPECT_EQ(Bytes(s.data.begin() + 5, s.data.end()),
                      (Bytes{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
        }
    }
    EXPECT_EQ(tables, 2);
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(segments.back().marker, 0xd9);
}

TEST(WriteJpeg, QualityIsClampedToZeroToTen) {
    const Raster r = test::noiseRaster(16, 16, 5);
    EXPECT_EQ(*encodeJpeg(r, 10), *encodeJpeg(r, 11));
    EXPECT_EQ(*encodeJpeg(r, 0), *encodeJpeg(r, -5));
    EXPECT_NE(*encodeJpeg(r, 5), *encodeJpeg(r, 10));
}

TEST(WriteAnyFormat, EmptyRasterIsRefused) {
    for (SaveFormat format : {SaveFormat::Png, SaveFormat::Jpeg, SaveFormat::Bmp})
        EXPECT_FALSE(encodeImage(Raster(0, 0), format, 10)) << static_cast<int>(format);
}

}  // namespace
}  // namespace lumipad
