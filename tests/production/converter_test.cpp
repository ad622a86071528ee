// The encoder binding: callback order, the files of the three formats as ffprobe, vcdimager
// and dvdauthor see them, the sound track's length, the stop, and failures leaving no file.

#include "production/mcl_converter.h"
#include "production_fixture.h"

#include <QColor>

#include <vector>

namespace vistello::production {
namespace {

using vistello::testing::makeSong;
using vistello::testing::probe;
using vistello::testing::shellQuoted;
using vistello::testing::runCommand;
using vistello::testing::streamOf;

struct FormatCase {
    int preset;
    int width, height; // the frames handed in
    const char* codec;
    int codedWidth, codedHeight;
    int sampleRate;
};

constexpr FormatCase kFormats[] = {
    {0, 320, 288, "mpeg1video", 352, 288, 44100},
    {1, 480, 576, "mpeg2video", 480, 576, 44100},
    {2, 720, 576, "mpeg2video", 720, 576, 48000},
};

// Hands `frames` frames of one colour (a different shade each frame), then the end.
class FrameFeeder {
public:
    FrameFeeder(int width, int height, int frames) : frame_(width, height, QImage::Format_BGR888), frames_(frames) {}
    void operator()(Source& source) {
        frame_.fill(QColor(40 + sent_ % 100, 90, 160));
        source.SetDIB(Dib{frame_.constBits(), frame_.width(), frame_.height(), frame_.bytesPerLine()});
        if (++sent_ >= frames_)
            source.Finished();
    }
    QImage frame_;
    int frames_;
    int sent_ = 0;
};

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    std::filesystem::path file(const char* name) const { return std::filesystem::path(dir_.path().toStdString()) / name; }

    // Sets up a converter for `format` writing `out` with the songs given.
    void prepare(Converter& converter, const FormatCase& format, const std::filesystem::path& out,
                 std::vector<std::filesystem::path> songs) {
        songs_ = std::move(songs);
        converter.AssignAudioSource([this](Source& source, int index) {
            if (index < static_cast<int>(songs_.size()))
                source.SetFile(songs_[static_cast<std::size_t>(index)]);
            else
                source.Finished();
        });
        converter.AssignError([this](Converter&, const std::string& message, int& answer) {
            errors_.push_back(message);
            answer = 2;
        });
        converter.VideoSetFileName(out);
        converter.AudioSetFileName(out);
        if (format.preset > 0)
            converter.EnableMPEG2();
        converter.SetFormatPreset(format.preset, 0);
        converter.VideoSetKeepDuration(-1);
    }

    QTemporaryDir dir_;
    std::vector<std::filesystem::path> songs_;
    std::vector<std::string> errors_;
};

TEST_F(ConverterTest, WritesEachFormatAsTheAuthoringToolsExpect) {
    const auto song = file("song.mp3");
    makeSong(song, 1.0);
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.preset);
        const auto out = file(("out" + std::to_string(format.preset) + ".mpg").c_str());
        Converter converter;
        prepare(converter, format, out, {song});
        FrameFeeder feeder(format.width, format.height, 40);
        converter.AssignVideoSource(std::ref(feeder));
        converter.Convert();
        ASSERT_TRUE(errors_.empty()) << errors_.front();
        ASSERT_TRUE(std::filesystem::exists(out));

        const QJsonObject probed = probe(out);
        const QJsonObject video = streamOf(probed, "video"), audio = streamOf(probed, "audio");
        EXPECT_EQ(video["codec_name"].toString().toStdString(), format.codec);
        EXPECT_EQ(video["width"].toInt(), format.codedWidth);
        EXPECT_EQ(video["height"].toInt(), format.codedHeight);
        // MPEG-1 can only name the 625-line 4:3 pixel shape of its table (1958:1467).
        const QStringList aspect = video["display_aspect_ratio"].toString().split(':');
        ASSERT_EQ(aspect.size(), 2);
        EXPECT_NEAR(aspect[0].toDouble() / aspect[1].toDouble(), 4.0 / 3.0, 0.002);
        EXPECT_EQ(video["r_frame_rate"].toString(), "25/1");
        EXPECT_EQ(video["nb_read_frames"].toString().toInt(), 40);
        EXPECT_EQ(audio["codec_name"].toString(), "mp2");
        EXPECT_EQ(audio["sample_rate"].toString().toInt(), format.sampleRate);
        EXPECT_EQ(audio["channels"].toInt(), 2);
        // The sound lasts as long as the video (1.6 s), give or take one encoder frame.
        const double audioSeconds = audio["nb_read_frames"].toString().toDouble() * 1152 / format.sampleRate;
        EXPECT_NEAR(audioSeconds, 1.6, 0.03);

        std::string log;
        if (format.preset < 2) {
            const std::string type = format.preset == 0 ? "vcd2" : "svcd";
            const auto image = file(("image" + std::to_string(format.preset)).c_str());
            EXPECT_EQ(runCommand("cd " + shellQuoted(dir_.path().toStdString()) + " && vcdimager -t " + type + " -c " +
                                     shellQuoted(image.string() + ".cue") + " -b " + shellQuoted(image.string() + ".bin") + " " +
                                     shellQuoted(out) + " 2>&1",
                                 &log),
                      0)
                << log;
        } else {
            const auto dvd = file("dvd");
            EXPECT_EQ(runCommand("export VIDEO_FORMAT=PAL; dvdauthor -o " + shellQuoted(dvd) + " -t " + shellQuoted(out) + " 2>&1 && dvdauthor -o " +
                                     shellQuoted(dvd) + " -T 2>&1",
                                 &log),
                      0)
                << log;
        }
        // A test file this short is below a disc's minimum length; nothing else may be wrong.
        for (std::size_t at = 0; (at = log.find("WARN", at)) != std::string::npos; ++at)
            EXPECT_NE(log.substr(at, log.find('\n', at) - at).find("shorter than"), std::string::npos) << log;
        EXPECT_EQ(log.find("ERR"), std::string::npos) << log;
    }
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
