#include "../audio/mp3_fixture.h"
#include "cli_runner.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace vistello::cli {
namespace {

using testing::runCli;

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// An ID3v1.1 tag with a GBK artist, track 7 and genre 255.
std::string id3v1Tag() {
    std::string tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, 5, "Title");
    tag.replace(33, 4, "\xd5\xc5\xc8\xfd"); // 张三
    tag.replace(93, 4, "2001");
    tag.replace(97, 4, "note");
    tag[126] = 7;
    tag[127] = '\xff';
    return tag;
}

struct AudioCli : ::testing::Test {
    QTemporaryDir dir;
    std::filesystem::path root{dir.path().toStdString()};
    std::filesystem::path song = root / "song.mp3";

    void SetUp() override {
        // 3.75 s at 48 kHz, mono, VBR, with an ID3v2 tag in front and an ID3v1 tag behind.
        ASSERT_TRUE(audio::test::makeMp3(
            song, {48000,
                   1,
                   180000,
                   {"-c:a", "libmp3lame", "-q:a", "5", "-id3v2_version", "3", "-metadata", "title=x"}}));
        std::ofstream(song, std::ios::binary | std::ios::app) << id3v1Tag();
    }
};

TEST_F(AudioCli, ProbeSongMeasuresAndReadsTheTag) {
    const auto result = runCli({"probe-song", qpath(song)});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject probe = result.json().object();
    EXPECT_EQ(probe["PlayTime"].toInt(), 3);
    EXPECT_DOUBLE_EQ(probe["LengthInSeconds"].toDouble(), 3.75);
    EXPECT_EQ(probe["FileLength"].toInteger(), static_cast<qint64>(std::filesystem::file_size(song)));
    const QJsonObject tag = probe["tag"].toObject();
    EXPECT_TRUE(tag["found"].toBool());
    EXPECT_EQ(tag["version"].toInt(), 2);
    EXPECT_EQ(tag["title"].toString(), "Title");
    EXPECT_EQ(tag["artist"].toString(), QString::fromUtf8("张三"));
    EXPECT_EQ(tag["year"].toString(), "2001");
    EXPECT_EQ(tag["comment"].toString(), "note");
    EXPECT_EQ(tag["track"].toInt(), 7);
    EXPECT_EQ(tag["genre"].toInt(), 255);
}

TEST_F(AudioCli, ProbeSongRefusals) {
    std::ofstream(root / "text.mp3") << "no song here";
    const std::tuple<QStringList, int> cases[] = {
        {{"probe-song"}, 2},
        {{"probe-song", "a", "b"}, 2},
        {{"probe-song", qpath(root / "missing.mp3")}, 1},
        {{"probe-song", qpath(root / "text.mp3")}, 1},
    };
    for (const auto& [args, code] : cases) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, code) << args.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_FALSE(result.err.isEmpty());
    }
}

TEST_F(AudioCli, ImportMusicAppendsAndPrintsTheNewRecords) {
    const QString store = qpath(root / "store");
    std::filesystem::create_directories(root / "store");
    ASSERT_EQ(runCli({"--root", store, "new-album", "Trip"}).exitCode, 0);

    auto result = runCli({"--root", store, "import-music", "Trip", qpath(song), qpath(song)});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonArray added = result.json().array();
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[0].toObject()["FileName"].toString(), "M0.mp3");
    EXPECT_EQ(added[1].toObject()["FileName"].toString(), "M1.mp3");
    EXPECT_EQ(added[0].toObject()["PlayTime"].toInt(), 3);
    EXPECT_EQ(added[0].toObject()["Singer"].toString(), QString::fromUtf8("张三"));
    EXPECT_EQ(added[0].toObject()["Remark"].toString(), "note");
    EXPECT_EQ(added[0].toObject()["SongName"].toString(), "song.mp3");

    result = runCli({"--root", store, "import-music", "Trip", qpath(root / "missing.mp3"), qpath(song)});
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_EQ(result.json().array().size(), 1);
    EXPECT_EQ(result.json().array()[0].toObject()["FileName"].toString(), "M2.mp3");
    EXPECT_TRUE(result.err.contains("missing.mp3"));

    const auto shown = runCli({"--root", store, "show", "Trip"});
    EXPECT_EQ(shown.json().object()["songs"].toArray().size(), 3);

    EXPECT_EQ(runCli({"--root", store, "import-music", "Nowhere", qpath(song)}).exitCode, 1);
    EXPECT_EQ(runCli({"--root", store, "import-music", "Trip"}).exitCode, 2);
}

} // namespace
} // namespace vistello::cli
