#include "audio/id3v1.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace vistello::audio {
namespace {

// A 128-byte tag block built field by field; unset bytes are zero.
struct TagBytes {
    unsigned char bytes[TID3v1::kTagSize] = {};
    TagBytes() { std::memcpy(bytes, "TAG", 3); }
    TagBytes& field(std::size_t offset, std::string_view text) {
        std::memcpy(bytes + offset, text.data(), text.size());
        return *this;
    }
    TagBytes& fill(std::size_t offset, std::size_t size, unsigned char value) {
        std::memset(bytes + offset, value, size);
        return *this;
    }
    TagBytes& at(std::size_t offset, unsigned char value) {
        bytes[offset] = value;
        return *this;
    }
    std::string str() const { return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes); }
};

struct TagCase {
    const char* name;
    TagBytes tag;
    int version;
    std::string artist;
    std::string comment;
    int track;
};

TEST(TID3v1, ClearedStateOnConstruction) {
    const TID3v1 tag;
    EXPECT_FALSE(tag.found);
    EXPECT_EQ(tag.version, 1);
    EXPECT_TRUE(tag.title.empty() && tag.artist.empty() && tag.album.empty() && tag.year.empty() &&
                tag.comment.empty());
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.genre, 255);
}

TEST(TID3v1, VersionsTrimmingTrackAndGenre) {
    const std::string longComment(30, 'c');
    const TagCase cases[] = {
        {"v11_zero_then_track", TagBytes().field(33, "Singer").field(97, "note").at(125, 0).at(126, 7), 2,
         "Singer", "note", 7},
        {"v11_blank_padded", TagBytes().fill(3, 124, ' ').field(33, "Band").field(97, "hi").at(126, 3), 2,
         "Band", "hi", 3},
        {"v10_full_comment", TagBytes().field(97, longComment), 1, "", longComment, 0},
        {"v10_zero_without_track", TagBytes().field(97, "x").at(125, 0).at(126, 0), 1, "", "x", 0},
        {"v10_blank_then_blank", TagBytes().fill(97, 30, ' ').field(97, "y"), 1, "", "y", 0},
        {"artist_blanks_and_zeros",
         TagBytes().field(33, "Name").fill(37, 10, ' ').fill(47, 3, 0).fill(50, 5, ' '), 1, "Name", "", 0},
        {"control_bytes_trimmed", TagBytes().field(33, "A b\t\x01\x1f "), 1, "A b", "", 0},
        {"gbk_bytes_kept", TagBytes().field(33, "\xd5\xc5\xc8\xfd  "), 1, "\xd5\xc5\xc8\xfd", "", 0},
    };
    for (const TagCase& c : cases) {
        TID3v1 tag;
        tag.parse(c.tag.bytes);
        EXPECT_TRUE(tag.found) << c.name;
        EXPECT_EQ(tag.version, c.version) << c.name;
        EXPECT_EQ(tag.artist, c.artist) << c.name;
        EXPECT_EQ(tag.comment, c.comment) << c.name;
        EXPECT_EQ(tag.track, c.track) << c.name;
        EXPECT_LE(tag.comment.size(), c.version == 2 ? 28u : 30u) << c.name;
    }
}

TEST(TID3v1, FieldsAtTheirOffsets) {
    TagBytes bytes;
    bytes.field(3, "Title")
        .field(33, "Artist")
        .field(63, "Album")
        .field(93, "1999")
        .field(97, "Comment")
        .at(127, 17);
    TID3v1 tag;
    tag.parse(bytes.bytes);
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.artist, "Artist");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.year, "1999");
    EXPECT_EQ(tag.comment, "Comment");
    EXPECT_EQ(tag.genre, 17);
}

TEST(TID3v1, ReadFromFileResults) {
    QTemporaryDir dir;
    const std::filesystem::path root(dir.path().toStdString());
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(root / name, std::ios::binary) << bytes;
        return root / name;
    };
    TID3v1 tag;
    EXPECT_TRUE(
        tag.ReadFromFile(write("tagged.mp3", std::string(500, '\xff') + TagBytes().field(33, "Me").str())));
    EXPECT_TRUE(tag.found);
    EXPECT_EQ(tag.artist, "Me");

    EXPECT_TRUE(tag.ReadFromFile(write("untagged.mp3", std::string(500, 'x'))));
    EXPECT_FALSE(tag.found);
    EXPECT_TRUE(tag.artist.empty());

    EXPECT_TRUE(tag.ReadFromFile(write("just_a_tag.mp3", TagBytes().field(3, "T").str())));
    EXPECT_EQ(tag.title, "T");

    for (const auto& bad : {write("short.mp3", std::string(100, 'x')), root / "missing.mp3", root}) {
        EXPECT_FALSE(tag.ReadFromFile(bad)) << bad;
        EXPECT_FALSE(tag.found);
        EXPECT_EQ(tag.genre, 255);
    }
}

} // namespace
} // namespace vistello::audio
