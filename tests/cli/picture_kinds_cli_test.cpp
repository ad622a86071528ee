// vistello-cli decode and import-pictures over the added picture kinds (the fixtures of
// tests/data/pictures, made by other programs), and the import of a picture far larger than
// any output needs, whose peak memory stays bounded.

#include "cli_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>

using vistello::cli::testing::runCli;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VISTELLO_TEST_DATA "/pictures/") + QLatin1String(name);
}

// A baseline JPEG of width × height written row by row, so the test never holds the picture:
// bands of grey with a ramp, little data per block, quick to write and to decode.
bool writeHugeJpeg(const QString& path, int width, int height) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "wb"),
                                               std::fclose);
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        if (y % 1024 == 0)
            for (int x = 0; x < width; ++x) {
                row[3 * std::size_t(x)] = static_cast<JSAMPLE>(x * 255 / width);
                row[3 * std::size_t(x) + 1] = static_cast<JSAMPLE>(y * 255 / height);
                row[3 * std::size_t(x) + 2] = 128;
            }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

TEST(PictureKindsCli, DecodeTakesTheAddedKinds) {
    QTemporaryDir dir;
    for (const char* name : {"png_alpha.png", "gif_animated.gif", "webp_lossy.webp", "heic_photo.heic",
                             "avif_photo.avif", "jxl_photo.jxl", "tiff_jpeg.tif", "tiff_tiled_lzw.tif"}) {
        const QString out = dir.filePath(QStringLiteral("out.png"));
        const auto result = runCli({"decode", fixture(name), "--out", out});
        ASSERT_EQ(result.exitCode, 0) << name << result.err.toStdString();
        EXPECT_EQ(result.json().object().value("width").toInt(), 64) << name;
        EXPECT_EQ(QImage(out).size(), QSize(64, 48)) << name;
    }
    const auto turned = runCli({"decode", fixture("heic_orient6.heic"), "--out", dir.filePath("t.png")});
    EXPECT_EQ(turned.json().object().value("width").toInt(), 48);
}

TEST(PictureKindsCli, ImportPicturesTakesTheAddedKinds) {
    QTemporaryDir root;
    ASSERT_EQ(runCli({"--root", root.path(), "new-album", "phone"}).exitCode, 0);
    const QStringList files = {fixture("heic_orient6.heic"), fixture("png_alpha.png"),
                               fixture("webp_alpha.webp"),   fixture("avif_irot1.avif"),
                               fixture("tiff_lzw.tif"),      fixture("gif_animated.gif")};
    const auto result = runCli(QStringList{"--root", root.path(), "import-pictures", "phone"} + files);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonArray records = result.json().array();
    ASSERT_EQ(records.size(), files.size());
    const QSize sizes[] = {{48, 64}, {64, 48}, {64, 48}, {48, 64}, {64, 48}, {64, 48}};
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QJsonObject record = records[i].toObject();
        EXPECT_EQ(record.value("Remark").toString(), QFileInfo(files[i]).fileName());
        const QImage stored(
            QDir(root.path()).filePath(QStringLiteral("phone/") + record.value("FileName").toString()),
            "jpg");
        EXPECT_EQ(stored.size(), sizes[i]) << files[i].toStdString();
    }
}

// 24000 × 16000 pixels would take 1.15 GB decoded at full size; it is decoded by libjpeg at 2/8
// scale and stored at 6000 × 4000. The peak resident memory of the importing process (the only
// child of this test that is that large) stays within 1 GB.
TEST(PictureKindsCli, HugePictureImportsWithinBoundedMemory) {
    QTemporaryDir root;
    const QString huge = root.filePath(QStringLiteral("panorama.jpg"));
    ASSERT_TRUE(writeHugeJpeg(huge, 24000, 16000));
    ASSERT_EQ(runCli({"--root", root.path(), "new-album", "big"}).exitCode, 0);
    const auto result = runCli({"--root", root.path(), "import-pictures", "big", huge});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const double peakMb = static_cast<double>(children.ru_maxrss) / 1024.0;
    EXPECT_LE(peakMb, 1024.0);
    std::printf("peak resident memory of the import: %.0f MB\n", peakMb);
    const QImage stored(QDir(root.path()).filePath(QStringLiteral("big/P0.jpg")), "jpg");
    EXPECT_EQ(stored.size(), QSize(6000, 4000));
}

TEST(PictureKindsCli, ImportPicturesInTheOrderAsked) {
    QTemporaryDir root;
    ASSERT_EQ(runCli({"--root", root.path(), "new-album", "trip"}).exitCode, 0);
    const QStringList files = {fixture("dated_2021.heic"), fixture("dated_2019.jpg"),
                               fixture("dated_2017.webp"), fixture("dated_2020.png")};
    auto remarks = [](const QJsonArray& records) {
        QStringList names;
        for (const auto& record : records)
            names << record.toObject().value("Remark").toString();
        return names;
    };
    const auto byDate =
        runCli(QStringList{"--root", root.path(), "import-pictures", "--order", "date", "trip"} + files);
    ASSERT_EQ(byDate.exitCode, 0) << byDate.err.toStdString();
    EXPECT_EQ(remarks(byDate.json().array()),
              (QStringList{"dated_2017.webp", "dated_2019.jpg", "dated_2020.png", "dated_2021.heic"}));
    const auto byName =
        runCli(QStringList{"--root", root.path(), "import-pictures", "--order", "name", "trip"} +
               QStringList{fixture("png_rgb.png"), fixture("heic_photo.heic")});
    EXPECT_EQ(remarks(byName.json().array()), (QStringList{"heic_photo.heic", "png_rgb.png"}));
    const auto given = runCli(QStringList{"--root", root.path(), "import-pictures", "trip"} +
                              QStringList{fixture("png_rgb.png"), fixture("heic_photo.heic")});
    EXPECT_EQ(remarks(given.json().array()), (QStringList{"png_rgb.png", "heic_photo.heic"}));
    for (const QStringList& wrong : {QStringList{"--order", "size", "trip", files[0]}, QStringList{"--order"},
                                     QStringList{"--order", "date", "trip"}})
        EXPECT_EQ(runCli(QStringList{"--root", root.path(), "import-pictures"} + wrong).exitCode, 2)
            << wrong.join(' ').toStdString();
}
