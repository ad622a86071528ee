// The formats and render subcommands end to end: the JSON they print, their exit statuses and
// messages, and an MP4 render at the rate asked for.

#include "production_fixture.h"

namespace vistello::production {
namespace {

using vistello::testing::makeAlbum;
using vistello::testing::runCommand;
using vistello::testing::shellQuoted;

class RenderCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeAlbum(album_, {{64, 48, Qt::red, 0, 1, "一"}, {48, 64, Qt::blue, 0, 0, "二"}}, {1.0});
    }
    std::filesystem::path root() const { return dir_.path().toStdString(); }
    // Runs the tool; returns its exit status, stdout in `out` and stderr in `err`.
    int render(const std::string& arguments, std::string* out = nullptr, std::string* err = nullptr) {
        return tool("render " + arguments, out, err);
    }
    int tool(const std::string& arguments, std::string* out = nullptr, std::string* err = nullptr) {
        const auto errFile = root() / "stderr.txt";
        std::string stdoutText;
        const int status =
            runCommand(std::string("QT_QPA_PLATFORM=offscreen ") + VISTELLO_CLI + " --root " +
                           shellQuoted(root()) + " " + arguments + " 2>" + shellQuoted(errFile),
                       &stdoutText);
        if (out)
            *out = stdoutText;
        if (err) {
            std::ifstream in(errFile);
            err->assign(std::istreambuf_iterator<char>(in), {});
        }
        return status;
    }

    QTemporaryDir dir_;
    store::AlbumStore album_{dir_.path().toStdString()};
};

TEST_F(RenderCommandTest, RendersAndPrintsTheResult) {
    const auto out = root() / "album.mpg";
    std::string json, messages;
    ASSERT_EQ(render("Test --format svcd --out " + shellQuoted(out) + " --soften --color 102030 --disc",
                     &json, &messages),
              0)
        << messages;
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(result["file"].toString().toStdString(), out.string());
    EXPECT_EQ(result["frames"].toInt(), 103);
    EXPECT_DOUBLE_EQ(result["seconds"].toDouble(), 103 / 25.0);
    EXPECT_EQ(result["bytes"].toInteger(), static_cast<qint64>(std::filesystem::file_size(out)));
    EXPECT_GT(result["elapsed"].toDouble(), 0);
    // --disc: the BIN/CUE image beside the video.
    EXPECT_EQ(result["disc"].toArray(),
              (QJsonArray{QString::fromStdString((root() / "album.bin").string()),
                          QString::fromStdString((root() / "album.cue").string())}));
    EXPECT_TRUE(std::filesystem::exists(root() / "album.cue"));
    EXPECT_NE(messages.find("准备生成..."), std::string::npos) << messages;
    EXPECT_NE(messages.find("相册生成完毕!"), std::string::npos) << messages;
}

TEST_F(RenderCommandTest, RefusesWrongUseAndReportsFailures) {
    store::createAlbum(album_, "Empty");
    const std::string out = shellQuoted(root() / "x.mpg");
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"Test --out " + out, 2, "usage"},
        {"Test --format mpeg4 --out " + out, 2, "usage"},
        {"Test --format vcd", 2, "usage"},
        {"Test --format vcd --out " + out + " --color red", 2, "usage"},
        {"Test Other --format vcd --out " + out, 2, "usage"},
        {"Nobody --format vcd --out " + out, 1, "no album named"},
        {"Empty --format vcd --out " + out, 1, "at least one picture and one song"},
        {"Test --format dvd --out " + out + " --sync", 1, "音乐太短"},
        {"Test --format vcd --out " + shellQuoted(root() / "missing" / "x.mpg"), 1, "x.mpg"},
        {"Test --format mp4-720p --fps 24 --out " + out, 2, "30 (or 25, 50, 60)"},
        {"Test --format dvd --fps 30 --out " + out, 2, "made at 25"},
        {"Test --format dvd-ntsc --fps 25 --out " + out, 2, "made at 30000/1001"},
        {"Test --format mp4-720p --quality 52 --out " + out, 2, "usage"},
        {"Test --format mp4-720p --quality fast --out " + out, 2, "usage"},
        {"Test --format mp4-720p --speed warp --out " + out, 2, "usage"},
        {"Test --format dvd --quality 20 --out " + out, 2, "for MP4"},
        {"Test --format svcd --hevc --out " + out, 2, "for MP4"},
        {"Test --format mp4-720p --disc --out " + out, 2, "not a disc format"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string messages;
        EXPECT_EQ(render(c.arguments, nullptr, &messages), c.status);
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    }
    EXPECT_FALSE(std::filesystem::exists(root() / "x.mpg"));
}

TEST_F(RenderCommandTest, FormatsListsEveryRowOfTheTable) {
    std::string json;
    ASSERT_EQ(tool("formats", &json), 0);
    const QJsonArray formats = QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
    ASSERT_EQ(formats.size(), 14);
    const QJsonObject vcd = formats[0].toObject();
    EXPECT_EQ(vcd["name"].toString(), "vcd");
    EXPECT_EQ(vcd["caption"].toString(), "VCD");
    EXPECT_EQ(vcd["width"].toInt(), 352);
    EXPECT_EQ(vcd["height"].toInt(), 288);
    EXPECT_EQ(vcd["rates"].toArray(), QJsonArray{"25"});
    EXPECT_EQ(vcd["extension"].toString(), "mpg");
    EXPECT_TRUE(vcd["disc"].toBool());
    const QJsonObject upright = formats[12].toObject();
    EXPECT_EQ(upright["name"].toString(), "mp4-1080x1920");
    EXPECT_EQ(upright["caption"].toString(), QStringLiteral("MP4 竖屏（1080×1920）"));
    EXPECT_EQ(upright["display_aspect"].toString(), "9:16");
    EXPECT_EQ(upright["rates"].toArray(), (QJsonArray{"25", "30", "50", "60"}));
    EXPECT_EQ(upright["default_rate"].toString(), "30");
    EXPECT_EQ(upright["extension"].toString(), "mp4");
    EXPECT_EQ(formats[5].toObject()["rates"].toArray(), QJsonArray{"30000/1001"});
    EXPECT_EQ(tool("formats extra"), 2);
}

TEST_F(RenderCommandTest, RendersAnMp4AtTheRateAsked) {
    const auto out = root() / "album.mp4";
    std::string json, messages;
    ASSERT_EQ(
        render("Test --format MP4-720p --fps 30 --quality 30 --speed veryfast --out " + shellQuoted(out),
               &json, &messages),
        0)
        << messages;
    // Two pictures without hold at 30 frames a second: 2 × (60 + 1) frames and the last once more.
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(result["frames"].toInt(), 123);
    EXPECT_EQ(result["format"].toString(), "mp4-720p");
    EXPECT_EQ(result["fps"].toString(), "30");
    EXPECT_DOUBLE_EQ(result["seconds"].toDouble(), 123 / 30.0);
    const QJsonObject probed = vistello::testing::probe(out);
    const QJsonObject video = vistello::testing::streamOf(probed, "video");
    const QJsonObject audio = vistello::testing::streamOf(probed, "audio");
    EXPECT_EQ(video["codec_name"].toString(), "h264");
    EXPECT_EQ(video["width"].toInt(), 1280);
    EXPECT_EQ(video["height"].toInt(), 720);
    EXPECT_EQ(video["r_frame_rate"].toString(), "30/1");
    EXPECT_EQ(video["nb_read_frames"].toString().toInt(), 123);
    EXPECT_EQ(audio["codec_name"].toString(), "aac");
    EXPECT_EQ(audio["sample_rate"].toString(), "48000");
    EXPECT_NE(messages.find("相册生成完毕!"), std::string::npos) << messages;
}

// --motion is the dialog's switch: both pictures move with their automatic motion, chosen once
// and kept in the album folder, so the video differs from the still one in its frames only.
TEST_F(RenderCommandTest, MotionMakesEveryPictureMoveAndKeepsTheChoices) {
    const auto still = root() / "still.mpg", moving = root() / "moving.mpg";
    std::string json, messages;
    ASSERT_EQ(render("Test --format vcd --out " + shellQuoted(still), nullptr, &messages), 0) << messages;
    EXPECT_FALSE(std::filesystem::exists(album_.AlbumPath() / ".vistello-framing"));
    ASSERT_EQ(render("Test --format vcd --motion --out " + shellQuoted(moving), &json, &messages), 0)
        << messages;
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(result["frames"].toInt(), 103);
    std::ifstream kept(album_.AlbumPath() / ".vistello-framing");
    std::string header, first, second, more;
    std::getline(kept, header);
    EXPECT_EQ(header, "Vistello framing 1");
    EXPECT_TRUE(std::getline(kept, first) && std::getline(kept, second));
    EXPECT_FALSE(std::getline(kept, more)) << "one choice per picture";
    EXPECT_EQ(render("Test --format vcd --motion extra --out " + shellQuoted(moving)), 2);
}

TEST_F(RenderCommandTest, UnreadablePictureFailsWithItsName) {
    std::filesystem::resize_file(album_.AlbumPath() / "P1.jpg", 16);
    const auto out = root() / "broken.mpg";
    std::string messages;
    EXPECT_EQ(render("Test --format vcd --out " + shellQuoted(out), nullptr, &messages), 1);
    EXPECT_NE(messages.find("P1.jpg"), std::string::npos) << messages;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace vistello::production
