// Picture import: the numbering of the stored copies, the new records, the saved list,
// cancelling, files that cannot be converted, and the JPEG the album keeps.

#include "gui_environment.h"
#include "picture_fixtures.h"
#include "qt_printing.h"
#include "tiff_builder.h"

#include "../write_failure.h"

#include "media/jpeg_codec.h"
#include "media/picture_file.h"
#include "media/picture_import.h"
#include "store/album_operations.h"
#include "store/album_store.h"
#include "store/store_error.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <random>

using namespace vistello;
using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

namespace fs = std::filesystem;

QImage solid(QColor colour, QSize size = {40, 30}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray bmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void touch(const fs::path& file) {
    std::ofstream(file) << "x";
}

// The files as the import takes them.
std::vector<fs::path> paths(const QStringList& files) {
    std::vector<fs::path> result;
    for (const QString& file : files)
        result.emplace_back(file.toStdString());
    return result;
}

// Records what the run reported and cancels once `cancelAfter` files have started.
class RecordingProgress : public store::ImportProgress {
  public:
    explicit RecordingProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    bool cancelled() const override {
        return cancelAfter_ >= 0 && static_cast<int>(started.size()) >= cancelAfter_;
    }
    void fileStarting(int index, int count, const fs::path& path) override {
        started.push_back(index);
        counts.push_back(count);
        paths.append(QString::fromStdString(path.string()));
    }
    void fileSkipped(int index, const fs::path&, store::SkipReason reason) override {
        skipped.emplace_back(index, reason);
    }
    std::vector<int> started, counts;
    QStringList paths;
    std::vector<std::pair<int, store::SkipReason>> skipped;

  private:
    int cancelAfter_;
};

class PictureImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid() && sources.isValid());
        store::createAlbum(albums, "假日");
        albums.openAlbum(0);
        ASSERT_FALSE(albums.AlbumPath().empty());
    }
    QString source(const QString& name, const QByteArray& bytes) {
        const QString path = sources.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    fs::path albumFile(const std::string& name) const { return albums.AlbumPath() / name; }
    // The picture list as saved on disk.
    std::vector<store::TPicInfo> savedPictures() const {
        store::AlbumStore reread(fs::path(root.path().toStdString()));
        reread.LoadInfo("A");
        reread.openAlbum(0);
        return reread.PicList;
    }

    QTemporaryDir root, sources;
    store::AlbumStore albums{fs::path(root.path().toStdString())};
    MessageList messages;
};

} // namespace

TEST_F(PictureImportTest, NewRecordsTakeTheFreeNumbersInOrder) {
    touch(albumFile("P0.jpg"));
    touch(albumFile("P2.jpg"));
    const QStringList files = {source("holiday.bmp", bmpBytes(solid(Qt::red))),
                               source("beach.jpg", writeJpeg(solid(Qt::blue))),
                               source("雪山.bmp", bmpBytes(solid(Qt::green)))};
    RecordingProgress progress;
    const store::ImportResult result = ImportPictures(albums, paths(files), progress, messages);
    EXPECT_EQ(result.imported, 3);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.started, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(progress.counts, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(progress.paths, files);

    const std::vector<std::string> names = {"P1.jpg", "P3.jpg", "P4.jpg"};
    const std::vector<std::string> remarks = {"holiday.bmp", "beach.jpg", "雪山.bmp"};
    const QColor colours[] = {Qt::red, Qt::blue, Qt::green};
    for (const std::vector<store::TPicInfo>& pictures : {albums.PicList, savedPictures()}) {
        ASSERT_EQ(pictures.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(pictures[i].FileName.text(), names[i]);
            EXPECT_EQ(pictures[i].Remark.text(), remarks[i]);
            EXPECT_EQ(pictures[i].StayTime, 3);
            EXPECT_EQ(pictures[i].Effect, 0);
            EXPECT_EQ(pictures[i].Title.text(), "");
            EXPECT_EQ(pictures[i].Fill, (std::array<std::uint8_t, 2>{0, 0}));
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const QImage stored = LoadPictureFile(QString::fromStdString(albumFile(names[i]).string()), messages);
        ASSERT_EQ(stored.size(), QSize(40, 30)) << names[i];
        EXPECT_LE(std::abs(qRed(stored.pixel(20, 15)) - colours[i].red()), 8) << names[i];
        EXPECT_LE(std::abs(qBlue(stored.pixel(20, 15)) - colours[i].blue()), 8) << names[i];
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PictureImportTest, CancelDuringTheFirstFileKeepsThatOne) {
    QStringList files;
    for (int i = 0; i < 5; ++i)
        files << source(QStringLiteral("p%1.bmp").arg(i), bmpBytes(solid(Qt::gray)));
    RecordingProgress progress(1);
    const store::ImportResult result = ImportPictures(albums, paths(files), progress, messages);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(progress.started, std::vector<int>{0});
    ASSERT_EQ(albums.PicCount(), 1);
    ASSERT_EQ(savedPictures().size(), 1u) << "the list is saved after a cancel";
    EXPECT_TRUE(fs::exists(albumFile("P0.jpg")));
    EXPECT_FALSE(fs::exists(albumFile("P1.jpg")));
}

TEST_F(PictureImportTest, FilesThatCannotBeConvertedAreSkipped) {
    const QStringList files = {source("fine.bmp", bmpBytes(solid(Qt::red))),
                               source("broken.jpg", QByteArray("\xFF\xD8 not really", 14)),
                               sources.filePath("missing.bmp"),
                               source("second.bmp", bmpBytes(solid(Qt::blue)))};
    RecordingProgress progress;
    const store::ImportResult result = ImportPictures(albums, paths(files), progress, messages);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(result.skipped, 2);
    EXPECT_EQ(progress.skipped, (std::vector<std::pair<int, store::SkipReason>>{
                                    {1, store::SkipReason::NoPicture}, {2, store::SkipReason::NoPicture}}));
    ASSERT_EQ(albums.PicCount(), 2);
    EXPECT_EQ(albums.PicList[0].FileName.text(), "P0.jpg");
    EXPECT_EQ(albums.PicList[1].FileName.text(), "P1.jpg") << "a failed file leaves no file behind";
    EXPECT_EQ(albums.PicList[1].Remark.text(), "second.bmp");
    // The TIFF reader told why the broken file was refused; the missing one says nothing.
    EXPECT_EQ(messages.messages, QStringList{"<" + files[1] + "> is not a valid TIFF file"});
    const QStringList left = QDir(QString::fromStdString(albums.AlbumPath().string())).entryList(QDir::Files);
    EXPECT_EQ(left, (QStringList{"MusicInfo", "P0.jpg", "P1.jpg", "PicInfo"}));
}

// A picture whose JPEG is far larger than a small one: noise does not compress.
QImage noise(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random() & 0xFFFFFFu);
    return image;
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Files may grow to 8000 bytes: a small picture's JPEG and a short list fit, the noise's
// JPEG does not, as when the album's disk is full.
constexpr rlim_t kWriteLimit = 8000;

TEST_F(PictureImportTest, APictureThatCannotBeWrittenEndsTheBatchNamingIt) {
    const QStringList files{source("small.bmp", bmpBytes(solid(Qt::red, {8, 8}))),
                            source("noise.bmp", bmpBytes(noise({300, 300}))),
                            source("later.bmp", bmpBytes(solid(Qt::blue, {8, 8})))};
    RecordingProgress progress;
    std::string error;
    {
        vistello::failures::FileSizeLimit limit(kWriteLimit);
        try {
            ImportPictures(albums, paths(files), progress, messages);
        } catch (const store::StoreError& e) {
            error = e.what();
        }
    }
    EXPECT_NE(error.find("P1.jpg"), std::string::npos) << error;
    EXPECT_EQ(progress.started, (std::vector<int>{0, 1})); // no third try into a full disk
    ASSERT_EQ(albums.PicCount(), 1);                       // the picture before it stays, saved
    ASSERT_EQ(savedPictures().size(), 1u);
    EXPECT_EQ(savedPictures()[0].FileName.text(), "P0.jpg");
    EXPECT_EQ(folderEntries(albums.AlbumPath()),
              (std::vector<std::string>{"MusicInfo", "P0.jpg", "PicInfo"}));
}

TEST_F(PictureImportTest, ABatchTheListCannotBeSavedWithLeavesNoFile) {
    // 30 records make a list of 9720 bytes, which cannot be written under the limit.
    for (int i = 0; i < 30; ++i) {
        store::TPicInfo earlier;
        earlier.FileName.setText("X" + std::to_string(i) + ".jpg");
        albums.PicList.push_back(earlier);
    }
    albums.SaveInfo("P");
    const QStringList files{source("small.bmp", bmpBytes(solid(Qt::red, {8, 8}))),
                            source("noise.bmp", bmpBytes(noise({300, 300})))};
    RecordingProgress progress;
    for (const QStringList& batch : {files.mid(0, 1), files}) {
        {
            vistello::failures::FileSizeLimit limit(kWriteLimit);
            EXPECT_THROW(ImportPictures(albums, paths(batch), progress, messages), store::StoreError);
        }
        EXPECT_EQ(albums.PicCount(), 30);
        EXPECT_EQ(savedPictures().size(), 30u);
        EXPECT_EQ(folderEntries(albums.AlbumPath()), (std::vector<std::string>{"MusicInfo", "PicInfo"}));
    }
}

TEST_F(PictureImportTest, TurnedPhotoIsStoredUpright) {
    QImage wide(64, 32, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    const QString photo = source("phone.jpg", writeJpeg(wide, JpegKind::Colour, 6));
    RecordingProgress progress;
    ASSERT_EQ(ImportPictures(albums, paths({photo}), progress, messages).imported, 1);
    const QImage stored = LoadPictureFile(QString::fromStdString(albumFile("P0.jpg").string()), messages);
    EXPECT_EQ(stored.size(), QSize(32, 64));
}

TEST_F(PictureImportTest, NoOpenAlbumImportsNothing) {
    albums.closeAlbum();
    RecordingProgress progress;
    const store::ImportResult result =
        ImportPictures(albums, paths({source("a.bmp", bmpBytes(solid(Qt::red)))}), progress, messages);
    EXPECT_EQ(result.imported, 0);
    EXPECT_TRUE(progress.started.empty());
}

TEST_F(PictureImportTest, ConvertWritesBaselineJpegOrNothing) {
    const QString destination = QString::fromStdString(albumFile("P7.jpg").string());
    const QString tiff =
        source("grey.tif", TiffBuilder().build({simpleImage(3, 2, {8}, 1, QByteArray(6, '\x80'))}));
    ASSERT_TRUE(ConvertPictureToJpeg(tiff, destination, messages));
    QFile written(destination);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray jpeg = written.readAll();
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8"));
    EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC0", 2)));
    EXPECT_EQ(decodeJpeg(jpeg, kDefaultMaxPixels).size(), QSize(3, 2));

    const QString failed = QString::fromStdString(albumFile("P8.jpg").string());
    EXPECT_FALSE(ConvertPictureToJpeg(source("empty.tif", {}), failed, messages));
    EXPECT_FALSE(QFile::exists(failed));
    EXPECT_FALSE(ConvertPictureToJpeg(tiff, sources.filePath("no/such/folder/P0.jpg"), messages));
}

TEST(NextFreeFileNumber, SmallestFreeNumber) {
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    EXPECT_EQ(NextFreeFileNumber(folder, "P", "jpg"), "0");
    touch(folder / "P0.jpg");
    touch(folder / "P1.jpg");
    touch(folder / "P3.jpg");
    touch(folder / "P2.png");
    EXPECT_EQ(NextFreeFileNumber(folder, "P", "jpg"), "2");
    fs::create_symlink(folder / "nowhere", folder / "P2.jpg");
    EXPECT_EQ(NextFreeFileNumber(folder, "P", "jpg"), "4") << "a dangling link is taken";
    // A folder without its final separator gets one.
    touch(folder / "VCD-0.mpg");
    EXPECT_EQ(NextFreeFileNumber(fs::path(dir.path().toStdString()), "VCD-", "mpg"), "1");
    EXPECT_EQ(NextFreeFileNumber(fs::path(dir.path().toStdString() + "/"), "VCD-", "mpg"), "1");
}
