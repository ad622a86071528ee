// Byte layout of the three records and the GBK text fields.

#include "store/records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace vistello::store;

namespace {

template <class Record> std::string bytesOf(const Record& r) {
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

TEST(RecordLayout, PictureFieldsSitAtTheirOffsets) {
    TPicInfo p;
    p.StayTime = 0x01020304;
    p.Effect = -2;
    p.Title.setText("标题");
    p.Remark.setText("a.jpg");
    p.FileName.setText("P3.jpg");
    const std::string b = bytesOf(p);
    ASSERT_EQ(b.size(), 324u);
    EXPECT_EQ(b.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(b.substr(4, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(b[8], 4); // two GBK characters
    EXPECT_EQ(b.substr(9, 4), "\xB1\xEA\xCC\xE2");
    EXPECT_EQ(b[45], 5);
    EXPECT_EQ(b.substr(46, 5), "a.jpg");
    EXPECT_EQ(b[301], 6);
    EXPECT_EQ(b.substr(302, 6), "P3.jpg");
    EXPECT_EQ(b.substr(322, 2), std::string(2, '\0'));
}

TEST(RecordLayout, SongFieldsSitAtTheirOffsets) {
    TMusicInfo m;
    m.PlayTime = 185;
    m.FileName.setText("M0.mp3");
    m.SongName.setText("s.mp3");
    m.Singer.setText("歌手");
    m.Remark.setText("r");
    const std::string b = bytesOf(m);
    ASSERT_EQ(b.size(), 344u);
    EXPECT_EQ(b.substr(0, 4), std::string("\xB9\0\0\0", 4));
    EXPECT_EQ(b[4], 6);
    EXPECT_EQ(b.substr(5, 6), "M0.mp3");
    EXPECT_EQ(b[25], 5);
    EXPECT_EQ(b.substr(26, 5), "s.mp3");
    EXPECT_EQ(b[281], 4);
    EXPECT_EQ(b[312], 1);
    EXPECT_EQ(b[313], 'r');
    EXPECT_EQ(b[343], '\0');
}

TEST(RecordLayout, TextReadsOnlyItsLengthAndClampsAnOversizedLength) {
    TPicInfo p;
    std::memcpy(p.Title.Bytes.data(), "abcdefgh", 8); // leftovers of a longer value
    p.Title.Length = 3;
    EXPECT_EQ(p.Title.text(), "abc");
    p.Title.Length = 200; // never written by the program; reads as the capacity
    EXPECT_EQ(p.Title.gbk().size(), 36u);
}

TEST(RecordLayout, LongTextIsCutOnACharacterBoundary) {
    struct Case {
        std::string text;
        std::size_t expectedBytes;
    };
    // Title holds 36 bytes: 17 ASCII + 9 two-byte characters = 35; a tenth would need 37.
    const Case cases[] = {
        {std::string(40, 'x'), 36},
        {std::string(17, 'x') + "一二三四五六七八九十", 35},
        {"€€€€€€€€€€", 20}, // two bytes each: all ten fit
        {"😀😀😀😀😀😀😀😀😀😀", 36}, // four-byte GB18030 sequences: 9 fit
    };
    for (const auto& c : cases) {
        TPicInfo p;
        p.Title.setText(c.text);
        EXPECT_EQ(p.Title.Length, c.expectedBytes) << c.text;
        EXPECT_EQ(p.Title.text(), c.text.substr(0, p.Title.text().size())) << c.text;
    }
}

TEST(RecordLayout, UndecodableBytesShowAsReplacementCharacters) {
    TAlbumInfo a;
    a.AlbumName.setGbk("ok\xFF");
    EXPECT_EQ(a.AlbumName.text(), "ok\xEF\xBF\xBD");
}

} // namespace
