// The kept automatic choices: what the file holds and reads back exactly, which keys match, what
// counts as damage, and that a folder that cannot be written never fails anything.

#include "../write_failure.h"
#include "motion/framing_cache.h"
#include "store/album_names.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace vistello::motion;
using vistello::store::Easing;

namespace {

const MotionPath kPath{{0.1, 0.2, 0.6, 0.45}, {0.0, 0.05, 0.7, 0.525}, Easing::Linear};

FramingKey keyOf(std::string name) {
    return {std::move(name), 1234, 1702000000123456789, 16.0 / 9, 5.04, "/usr/share/opencv4/x.xml"};
}

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FramingCache, KeepsChoicesAcrossLoadsExactly) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    // Names with blanks, '%' and non-ASCII letters; an empty detector name reads as "-".
    const std::vector<std::string> names = {"P0.jpg", "照片 1.jpg", "100%.png", " x"};
    {
        FramingCache cache(folder);
        for (const auto& name : names)
            ASSERT_TRUE(cache.store(keyOf(name), kPath));
    }
    const FramingCache loaded(folder);
    EXPECT_EQ(loaded.size(), names.size());
    for (const auto& name : names)
        EXPECT_EQ(loaded.find(keyOf(name)), kPath) << name;
    EXPECT_TRUE(fileText(folder / kFramingCacheFileName).starts_with("Vistello framing 1\n"));
    EXPECT_FALSE(vistello::store::isMediaFileName(kFramingCacheFileName)) << "no picture record may name it";
}

TEST(FramingCache, TakesAChoiceOnlyForTheWholeKey) {
    QTemporaryDir dir;
    FramingCache cache(dir.path().toStdString());
    ASSERT_TRUE(cache.store(keyOf("P0.jpg"), kPath));
    const struct {
        const char* change;
        void (*apply)(FramingKey&);
    } changes[] = {
        {"name", [](FramingKey& k) { k.fileName = "P1.jpg"; }},
        {"bytes", [](FramingKey& k) { ++k.bytes; }},
        {"time", [](FramingKey& k) { ++k.modified; }},
        {"aspect", [](FramingKey& k) { k.frameAspect = 4.0 / 3; }},
        {"seconds", [](FramingKey& k) { k.seconds = 7; }},
        {"detector", [](FramingKey& k) { k.detector = "-"; }},
    };
    for (const auto& c : changes) {
        FramingKey key = keyOf("P0.jpg");
        c.apply(key);
        EXPECT_FALSE(cache.find(key)) << c.change;
    }
    // A new choice for the same picture, frame shape and time replaces the old one; another
    // frame shape is kept beside it.
    FramingKey changed = keyOf("P0.jpg");
    changed.modified += 10;
    ASSERT_TRUE(cache.store(changed, kPath));
    FramingKey other = keyOf("P0.jpg");
    other.frameAspect = 4.0 / 3;
    ASSERT_TRUE(cache.store(other, kPath));
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_FALSE(cache.find(keyOf("P0.jpg")));
    EXPECT_TRUE(cache.find(changed));
}

TEST(FramingCache, DropsChoicesOfPicturesNoLongerInTheAlbum) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    {
        FramingCache cache(folder);
        ASSERT_TRUE(cache.store(keyOf("P0.jpg"), kPath));
        ASSERT_TRUE(cache.store(keyOf("P1.jpg"), kPath));
    }
    FramingCache cache(folder, {"P1.jpg", "P2.jpg"});
    ASSERT_TRUE(cache.store(keyOf("P2.jpg"), kPath));
    const FramingCache loaded(folder);
    EXPECT_FALSE(loaded.find(keyOf("P0.jpg")));
    EXPECT_TRUE(loaded.find(keyOf("P1.jpg")));
    EXPECT_TRUE(loaded.find(keyOf("P2.jpg")));
}

TEST(FramingCache, DamagedTextsHoldNothing) {
    const std::string good = FramingCache::serialise({{keyOf("P0.jpg"), kPath}});
    ASSERT_TRUE(FramingCache::parse(good));
    const std::string line = good.substr(good.find('\n') + 1);
    const std::string damaged[] = {
        "",
        "Vistello framing 2\n" + line,                                   // another version
        good.substr(0, good.size() - 1),                                 // cut short
        "Vistello framing 1\n" + line.substr(0, line.size() / 2) + "\n", // a line cut short
        "Vistello framing 1\nP0.jpg 1 2 nan 5 - linear 0 0 1 1 0 0 1 1\n",
        "Vistello framing 1\nP0.jpg 1 2 1.5 5 - sideways 0 0 1 1 0 0 1 1\n",
        "Vistello framing 1\nP0.jpg 1 2 1.5 5 - linear 0.5 0 1 1 0 0 1 1\n", // off the picture
        "Vistello framing 1\nP%4.jpg 1 2 1.5 5 - linear 0 0 1 1 0 0 1 1\n",  // a bad escape
        "Vistello framing 1\nP0.jpg  1 2 1.5 5 - linear 0 0 1 1 0 0 1 1\n",  // two blanks
        std::string("\0\1\2", 3),
    };
    for (const auto& text : damaged)
        EXPECT_FALSE(FramingCache::parse(text)) << text;

    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::ofstream(folder / kFramingCacheFileName) << damaged[3];
    FramingCache cache(folder);
    EXPECT_EQ(cache.size(), 0u);
    ASSERT_TRUE(cache.store(keyOf("P0.jpg"), kPath));
    EXPECT_EQ(fileText(folder / kFramingCacheFileName), good) << "rewritten whole";
}

TEST(FramingCache, AFileThatCannotBeWrittenKeepsTheChoiceInMemory) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    FramingCache cache(folder);
    {
        const vistello::failures::FileSizeLimit limit(16); // shorter than the header and a line
        EXPECT_FALSE(cache.store(keyOf("P0.jpg"), kPath));
    }
    EXPECT_EQ(cache.find(keyOf("P0.jpg")), kPath);
    EXPECT_FALSE(std::filesystem::exists(folder / kFramingCacheFileName)) << "no half-written file";
}

TEST(FramingCache, KeyOfAPictureFileIsItsSizeAndTime) {
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "P0.jpg";
    EXPECT_FALSE(framingKeyOf(file, "P0.jpg", 1.5, 3, "d")) << "no file";
    std::ofstream(file) << "12345";
    const auto key = framingKeyOf(file, "P0.jpg", 1.5, 3, "");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->bytes, 5u);
    EXPECT_EQ(key->detector, "-");
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    EXPECT_NE(framingKeyOf(file, "P0.jpg", 1.5, 3, "")->modified, key->modified);
}

} // namespace
