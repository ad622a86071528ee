// Where the background pictures are looked for and which files of the folder are listed.

#include "production/background_pictures.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace vistello::production {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file) {
    std::ofstream(file) << "x";
}

TEST(BackgroundPictures, ListsJpegFilesOnlySortedByName) {
    QTemporaryDir dir;
    const fs::path folder = fs::path(dir.path().toStdString()) / "BackPic";
    fs::create_directories(folder / "folder.jpg"); // a folder named like a picture is no picture
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", "d.jpeg", "e.png", "jpg", "f.jpg.txt"})
        touch(folder / name);
    EXPECT_EQ(backgroundPictureNames(folder), (std::vector<std::string>{"A.JPG", "b.jpg", "c.Jpg"}));
    EXPECT_TRUE(backgroundPictureNames(folder / "missing").empty());
}

TEST(BackgroundPictures, StoreFolderFirstThenInstalledFolder) {
    QTemporaryDir dir;
    const fs::path base = dir.path().toStdString();
    const fs::path root = base / "store", program = base / "usr" / "bin";
    const fs::path installed = base / "usr" / "share" / "vistello" / "BackPic";
    fs::create_directories(root);
    fs::create_directories(program);

    // Neither: the store's own folder, which lists nothing.
    EXPECT_EQ(backgroundFolder(root, program), root / "BackPic");
    // An installed program: the pictures it ships.
    fs::create_directories(installed);
    EXPECT_EQ(backgroundFolder(root, program), installed);
    // A BackPic folder in the store wins, even when empty.
    fs::create_directories(root / "BackPic");
    EXPECT_EQ(backgroundFolder(root, program), root / "BackPic");
}

} // namespace
} // namespace vistello::production
