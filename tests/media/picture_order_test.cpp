// The order of a batch of imported pictures: the date each was taken, as every kind carries
// it (fixtures made by other programs), the file's time when there is none, numbered names
// in reading order, and the remembered choice.

#include "gui_environment.h"
#include "qt_printing.h"

#include "media/exif_blocks.h"
#include "media/picture_order.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace vistello::media;

namespace {

QString fixturePath(const char* name) {
    return QStringLiteral(VISTELLO_TEST_DATA "/pictures/") + QLatin1String(name);
}

QDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// IFD0 with only the Exif IFD pointer, the Exif IFD with only DateTimeOriginal.
QByteArray datedBlock(const QByteArray& text, bool little) {
    QByteArray out = little ? QByteArray("II\x2A\0", 4) : QByteArray("MM\0\x2A", 4);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(static_cast<char>(v >> (little ? 8 * i : 8 * (bytes - 1 - i))));
    };
    put(8, 4);
    put(1, 2), put(0x8769, 2), put(4, 2), put(1, 4), put(26, 4), put(0, 4);
    put(1, 2), put(0x9003, 2), put(2, 2), put(static_cast<std::uint32_t>(text.size() + 1), 4), put(44, 4),
        put(0, 4);
    return out + text + QByteArray(1, '\0');
}

} // namespace

TEST(PictureOrder, ExifDateTakenInEitherByteOrder) {
    for (bool little : {true, false}) {
        EXPECT_EQ(exifDateTaken(datedBlock("2019:05:04 10:20:30", little)), at(2019, 5, 4, 10, 20, 30))
            << little;
        EXPECT_EQ(exifDateTaken(datedBlock("0000:00:00 00:00:00", little)), std::nullopt) << "unset date";
        EXPECT_EQ(exifDateTaken(datedBlock("2019:05", little)), std::nullopt) << "too short";
        EXPECT_EQ(exifDateTaken(datedBlock("2019:05:04 10:20:30", little).left(40)), std::nullopt) << "cut";
    }
    EXPECT_EQ(exifDateTaken(QByteArray("garbage!")), std::nullopt);
    EXPECT_EQ(exifDateTaken({}), std::nullopt);
}

TEST(PictureOrder, DateTakenOfEachKind) {
    const std::pair<const char*, QDateTime> cases[] = {
        {"dated_2019.jpg", at(2019, 5, 4, 10, 20, 30)},
        {"dated_2021.heic", at(2021, 1, 2, 3, 4, 5)},
        {"dated_2017.webp", at(2017, 12, 31, 23, 59, 58)},
        {"dated_2020.png", at(2020, 2, 29, 12, 0, 0)},
    };
    for (const auto& [name, taken] : cases)
        EXPECT_EQ(pictureDateTaken(fixturePath(name)), taken) << name;
}

TEST(PictureOrder, ByDateTakenFallsBackOnTheFileTime) {
    QTemporaryDir dir;
    auto copy = [&](const char* fixture, const char* name, QDateTime modified) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(QFile::copy(fixturePath(fixture), path));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    };
    const QDateTime now = QDateTime::currentDateTime();
    const QString heic = copy("dated_2021.heic", "a.heic", now);
    const QString undatedOld = copy("png_rgb.png", "b.png", at(2018, 6, 1, 0, 0, 0));
    const QString jpeg = copy("dated_2019.jpg", "c.jpg", now);
    const QString webp = copy("dated_2017.webp", "d.webp", now);
    const QString undatedNew = copy("tiff_lzw.tif", "e.tif", now.addDays(-1));
    const QString png = copy("dated_2020.png", "f.png", now);
    EXPECT_EQ(pictureDateTaken(undatedOld), at(2018, 6, 1, 0, 0, 0));
    EXPECT_EQ(orderPictures({heic, undatedOld, jpeg, webp, undatedNew, png}, PictureOrder::ByDateTaken),
              (QStringList{webp, undatedOld, jpeg, png, heic, undatedNew}));
}

TEST(PictureOrder, ByNameReadsNumbersAsNumbers) {
    const QStringList files = {"/b/IMG_10.jpg", "/a/img_2.heic", "/c/IMG_1.JPG", "/a/Holiday.png",
                               "/z/IMG_2.jpg"};
    EXPECT_EQ(
        orderPictures(files, PictureOrder::ByName),
        (QStringList{"/a/Holiday.png", "/c/IMG_1.JPG", "/a/img_2.heic", "/z/IMG_2.jpg", "/b/IMG_10.jpg"}));
}

TEST(PictureOrder, TheChoiceIsRemembered) {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    EXPECT_EQ(rememberedPictureOrder(root), PictureOrder::ByDateTaken) << "nothing remembered yet";
    rememberPictureOrder(root, PictureOrder::ByName);
    EXPECT_EQ(rememberedPictureOrder(root), PictureOrder::ByName);
    rememberPictureOrder(root, PictureOrder::ByDateTaken);
    EXPECT_EQ(rememberedPictureOrder(root), PictureOrder::ByDateTaken);
}
