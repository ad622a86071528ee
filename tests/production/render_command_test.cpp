// The render subcommand end to end: the JSON it prints, its exit statuses and messages.

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
        const auto errFile = root() / "stderr.txt";
        std::string stdoutText;
        const int status = runCommand(std::string("QT_QPA_PLATFORM=offscreen ") + VISTELLO_CLI + " --root " +
                                          shellQuoted(root()) + " render " + arguments + " 2>" + shellQuoted(errFile),
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
    ASSERT_EQ(render("Test --format svcd --out " + shellQuoted(out) + " --soften --color 102030", &json, &messages), 0)
        << messages;
    const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    EXPECT_EQ(result["file"].toString().toStdString(), out.string());
    EXPECT_EQ(result["frames"].toInt(), 103);
    EXPECT_DOUBLE_EQ(result["seconds"].toDouble(), 103 / 25.0);
    EXPECT_EQ(result["bytes"].toInteger(), static_cast<qint64>(std::filesystem::file_size(out)));
    EXPECT_GT(result["elapsed"].toDouble(), 0);
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string messages;
        EXPECT_EQ(render(c.arguments, nullptr, &messages), c.status);
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    }
    EXPECT_FALSE(std::filesystem::exists(root() / "x.mpg"));
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
