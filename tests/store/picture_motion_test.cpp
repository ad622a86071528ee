// The album's motion file: old albums without one, motions that follow their pictures through
// moves and deletions, damaged files, the exact text, and file names that are hostile.

#include "store_fixture.h"

#include "store/album_names.h"
#include "store/list_operations.h"
#include "store/picture_motion.h"
#include "store/store_error.h"

#include <sys/stat.h>

using namespace vistello::store;
using namespace vistello::store::testing;

namespace {

const PictureMotion kZoomIn = PictureMotion::custom({0, 0, 1, 1}, {0.1, 0.2, 0.8, 0.75}, Easing::EaseInOut);
const PictureMotion kThirds =
    PictureMotion::custom({1.0 / 3, 0, 2.0 / 3, 0.5}, {0, 0.5, 0.5, 0.5}, Easing::EaseIn);

class PictureMotionTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};
    std::filesystem::path folder = root.path() / "album";
    std::filesystem::path motionFile = folder / "Motion";

    void SetUp() override {
        std::filesystem::create_directories(folder);
        writeRecords(root.path() / "Album", std::vector{album("album")});
        store.LoadInfo("A");
    }
    void withPictures(int n) {
        std::vector<TPicInfo> pics;
        for (int i = 0; i < n; ++i) {
            pics.push_back(picture("P" + std::to_string(i) + ".jpg", i));
            writeBytes(folder / ("P" + std::to_string(i) + ".jpg"), "jpeg");
        }
        writeRecords(folder / "PicInfo", pics);
        store.openAlbum(0);
    }
    MotionTable reloaded() const { return MotionTable::load(store.AlbumPath()); }
};

TEST_F(PictureMotionTest, AnOldAlbumHasNoMotionAndGetsNoFileUntilOneIsSet) {
    withPictures(2);
    MotionTable table = MotionTable::load(store.AlbumPath());
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(table.get("P0.jpg"), PictureMotion());
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_FALSE(std::filesystem::exists(motionFile)) << "saving no motion leaves an old album untouched";

    ASSERT_TRUE(table.set("P1.jpg", PictureMotion::automatic()));
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP1.jpg automatic\n");
    EXPECT_EQ(reloaded().get("P1.jpg"), PictureMotion::automatic());
}

TEST_F(PictureMotionTest, RoundTripKeepsEveryValueExactlyAndWritesInListOrder) {
    withPictures(3);
    MotionTable table;
    ASSERT_TRUE(table.set("P2.jpg", kThirds));
    ASSERT_TRUE(table.set("P0.jpg", kZoomIn));
    ASSERT_TRUE(table.set("P1.jpg", PictureMotion::automatic()));
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_EQ(readBytes(motionFile),
              "Vistello motion 1\n"
              "P0.jpg custom ease-in-out 0 0 1 1 0.1 0.2 0.8 0.75\n"
              "P1.jpg automatic\n"
              "P2.jpg custom ease-in 0.3333333333333333 0 0.6666666666666666 0.5 0 0.5 0.5 0.5\n");
    const MotionTable back = reloaded();
    EXPECT_EQ(back.get("P0.jpg"), kZoomIn);
    EXPECT_EQ(back.get("P1.jpg"), PictureMotion::automatic());
    EXPECT_EQ(back.get("P2.jpg"), kThirds) << "thirds come back bit for bit";
    EXPECT_EQ(back.size(), 3u);
}

TEST_F(PictureMotionTest, MovedPicturesKeepTheirMotions) {
    withPictures(3);
    MotionTable table;
    ASSERT_TRUE(table.set("P0.jpg", kZoomIn));
    ASSERT_TRUE(table.set("P2.jpg", kThirds));
    table.save(store.AlbumPath(), store.PicList);

    ASSERT_EQ(moveEntry(store, MediaList::Pictures, 0, MoveDirection::Down), 1); // P1 P0 P2
    ASSERT_EQ(moveEntry(store, MediaList::Pictures, 2, MoveDirection::Up), 1);   // P1 P2 P0
    table.save(store.AlbumPath(), store.PicList);

    const MotionTable back = reloaded();
    EXPECT_EQ(back.get(store.PicList[0].FileName.gbk()), PictureMotion());
    EXPECT_EQ(back.get(store.PicList[1].FileName.gbk()), kThirds);
    EXPECT_EQ(back.get(store.PicList[2].FileName.gbk()), kZoomIn);
    EXPECT_EQ(readBytes(motionFile).find("P2.jpg"), std::string("Vistello motion 1\n").size())
        << "the file follows the new order";
}

TEST_F(PictureMotionTest, ADeletedPicturesMotionIsDroppedAndNotInheritedByItsReusedNumber) {
    withPictures(3);
    MotionTable table;
    ASSERT_TRUE(table.set("P1.jpg", kZoomIn));
    ASSERT_TRUE(table.set("P2.jpg", PictureMotion::automatic()));
    table.save(store.AlbumPath(), store.PicList);

    ASSERT_TRUE(deleteEntry(store, MediaList::Pictures, 1));
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_EQ(table.get("P1.jpg"), PictureMotion()) << "dropped from memory too";
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP2.jpg automatic\n");

    // The next import takes the freed number; its picture starts without a motion.
    ASSERT_EQ(NextFreeFileNumber(folder, "P", "jpg"), "1");
    store.PicList.push_back(picture("P1.jpg"));
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_EQ(reloaded().get("P1.jpg"), PictureMotion());
}

TEST_F(PictureMotionTest, RemoveForgetsAMotionBeforeTheListIsSaved) {
    withPictures(2);
    MotionTable table;
    ASSERT_TRUE(table.set("P0.jpg", kZoomIn));
    table.remove(" P0.jpg ");
    table.remove("P9.jpg"); // not there: nothing happens
    EXPECT_TRUE(table.empty());
    ASSERT_TRUE(table.set("P1.jpg", kZoomIn));
    ASSERT_TRUE(table.set("P1.jpg", PictureMotion())); // None removes
    EXPECT_TRUE(table.empty());
}

TEST_F(PictureMotionTest, AnEntryOfAPictureNotInTheListIsIgnoredAndDroppedAtTheNextSave) {
    withPictures(1);
    writeBytes(motionFile, "Vistello motion 1\nP0.jpg automatic\nP7.jpg automatic\n");
    MotionTable table = MotionTable::load(store.AlbumPath());
    EXPECT_EQ(table.get("P0.jpg"), PictureMotion::automatic());
    table.save(store.AlbumPath(), store.PicList);
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP0.jpg automatic\n");
}

TEST_F(PictureMotionTest, ADamagedFileMeansNoMotionForAnyPicture) {
    const std::string header = "Vistello motion 1\n";
    const std::string good = "P0.jpg automatic\n";
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"header without newline", "Vistello motion 1"},
        {"other version", "Vistello motion 2\n" + good},
        {"no header", good},
        {"cut short", header + good + "P1.jpg autom"},
        {"CR LF lines", "Vistello motion 1\r\nP0.jpg automatic\r\n"},
        {"unknown kind", header + good + "P1.jpg spin\n"},
        {"kind missing", header + good + "P1.jpg\n"},
        {"automatic with values", header + "P0.jpg automatic 1\n"},
        {"unknown easing", header + "P0.jpg custom bounce 0 0 1 1 0 0 1 1\n"},
        {"too few values", header + "P0.jpg custom linear 0 0 1 1 0 0 1\n"},
        {"too many values", header + "P0.jpg custom linear 0 0 1 1 0 0 1 1 1\n"},
        {"not a number", header + "P0.jpg custom linear 0 0 1 1 0 0 x 1\n"},
        {"nan", header + "P0.jpg custom linear 0 0 1 1 0 0 nan 1\n"},
        {"infinite", header + "P0.jpg custom linear 0 0 1 1 0 0 inf 1\n"},
        {"overflow", header + "P0.jpg custom linear 0 0 1 1 0 0 1e999 1\n"},
        {"hexadecimal", header + "P0.jpg custom linear 0 0 1 1 0 0 0x1 1\n"},
        {"decimal comma", header + "P0.jpg custom linear 0 0 1 1 0 0 0,5 1\n"},
        {"past the right edge", header + "P0.jpg custom linear 0.5 0 0.6 1 0 0 1 1\n"},
        {"negative", header + "P0.jpg custom linear -0.1 0 0.5 1 0 0 1 1\n"},
        {"zero width", header + "P0.jpg custom linear 0 0 0 1 0 0 1 1\n"},
        {"double blank", header + "P0.jpg  automatic\n"},
        {"blank at the end", header + "P0.jpg automatic \n"},
        {"empty line", header + good + "\n"},
        {"empty name", header + " automatic\n"},
        {"duplicate name", header + good + good},
        {"bad escape", header + "P%G0.jpg automatic\n"},
        {"escape cut short", header + "P0.jpg% automatic\n"},
        {"lower-case escape", header + "P%0a.jpg automatic\n"},
        {"needless escape", header + "P%41.jpg automatic\n"},
        {"raw tab in a name", header + "P\t0.jpg automatic\n"},
        {"NUL byte", header + std::string("P0.jpg\0 automatic\n", 18)},
        {"binary", std::string("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11)},
    };
    withPictures(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(motionFile, c.bytes);
        MotionTable table;
        ASSERT_NO_THROW(table = MotionTable::load(store.AlbumPath()));
        EXPECT_TRUE(table.empty());
        EXPECT_EQ(table.get("P0.jpg"), PictureMotion());
    }
    EXPECT_EQ(MotionTable::parse(header).size(), 0u);
    EXPECT_EQ(MotionTable::parse(header + good).size(), 1u)
        << "the cases differ from a good file in one point";
}

TEST_F(PictureMotionTest, AMotionFileThatCannotBeReadStillOpensTheAlbum) {
    withPictures(1);
    std::filesystem::create_directory(motionFile); // a folder where the file should be
    EXPECT_NO_THROW(EXPECT_TRUE(MotionTable::load(store.AlbumPath()).empty()));
    EXPECT_TRUE(MotionTable::load({}).empty()) << "no album open";
    EXPECT_TRUE(MotionTable::load(root.path() / "missing-folder").empty());
}

TEST_F(PictureMotionTest, AFailedWriteThrowsAndLeavesTheOldFile) {
    withPictures(1);
    const std::string before = "Vistello motion 1\nP0.jpg automatic\n";
    writeBytes(motionFile, before);
    MotionTable table = MotionTable::load(store.AlbumPath());
    ASSERT_TRUE(table.set("P0.jpg", kZoomIn));
    {
        FileSizeLimit limit(16);
        EXPECT_THROW(table.save(store.AlbumPath(), store.PicList), StoreError);
    }
    EXPECT_EQ(readBytes(motionFile), before);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find("Motion."), std::string::npos)
            << "no temporary file left";
}

TEST_F(PictureMotionTest, HostileFileNamesRoundTripAndNeverBreakTheFile) {
    const std::string names[] = {
        "P 1.jpg",            // a blank inside
        "P%41.jpg",           // looks like an escape
        "P\n0.jpg automatic", // would forge a line
        "P\t\x7f.jpg",        // tab and DEL
        "../Album",           // a path; harmless as a key
        "相片一.jpg",         // GBK text, stored as its two-byte characters
        "Vistello motion 1",  // the header's text
    };
    std::vector<TPicInfo> pictures;
    MotionTable table;
    for (const auto& name : names) {
        pictures.push_back(picture(name));
        ASSERT_TRUE(table.set(pictures.back().FileName.gbk(), kThirds)) << name;
    }
    std::filesystem::create_directories(folder);
    table.save(folder, pictures);
    const std::string text = readBytes(motionFile);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::ssize(names) + 1) << text;
    const MotionTable back = MotionTable::load(folder);
    EXPECT_EQ(back.size(), std::size(names));
    for (const auto& p : pictures)
        EXPECT_EQ(back.get(p.FileName.gbk()), kThirds) << p.FileName.text();
}

TEST_F(PictureMotionTest, NamesAreTrimmedAsWhenThePictureFileIsOpened) {
    MotionTable table;
    ASSERT_TRUE(table.set("  P3.jpg\t", kZoomIn));
    EXPECT_EQ(table.get("P3.jpg"), kZoomIn);
    EXPECT_EQ(table.get(" P3.jpg"), kZoomIn);
    EXPECT_FALSE(table.set("   ", kZoomIn)) << "a blank name names no file";
}

TEST_F(PictureMotionTest, SetRefusesRectanglesOffThePicture) {
    MotionTable table;
    const MotionRect whole{0, 0, 1, 1};
    const MotionRect bad[] = {
        {0.5, 0, 0.6, 1}, {0, -0.01, 1, 0.5},      {0, 0, 0, 1},
        {0, 0, 1, -1},    {std::nan(""), 0, 1, 1}, {0, 0, 1, INFINITY},
    };
    for (const MotionRect& rect : bad) {
        EXPECT_FALSE(table.set("P0.jpg", PictureMotion::custom(rect, whole, Easing::Linear)));
        EXPECT_FALSE(table.set("P0.jpg", PictureMotion::custom(whole, rect, Easing::Linear)));
    }
    EXPECT_FALSE(table.set("P0.jpg", PictureMotion::custom(whole, whole, static_cast<Easing>(7))));
    EXPECT_TRUE(table.empty());
    EXPECT_TRUE(table.set("P0.jpg", PictureMotion::custom({0, 0, 1 + 1e-12, 1}, whole, Easing::Linear)))
        << "rounding errors of the editor are accepted";
}

TEST(MotionText, TheThreeFormsRoundTrip) {
    EXPECT_EQ(motionText(PictureMotion()), "none");
    EXPECT_EQ(motionText(PictureMotion::automatic()), "auto");
    EXPECT_EQ(motionText(kZoomIn), "0,0,1,1:0.1,0.2,0.8,0.75");
    EXPECT_EQ(motionFromText("none"), PictureMotion());
    EXPECT_EQ(motionFromText("auto"), PictureMotion::automatic());
    EXPECT_EQ(motionFromText("0,0,1,1:0.1,0.2,0.8,0.75", Easing::EaseInOut), kZoomIn);
    EXPECT_EQ(motionFromText(motionText(kThirds), Easing::EaseIn), kThirds) << "exact numbers";
}

TEST(MotionText, RefusesEverythingElse) {
    for (const char* text : {"", "None", "automatic", "0,0,1,1", "0,0,1,1:0,0,1", "0,0,1,1:0,0,1,1:0,0,1,1",
                             "0,0,1,1:0,0,1,1,", " 0,0,1,1:0,0,1,1", "0,0,1,1:0.5,0,0.6,1", "0,0,1,1:0,0,0,1",
                             "0,0,1,1:0,0,nan,1", "0;0;1;1:0,0,1,1", "0,0,1,1:0,0,1,1x"})
        EXPECT_EQ(motionFromText(text), std::nullopt) << text;
    EXPECT_EQ(motionFromText("0,0,1,1:0,0,1,1", static_cast<Easing>(9)), std::nullopt);
}

TEST(EasingNames, RoundTripAndRefuseOthers) {
    for (const Easing e : {Easing::Linear, Easing::EaseIn, Easing::EaseOut, Easing::EaseInOut})
        EXPECT_EQ(easingFromName(easingName(e)), e);
    EXPECT_EQ(easingName(Easing::EaseInOut), "ease-in-out");
    EXPECT_EQ(easingFromName("Linear"), std::nullopt);
    EXPECT_EQ(easingFromName(""), std::nullopt);
}

} // namespace

namespace {

TEST_F(PictureMotionTest, ARecordNamingTheMotionFileCannotDeleteIt) {
    withPictures(1);
    MotionTable table;
    ASSERT_TRUE(table.set("P0.jpg", PictureMotion::automatic()));
    table.save(store.AlbumPath(), store.PicList);
    writeBytes(folder / "Motion.Ab3xYz", "a temporary copy");
    for (const char* own : {"Motion", "motion", "Motion.Ab3xYz"}) {
        EXPECT_TRUE(store.mediaFile(own).empty()) << own;
        store.PicList.insert(store.PicList.begin(), picture(own));
        ASSERT_TRUE(deleteEntry(store, MediaList::Pictures, 0));
    }
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP0.jpg automatic\n");
    EXPECT_EQ(readBytes(folder / "Motion.Ab3xYz"), "a temporary copy");
}

} // namespace
