// vistello-cli decode and import-pictures over pictures the test writes itself.

#include "../media/tiff_builder.h"
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using vistello::cli::testing::runCli;
using namespace vistello::media::testing;

namespace {

class MediaCliTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QByteArray greyTiff() const {
        return TiffBuilder(false).build(
            {simpleImage(5, 2, {8}, 1, QByteArray("\x00\x40\x80\xC0\xFF\x01\x02\x03\x04\x05", 10))});
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(MediaCliTest, DecodeWritesEachOutputFormat) {
    const QString tiff = write("grey.tif", greyTiff());
    for (const char* name : {"out.png", "out.bmp", "out.PPM"}) {
        const QString out = dir.filePath(name);
        const auto result = runCli({"decode", tiff, "--out", out});
        ASSERT_EQ(result.exitCode, 0) << name << result.err.toStdString();
        EXPECT_EQ(result.json().object().value("width").toInt(), 5);
        const QImage back(out);
        ASSERT_EQ(back.size(), QSize(5, 2)) << name;
        EXPECT_EQ(back.pixel(3, 0), qRgb(0xC0, 0xC0, 0xC0)) << name;
    }
}

TEST_F(MediaCliTest, DecodeFailures) {
    const QString notTiff = write("bad.tif", "II*\0garbage");
    struct Case {
        QStringList args;
        int exitCode;
        QByteArray stderrHas;
    } cases[] = {
        {{"decode", notTiff, "--out", dir.filePath("x.png")},
         1,
         "<" + notTiff.toUtf8() + "> is not a valid TIFF file\n"},
        {{"decode", dir.filePath("missing.jpg"), "--out", dir.filePath("x.png")}, 1, "missing.jpg"},
        {{"decode", notTiff, "--out", dir.filePath("x.gif")}, 2, ".png"},
        {{"decode", notTiff}, 2, "usage:"},
        {{"decode", notTiff, "--in", dir.filePath("x.png")}, 2, "usage:"},
    };
    for (const auto& c : cases) {
        const auto result = runCli(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.stderrHas)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

TEST_F(MediaCliTest, ImportPicturesPrintsTheNewRecords) {
    QTemporaryDir root;
    ASSERT_EQ(runCli({"--root", root.path(), "new-album", "旅行"}).exitCode, 0);
    const QString good = write("first.tif", greyTiff());
    const QString bad = write("bad.tif", "MM\0*\0\0\0\0");
    const auto result = runCli({"--root", root.path(), "import-pictures", "旅行", good, bad, good});
    EXPECT_EQ(result.exitCode, 1) << "one file was skipped";
    const QJsonArray records = result.json().array();
    ASSERT_EQ(records.size(), 2) << result.out.toStdString();
    EXPECT_EQ(records[0].toObject().value("FileName").toString(), "P0.jpg");
    EXPECT_EQ(records[1].toObject().value("FileName").toString(), "P1.jpg");
    EXPECT_EQ(records[1].toObject().value("Remark").toString(), "first.tif");
    EXPECT_EQ(records[0].toObject().value("StayTime").toInt(), 3);
    EXPECT_TRUE(result.err.contains("3/3")) << result.err.toStdString();

    const auto shown = runCli({"--root", root.path(), "show", "旅行"});
    EXPECT_EQ(shown.json().object().value("pictures").toArray(), records);
    EXPECT_TRUE(QFile::exists(QDir(root.path()).filePath(QString::fromUtf8("旅行/P1.jpg"))));

    EXPECT_EQ(runCli({"--root", root.path(), "import-pictures", "nowhere", good}).exitCode, 1);
    EXPECT_EQ(runCli({"--root", root.path(), "import-pictures", "旅行"}).exitCode, 2);
}
