// vistello-cli motion and the motions that show prints: setting each kind, the refusals and
// their exit statuses, old and damaged albums, an import that reuses a file name, and a Motion
// file that cannot be written.

#include "cli_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using vistello::cli::testing::CliResult;
using vistello::cli::testing::runCli;

namespace {

const QString kAlbum = QString::fromUtf8("动起来");

class MotionCliTest : public ::testing::Test {
  protected:
    QTemporaryDir root;

    void SetUp() override {
        ASSERT_EQ(cli({"new-album", kAlbum}).exitCode, 0);
        QStringList pictures;
        for (int i = 0; i < 3; ++i) {
            QImage image(8, 6, QImage::Format_RGB32);
            image.fill(qRgb(40 * i, 100, 200));
            const QString file = root.filePath(QStringLiteral("source%1.png").arg(i));
            ASSERT_TRUE(image.save(file));
            pictures << file;
        }
        const CliResult imported = cli(QStringList{"import-pictures", kAlbum} + pictures);
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    }

    CliResult cli(const QStringList& arguments) const {
        return runCli(QStringList{QStringLiteral("--root"), root.path()} + arguments);
    }
    QString albumFile(const QString& name) const { return root.filePath(kAlbum + "/" + name); }
    QByteArray read(const QString& name) const {
        QFile file(albumFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(albumFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QJsonArray shownPictures() const {
        const CliResult show = cli({"show", kAlbum});
        EXPECT_EQ(show.exitCode, 0) << show.err.toStdString();
        return show.json().object()["pictures"].toArray();
    }
};

TEST_F(MotionCliTest, SetsEachKindOfMotionAndShowPrintsThem) {
    EXPECT_EQ(read("Motion"), "<missing>") << "an album without motions has no Motion file";
    for (const QJsonValue& picture : shownPictures())
        EXPECT_EQ(picture.toObject()["motion"].toString(), "none");

    const CliResult automatic = cli({"motion", kAlbum, "0", "auto"});
    ASSERT_EQ(automatic.exitCode, 0) << automatic.err.toStdString();
    const QJsonObject first = automatic.json().object();
    EXPECT_EQ(first["FileName"].toString(), "P0.jpg");
    EXPECT_EQ(first["motion"].toString(), "auto");
    EXPECT_FALSE(first.contains("easing")) << "the automatic motion chooses its own way";

    const CliResult custom =
        cli({"motion", kAlbum, "2", "0,0,1,1:0.25,0.125,0.5,0.5", "--easing", "ease-in-out"});
    ASSERT_EQ(custom.exitCode, 0) << custom.err.toStdString();
    EXPECT_EQ(custom.json().object()["FileName"].toString(), "P2.jpg");
    EXPECT_EQ(custom.json().object()["motion"].toString(), "0,0,1,1:0.25,0.125,0.5,0.5");
    EXPECT_EQ(custom.json().object()["easing"].toString(), "ease-in-out");
    // The easing may come first too; without it a motion is linear.
    ASSERT_EQ(cli({"motion", "--easing", "ease-out", kAlbum, "1", "0.5,0.5,0.5,0.5:0,0,0.5,0.5"}).exitCode,
              0);

    QJsonArray pictures = shownPictures();
    ASSERT_EQ(pictures.size(), 3);
    EXPECT_EQ(pictures[0].toObject()["motion"].toString(), "auto");
    EXPECT_EQ(pictures[1].toObject()["motion"].toString(), "0.5,0.5,0.5,0.5:0,0,0.5,0.5");
    EXPECT_EQ(pictures[1].toObject()["easing"].toString(), "ease-out");
    EXPECT_EQ(pictures[2].toObject()["easing"].toString(), "ease-in-out");
    EXPECT_EQ(pictures[2].toObject()["StayTime"].toInt(), 3) << "the record stays as it was";
    ASSERT_EQ(cli({"motion", kAlbum, "2", "0,0,1,1:0,0,1,1"}).exitCode, 0);
    EXPECT_EQ(shownPictures()[2].toObject()["easing"].toString(), "linear");

    ASSERT_EQ(cli({"motion", kAlbum, "0", "none"}).exitCode, 0);
    pictures = shownPictures();
    EXPECT_EQ(pictures[0].toObject()["motion"].toString(), "none");
    EXPECT_FALSE(pictures[0].toObject().contains("easing"));
    EXPECT_EQ(read("Motion"), "Vistello motion 1\n"
                              "P1.jpg custom ease-out 0.5 0.5 0.5 0.5 0 0 0.5 0.5\n"
                              "P2.jpg custom linear 0 0 1 1 0 0 1 1\n");
}

TEST_F(MotionCliTest, RefusalsAndTheirExitStatusesChangeNothing) {
    const QByteArray pictures = read("PicInfo");
    struct Case {
        QStringList args;
        int exitCode;
        const char* stderrHas;
    } cases[] = {
        {{"motion"}, 2, "usage:"},
        {{"motion", kAlbum, "0"}, 2, "usage:"},
        {{"motion", kAlbum, "0", "auto", "extra"}, 2, "usage:"},
        {{"motion", kAlbum, "first", "auto"}, 2, "row"},
        {{"motion", kAlbum, "-1", "auto"}, 2, "row"},
        {{"motion", kAlbum, "0", "sideways"}, 2, "not a motion"},
        {{"motion", kAlbum, "0", "0,0,1,1"}, 2, "not a motion"},
        {{"motion", kAlbum, "0", "0.5,0.5,0.6,0.5:0,0,1,1"}, 2, "not a motion"}, // off the right edge
        {{"motion", kAlbum, "0", "0,0,1,1:-0.1,0,0.5,0.5"}, 2, "not a motion"},
        {{"motion", kAlbum, "0", "0,0,1,1:0,0,0,0.5"}, 2, "not a motion"},
        {{"motion", kAlbum, "0", "0,0,1,1:nan,0,0.5,0.5"}, 2, "not a motion"},
        {{"motion", kAlbum, "0", "0,0,1,1:0,0,1,1", "--easing", "bounce"}, 2, "unknown easing"},
        {{"motion", kAlbum, "0", "0,0,1,1:0,0,1,1", "--easing"}, 2, "usage:"},
        {{"motion", kAlbum, "0", "0,0,1,1:0,0,1,1", "--easing", "linear", "--easing", "linear"}, 2, "usage:"},
        {{"motion", kAlbum, "0", "auto", "--easing", "linear"}, 2, "--easing"},
        {{"motion", kAlbum, "0", "auto", "--speed", "2"}, 2, "usage:"},
        {{"motion", "nope", "0", "auto"}, 1, "no album named"},
        {{"motion", kAlbum, "3", "auto"}, 1, "no picture at row 3"},
        {{"motion", kAlbum, "99999999999999999999999", "auto"}, 1, "no picture at row"},
    };
    for (const Case& c : cases) {
        const CliResult result = cli(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.stderrHas))
            << c.args.join(' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(read("PicInfo"), pictures);
    EXPECT_EQ(read("Motion"), "<missing>");
}

TEST_F(MotionCliTest, ADamagedMotionFileShowsNoMotionAndTheNextSetWritesASoundOne) {
    write("Motion", "Vistello motion 1\nP0.jpg automatic\nP1.jpg wobbly\n");
    for (const QJsonValue& picture : shownPictures())
        EXPECT_EQ(picture.toObject()["motion"].toString(), "none");
    ASSERT_EQ(cli({"motion", kAlbum, "1", "auto"}).exitCode, 0);
    EXPECT_EQ(read("Motion"), "Vistello motion 1\nP1.jpg automatic\n");
}

TEST_F(MotionCliTest, AnImportThatReusesAFileNameStartsWithoutItsOldMotion) {
    // A motion left under P3.jpg, a name no picture of the list holds now.
    write("Motion", "Vistello motion 1\nP0.jpg automatic\nP3.jpg automatic\n");
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(root.filePath("new.png")));
    const CliResult imported = cli({"import-pictures", kAlbum, root.filePath("new.png")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    ASSERT_EQ(imported.json().array().at(0).toObject()["FileName"].toString(), "P3.jpg");
    EXPECT_EQ(imported.json().array().at(0).toObject()["motion"].toString(), "none");

    const QJsonArray pictures = shownPictures();
    ASSERT_EQ(pictures.size(), 4);
    EXPECT_EQ(pictures[0].toObject()["motion"].toString(), "auto");
    EXPECT_EQ(pictures[3].toObject()["motion"].toString(), "none");
    EXPECT_EQ(read("Motion"), "Vistello motion 1\nP0.jpg automatic\n");
}

TEST_F(MotionCliTest, AMotionFileThatCannotBeWrittenFailsAndLeavesTheList) {
    const QByteArray pictures = read("PicInfo");
    ASSERT_TRUE(QDir(root.filePath(kAlbum)).mkdir("Motion")); // a folder where the file belongs
    const CliResult failed = cli({"motion", kAlbum, "0", "auto"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_FALSE(failed.err.isEmpty());
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_EQ(read("PicInfo"), pictures);
    // The album still opens and shows no motion; taking a motion away needs no file.
    EXPECT_EQ(shownPictures()[0].toObject()["motion"].toString(), "none");
    EXPECT_EQ(cli({"motion", kAlbum, "0", "none"}).exitCode, 0);
}

TEST(MotionCliUsage, HelpListsTheMotionCommand) {
    const CliResult help = runCli({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("motion ALBUM ROW none|auto|X0,Y0,W0,H0:X1,Y1,W1,H1 [--easing"));
}

} // namespace
