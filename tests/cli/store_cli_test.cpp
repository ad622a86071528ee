// vistello-cli over album stores written byte by byte, including damaged and hostile ones.

#include "cli_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using vistello::cli::testing::runCli;

namespace {

// A text field as another program would write it: length byte, bytes, then filler.
QByteArray field(const QByteArray& bytes, int capacity, int length = -1, char filler = 'Z') {
    QByteArray out;
    out.append(char(length < 0 ? bytes.size() : length));
    out.append(bytes);
    out.append(QByteArray(capacity - bytes.size(), filler));
    return out;
}

QByteArray int32(qint32 v) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return out;
}

const QByteArray kGbkTravel("\xC2\xC3\xD0\xD0"); // 旅行

class StoreCliTest : public ::testing::Test {
  protected:
    QTemporaryDir root;
    QString path(const QString& name) const { return root.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList args(QStringList rest) const {
        return QStringList{QStringLiteral("--root"), root.path()} + rest;
    }
};

TEST_F(StoreCliTest, ListsAndShowsRecordsWrittenByAnotherProgram) {
    write("Album", field(kGbkTravel, 90) + field("second", 90) + QByteArray(18, 'x'));
    QDir(root.path()).mkdir(QString::fromUtf8("旅行"));
    const QByteArray pic = int32(7) + int32(63) + field("\xB1\xEA\xCC\xE2", 36) + field("a.jpg", 255) +
                           field("P0.jpg", 20) + QByteArray(2, '\0');
    const QByteArray badEffect = int32(3) + int32(200) + field("abcdef", 36, 3) + field("", 255) +
                                 field("P1.jpg", 20) + QByteArray(2, '\0');
    write(QString::fromUtf8("旅行/PicInfo"), pic + badEffect + QByteArray(100, 'y'));
    write(QString::fromUtf8("旅行/MusicInfo"), int32(185) + field("M0.mp3", 20) + field("s.mp3", 255) +
                                                   field("", 30) + field("", 30) + QByteArray(1, '\0'));

    auto albums = runCli(args({QStringLiteral("albums")}));
    ASSERT_EQ(albums.exitCode, 0) << albums.err.toStdString();
    EXPECT_EQ(albums.json().array(), (QJsonArray{QString::fromUtf8("旅行"), QStringLiteral("second")}));

    auto show = runCli(args({QStringLiteral("show"), QString::fromUtf8("旅行")}));
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    const QJsonObject album = show.json().object();
    const QJsonArray pictures = album["pictures"].toArray();
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_EQ(pictures[0].toObject(), (QJsonObject{{"StayTime", 7},
                                                   {"Effect", 63},
                                                   {"EffectName", QString::fromUtf8("椭圆向外渐铺显示")},
                                                   {"Title", QString::fromUtf8("标题")},
                                                   {"Remark", "a.jpg"},
                                                   {"FileName", "P0.jpg"},
                                                   {"motion", "none"}}));
    EXPECT_EQ(pictures[1]["Title"].toString(), QStringLiteral("abc")); // only the length's bytes count
    EXPECT_EQ(pictures[1]["EffectName"].toString(), QString::fromUtf8("000 随机效果"));
    EXPECT_EQ(album["songs"].toArray().at(0).toObject()["PlayTime"].toInt(), 185);
}

TEST_F(StoreCliTest, OversizedLengthBytesReadAsTheFieldCapacity) {
    write("Album", field(QByteArray(90, 'n'), 90, 255));
    auto albums = runCli(args({QStringLiteral("albums")}));
    ASSERT_EQ(albums.exitCode, 0);
    EXPECT_EQ(albums.json().array()[0].toString(), QString(90, QLatin1Char('n')));
}

TEST_F(StoreCliTest, CreatesAndRefusesAlbumsLikeTheDialog) {
    QDir(root.path()).mkdir(QStringLiteral("BackPic"));
    auto created = runCli(args({QStringLiteral("new-album"), QString::fromUtf8("  海边  ")}));
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_EQ(created.json().object()["album"].toString(), QString::fromUtf8("海边"));
    EXPECT_TRUE(QFile::exists(path(QString::fromUtf8("海边/PicInfo"))));

    for (const QString& name :
         {QStringLiteral("BackPic"), QStringLiteral("Album"), QString::fromUtf8("海边")}) {
        auto refused = runCli(args({QStringLiteral("new-album"), name}));
        EXPECT_EQ(refused.exitCode, 1) << name.toStdString();
        EXPECT_TRUE(refused.err.contains("现输入的相册名称已存在,创建无效!")) << refused.err.toStdString();
    }
    auto empty = runCli(args({QStringLiteral("new-album"), QStringLiteral("   ")}));
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains("请输入新的相册名称!"));
    EXPECT_EQ(runCli(args({QStringLiteral("albums")})).json().array().size(), 1);
}

TEST_F(StoreCliTest, RefusesTheStoresOwnNamesInAnEmptyStoreAndTellsACutName) {
    // Nothing in the root: "Album" would collide with the list file written first, and
    // "BackPic" would take the place of the background pictures.
    for (const QString& name : {QStringLiteral("Album"), QStringLiteral("BackPic")}) {
        auto refused = runCli(args({QStringLiteral("new-album"), name}));
        EXPECT_EQ(refused.exitCode, 1) << name.toStdString();
        EXPECT_TRUE(refused.err.contains("现输入的相册名称已存在,创建无效!")) << refused.err.toStdString();
    }
    EXPECT_TRUE(QDir(root.path()).isEmpty());

    const QString kept(45, QChar(0x957F)); // 90 GBK bytes
    auto cut = runCli(args({QStringLiteral("new-album"), kept + QStringLiteral("长长")}));
    ASSERT_EQ(cut.exitCode, 0) << cut.err.toStdString();
    EXPECT_EQ(cut.json().object()["album"].toString(), kept);
    EXPECT_TRUE(QString::fromUtf8(cut.err).contains(QStringLiteral("将缩短为“") + kept + QStringLiteral("”")))
        << cut.err.toStdString();
}

TEST_F(StoreCliTest, DeletingAHostileRecordRemovesOnlyTheRecord) {
    QDir(root.path()).mkdir(QStringLiteral("keep"));
    write("keep/PicInfo", "");
    write("Album", field("..", 90) + field("keep", 90));
    auto show = runCli(args({QStringLiteral("show"), QStringLiteral("..")}));
    ASSERT_EQ(show.exitCode, 0);
    EXPECT_TRUE(show.json().object()["pictures"].toArray().isEmpty());
    auto deleted = runCli(args({QStringLiteral("delete-album"), QStringLiteral("..")}));
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    EXPECT_TRUE(QDir(root.path()).exists());
    EXPECT_TRUE(QFile::exists(path("keep/PicInfo")));
    EXPECT_EQ(runCli(args({QStringLiteral("albums")})).json().array(), QJsonArray{QStringLiteral("keep")});
    auto last = runCli(args({QStringLiteral("delete-album"), QStringLiteral("keep")}));
    ASSERT_EQ(last.exitCode, 0);
    EXPECT_FALSE(QFile::exists(path("Album")));
    EXPECT_FALSE(QDir(path("keep")).exists());
}

TEST_F(StoreCliTest, ExitStatusesForUnknownAlbumsAndUsageErrors) {
    EXPECT_EQ(runCli(args({QStringLiteral("show"), QStringLiteral("nope")})).exitCode, 1);
    EXPECT_EQ(runCli(args({QStringLiteral("show")})).exitCode, 2);
    EXPECT_EQ(runCli(args({QStringLiteral("no-such-command")})).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("--root")}).exitCode, 2);
    write("Album", QByteArray());
    QFile::remove(path("Album"));
    QDir(root.path()).mkdir(QStringLiteral("Album")); // a folder where the list file belongs
    auto broken = runCli(args({QStringLiteral("albums")}));
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(
        QString::fromUtf8(broken.err)
            .contains(QStringLiteral("无法读取“") + path("Album") + QStringLiteral("”：这是一个文件夹")))
        << broken.err.toStdString();
}

} // namespace

TEST(CliUsage, HelpPrintsEveryCommandAndSucceedsWhileMistakesAreUsageErrors) {
    for (const char* help : {"--help", "-h", "help"}) {
        const auto result = runCli({QString::fromLatin1(help)});
        EXPECT_EQ(result.exitCode, 0) << help;
        for (const char* command : {"albums", "render", "import-music", "effect-sheet"})
            EXPECT_TRUE(result.out.contains(command)) << help << " lists " << command;
    }
    for (const QStringList& mistake : {QStringList{}, QStringList{QStringLiteral("no-such-command")},
                                       QStringList{QStringLiteral("--root")}}) {
        const auto result = runCli(mistake);
        EXPECT_EQ(result.exitCode, 2) << mistake.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("usage:"));
    }
}
