// Reading whole files, and saving without ever losing the file that was there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "files/codecs.h"
#include "files/fixtures.h"
#include "files/formats.h"

namespace lumipad {
namespace {

using test::Bytes;

// A write(2) that stores `budget` bytes in all and then fails as a full disk would.
FileOutput failingAfter(std::size_t budget) {
    auto left = std::make_shared<std::size_t>(budget);
    return {[left](int fd, const void* data, std::size_t size) -> ssize_t {
                if (*left == 0) {
                    errno = ENOSPC;
                    return -1;
                }
                const ssize_t n = ::write(fd, data, std::min(size, *left));
                if (n > 0) *left -= static_cast<std::size_t>(n);
                return n;
            },
            false};
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode;
}

TEST(SaveImage, EachFormatWritesWhatItsEncoderMakesAndLoadsBack) {
    test::TempDir dir;
    const Raster canvas = test::noiseRaster(480, 480, 11);
    for (SaveFormat format : {SaveFormat::Png, SaveFormat::Jpeg, SaveFormat::Bmp}) {
        const std::string path = dir.file("canvas");
        ASSERT_TRUE(saveImage(canvas, path, format, 10));
        EXPECT_EQ(test::readBytes(path), *encodeImage(canvas, format, 10));
        const auto back = loadImage(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 480);
        EXPECT_EQ(dir.listing(), std::vector<std::string>{"canvas"});
    }
}

TEST(SaveImage, TargetsThatCannotBeWrittenFailAndChangeNothing) {
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    const Raster canvas(4, 4);
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"empty name", ""},
        {"missing folder", dir.file("missing/picture.png")},
        {"a folder", dir.file("folder")},
        {"a name ending in a slash", dir.file("folder/")},
        {"a FIFO", dir.file("pipe")},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(saveImage(canvas, c.path, SaveFormat::Png, 10)) << c.name;
        EXPECT_EQ(dir.listing(), (std::vector<std::string>{"folder", "pipe"})) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
    EXPECT_TRUE(S_ISFIFO(modeOf(dir.file("pipe"))));
}

TEST(SaveImage, WriteProtectedFileStaysUnlessWeAreRoot) {
    test::TempDir dir;
    const std::string path = dir.file("locked.bmp");
    const Bytes old{1, 2, 3};
    test::writeBytes(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const bool saved = saveImage(Raster(2, 2), path, SaveFormat::Bmp, 10);
    if (::geteuid() == 0) {
        // Root may write anything; then the save really happened and says so.
        EXPECT_TRUE(saved);
        EXPECT_EQ(test::readBytes(path), *encodeBmp(Raster(2, 2)));
    } else {
        EXPECT_FALSE(saved);
        EXPECT_EQ(test::readBytes(path), old);
    }
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"locked.bmp"});
}

TEST(SaveImage, ReplacedFileKeepsItsPermissionsAndLinksStayLinks) {
    test::TempDir dir;
    const std::string real = dir.file("real.png");
    test::writeBytes(real, {9});
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.png", dir.file("link.png").c_str()), 0);

    ASSERT_TRUE(saveImage(Raster(3, 3), dir.file("link.png"), SaveFormat::Png, 10));
    EXPECT_EQ(test::readBytes(real), *encodePng(Raster(3, 3)));
    EXPECT_EQ(modeOf(real) & 0777, 0640u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.png")));
    EXPECT_EQ(dir.listing(), (std::vector<std::string>{"link.png", "real.png"}));
}

TEST(SaveImage, WriteCutShortLeavesTheOldFileByteForByte) {
    test::TempDir dir;
    const std::string path = dir.file("picture.bmp");
    const Bytes old = *encodePng(test::noiseRaster(20, 20, 1));
    const Raster canvas = test::noiseRaster(480, 480, 2);
    const std::size_t full = encodeBmp(canvas)->size();
    for (std::size_t budget :
         {std::size_t{0}, std::size_t{1}, std::size_t{54}, std::size_t{4096}, full / 2, full - 1}) {
        test::writeBytes(path, old);
        EXPECT_FALSE(saveImage(canvas, path, SaveFormat::Bmp, 10, failingAfter(budget))) << budget;
        EXPECT_EQ(test::readBytes(path), old) << budget;
        EXPECT_EQ(dir.listing(), std::vector<std::string>{"picture.bmp"}) << budget;
    }
    // Short writes that carry on are not failures.
    EXPECT_TRUE(saveImage(canvas, path, SaveFormat::Bmp, 10, failingAfter(full)));
    EXPECT_EQ(test::readBytes(path), *encodeBmp(canvas));
}

TEST(SaveImage, FileSizeLimitOfTheSystemLeavesTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.file("picture.png");
    const Bytes old(1000, 0x5a);
    test::writeBytes(path, old);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writing past the limit then ends in EFBIG instead of a signal.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = saveImage(test::noiseRaster(480, 480, 3), path, SaveFormat::Bmp, 10);
        ::_exit(saved ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save claimed success";
    EXPECT_EQ(test::readBytes(path), old);
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"picture.png"});
}

TEST(SaveImage, EncoderFailureNeverTouchesTheDisk) {
    test::TempDir dir;
    const std::string path = dir.file("keep.png");
    test::writeBytes(path, {1, 2});
    EXPECT_FALSE(saveImage(Raster(0, 0), path, SaveFormat::Png, 10));
    EXPECT_FALSE(saveImage(Raster(0, 0), dir.file("new.png"), SaveFormat::Png, 10));
    EXPECT_EQ(test::readBytes(path), (Bytes{1, 2}));
    EXPECT_EQ(dir.listing(), std::vector<std::string>{"keep.png"});
}

TEST(LoadImage, FilesThatCannotBeReadWholeFail) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    ::mkdir(dir.file("folder").c_str(), 0755);
    test::writeBytes(dir.file("empty"), {});
    for (const char* name : {"missing", "pipe", "folder", "empty"})
        EXPECT_FALSE(loadImage(dir.file(name))) << name;
}

TEST(LoadImage, FileOfFourGibibytesFailsWithoutBeingRead) {
    test::TempDir dir;
    const std::string path = dir.file("huge.bmp");
    test::writeBytes(path, *encodeBmp(Raster(2, 2)));
    if (::truncate(path.c_str(), std::int64_t{1} << 32) != 0)
        GTEST_SKIP() << "no sparse files here";
    EXPECT_FALSE(loadImage(path));
}

}  // namespace
}  // namespace lumipad
