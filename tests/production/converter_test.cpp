// The encoder binding: callback order, the files of every format as ffprobe, vcdimager and
// dvdauthor see them, the MP4 encoder's options, the sound track's length, the stop, and failures leaving no
// file.

#include "production/mcl_converter.h"
#include "production_fixture.h"

#include <QColor>

#include <cstdlib>
#include <vector>

namespace vistello::production {
namespace {

using vistello::testing::makeSong;
using vistello::testing::probe;
using vistello::testing::runCommand;
using vistello::testing::shellQuoted;
using vistello::testing::streamOf;

// What ffprobe must report for a format, beside what its row says.
struct FormatCase {
    const char* name;
    const char* codec;
    const char* rate;
    const char* audioCodec;
    int audioFrameSize;
    int frames; // handed in; the MP4 sizes are slow to encode, so they get fewer
};

constexpr FormatCase kFormats[] = {
    {"vcd", "mpeg1video", "25/1", "mp2", 1152, 40},
    {"svcd", "mpeg2video", "25/1", "mp2", 1152, 40},
    {"dvd", "mpeg2video", "25/1", "mp2", 1152, 40},
    {"vcd-ntsc", "mpeg1video", "30000/1001", "mp2", 1152, 48},
    {"svcd-ntsc", "mpeg2video", "30000/1001", "mp2", 1152, 48},
    {"dvd-ntsc", "mpeg2video", "30000/1001", "mp2", 1152, 48},
    {"dvd-16x9", "mpeg2video", "25/1", "mp2", 1152, 40},
    {"dvd-16x9-ntsc", "mpeg2video", "30000/1001", "mp2", 1152, 48},
    {"mp4-720p", "h264", "30/1", "aac", 1024, 12},
    {"mp4-1080p", "h264", "30/1", "aac", 1024, 12},
    {"mp4-2160p", "h264", "30/1", "aac", 1024, 6},
    {"mp4-1440x1080", "h264", "30/1", "aac", 1024, 12},
    {"mp4-1080x1920", "h264", "30/1", "aac", 1024, 12},
    {"mp4-1080x1080", "h264", "30/1", "aac", 1024, 12},
};

const VideoFormat& rowOf(const FormatCase& format) {
    return videoFormat(format.name);
}

double ratio(const QString& text) {
    const QStringList parts = text.split(':');
    return parts.size() == 2 && parts[1].toDouble() != 0 ? parts[0].toDouble() / parts[1].toDouble() : 0;
}

// Hands `frames` frames of one colour (a different shade each frame), then the end.
class FrameFeeder {
  public:
    FrameFeeder(int width, int height, int frames)
        : frame_(width, height, QImage::Format_BGR888), frames_(frames) {}
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
    std::filesystem::path file(const char* name) const {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }

    // Sets up a converter for `format` writing `out` with the songs given.
    void prepare(Converter& converter, const VideoFormat& format, const std::filesystem::path& out,
                 std::vector<std::filesystem::path> songs, EncodeOptions options = {}) {
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
        if (format.needsMpeg2)
            converter.EnableMPEG2();
        if (format.constantQuality && options.speed.empty())
            options.speed = "veryfast"; // quick, and still High profile (ultrafast gives up CABAC)
        converter.SetFormat(format, options);
        converter.VideoSetKeepDuration(-1);
    }

    QTemporaryDir dir_;
    std::vector<std::filesystem::path> songs_;
    std::vector<std::string> errors_;
};

// Runs vcdimager or dvdauthor on a disc format's file; returns their log, empty when the
// tool failed.
std::string authorDisc(const VideoFormat& format, const std::filesystem::path& file,
                       const std::filesystem::path& dir) {
    std::string log;
    const std::string stem = (dir / ("disc-" + std::string(format.name))).string();
    int status = -1;
    if (format.disc == DiscKind::Dvd) {
        const std::string standard = format.defaultRate == Rational{25, 1} ? "PAL" : "NTSC";
        status =
            runCommand("export VIDEO_FORMAT=" + standard + "; dvdauthor -o " + shellQuoted(stem) + " -t " +
                           shellQuoted(file) + " 2>&1 && dvdauthor -o " + shellQuoted(stem) + " -T 2>&1",
                       &log);
    } else {
        const std::string type = format.disc == DiscKind::Vcd ? "vcd2" : "svcd";
        status = runCommand("cd " + shellQuoted(dir) + " && vcdimager -t " + type + " -c " +
                                shellQuoted(stem + ".cue") + " -b " + shellQuoted(stem + ".bin") + " " +
                                shellQuoted(file) + " 2>&1",
                            &log);
    }
    return status == 0 ? log + "\n" : std::string();
}

TEST_F(ConverterTest, WritesEachFormatAsPlayersAndAuthoringToolsExpect) {
    const auto song = file("song.mp3");
    makeSong(song, 1.0);
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(c.name);
        const VideoFormat& format = rowOf(c);
        const auto out = file((std::string("out-") + c.name + "." + format.extension).c_str());
        Converter converter;
        prepare(converter, format, out, {song});
        FrameFeeder feeder(format.composeWidth, format.composeHeight, c.frames);
        converter.AssignVideoSource(std::ref(feeder));
        converter.Convert();
        ASSERT_TRUE(errors_.empty()) << errors_.front();
        ASSERT_TRUE(std::filesystem::exists(out));

        const QJsonObject probed = probe(out);
        const QJsonObject video = streamOf(probed, "video"), audio = streamOf(probed, "audio");
        EXPECT_EQ(video["codec_name"].toString().toStdString(), c.codec);
        EXPECT_EQ(video["width"].toInt(), format.codedWidth);
        EXPECT_EQ(video["height"].toInt(), format.codedHeight);
        EXPECT_EQ(video["pix_fmt"].toString(), "yuv420p");
        EXPECT_EQ(video["sample_aspect_ratio"].toString(),
                  QStringLiteral("%1:%2").arg(format.sampleAspect.num).arg(format.sampleAspect.den));
        EXPECT_NEAR(ratio(video["display_aspect_ratio"].toString()), format.displayAspect.value(), 0.002);
        EXPECT_EQ(video["r_frame_rate"].toString().toStdString(), c.rate);
        EXPECT_EQ(video["nb_read_frames"].toString().toInt(), c.frames);
        EXPECT_EQ(audio["codec_name"].toString().toStdString(), c.audioCodec);
        EXPECT_EQ(audio["sample_rate"].toString().toInt(), format.sampleRate);
        EXPECT_EQ(audio["channels"].toInt(), 2);
        // The sound lasts as long as the video, give or take one encoder frame.
        const double videoSeconds = c.frames / frameRateOf(format, {}).value();
        const double audioSeconds =
            audio["nb_read_frames"].toString().toDouble() * c.audioFrameSize / format.sampleRate;
        EXPECT_NEAR(audioSeconds, videoSeconds, 1.5 * c.audioFrameSize / format.sampleRate);
        if (!format.isDisc()) {
            EXPECT_EQ(video["profile"].toString(), "High");
            EXPECT_EQ(audio["profile"].toString(), "LC");
            EXPECT_EQ(video["color_space"].toString(), "bt709");
            // +faststart: the index (moov) comes before the pictures (mdat).
            std::string head;
            runCommand("head -c 4096 " + shellQuoted(out), &head);
            EXPECT_LT(head.find("moov"),
                      head.find("mdat") == std::string::npos ? head.size() : head.find("mdat"));
            continue;
        }
        const std::string log = authorDisc(format, out, dir_.path().toStdString());
        ASSERT_FALSE(log.empty()) << "the authoring tool refused the file";
        // A test file this short is below a disc's minimum length; nothing else may be wrong.
        for (std::size_t at = 0; (at = log.find("WARN", at)) != std::string::npos; ++at)
            EXPECT_NE(log.substr(at, log.find('\n', at) - at).find("shorter than"), std::string::npos) << log;
        EXPECT_EQ(log.find("ERR"), std::string::npos) << log;
    }
}

TEST_F(ConverterTest, Mp4TakesTheRateQualityAndCodecAskedFor) {
    const VideoFormat& format = videoFormat("mp4-720p");
    const struct {
        EncodeOptions options;
        const char* codec;
        const char* rate;
    } cases[] = {
        {{{25, 1}, 30, "ultrafast", false}, "h264", "25/1"},
        {{{60, 1}, 18, "superfast", false}, "h264", "60/1"},
        {{{50, 1}, 28, "ultrafast", true}, "hevc", "50/1"},
        {{{24, 1}, -1, "", false}, "h264", "30/1"}, // a rate the format does not offer: its default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const auto out = file(
            (std::string("options-") + c.codec + "-" + std::to_string(c.options.rate.num) + ".mp4").c_str());
        Converter converter;
        prepare(converter, format, out, {}, c.options);
        FrameFeeder feeder(format.composeWidth, format.composeHeight, 10);
        converter.AssignVideoSource(std::ref(feeder));
        converter.Convert();
        ASSERT_TRUE(errors_.empty()) << errors_.front();
        const QJsonObject video = streamOf(probe(out), "video");
        EXPECT_EQ(video["codec_name"].toString().toStdString(), c.codec);
        EXPECT_EQ(video["r_frame_rate"].toString().toStdString(), c.rate);
        EXPECT_EQ(video["nb_read_frames"].toString().toInt(), 10);
        if (c.options.hevc) {
            EXPECT_EQ(video["codec_tag_string"].toString(), "hvc1");
        }
    }
}

TEST_F(ConverterTest, CallsBackInTheOrderTheTimelineCountsOn) {
    const auto out = file("order.mpg");
    Converter converter;
    prepare(converter, videoFormat("vcd"), out, {});
    std::string events;
    FrameFeeder feeder(320, 288, 4);
    converter.AssignVideoSource([&](Source& source) {
        events += 'V';
        feeder(source);
    });
    converter.AssignVideoFunc([&](Converter&, Image& frame) {
        events += 'T';
        EXPECT_EQ(frame.image().size(), QSize(320, 288));
    });
    std::vector<std::int64_t> positions;
    converter.AssignProgress([&](Converter&, int stage, std::int64_t position) {
        events += std::to_string(stage);
        if (stage == 3)
            positions.push_back(position);
    });
    converter.Convert();
    // One notification before the first request, one between two requests, the title after
    // each request; then the file structure and the end.
    EXPECT_EQ(events, "1VT3VT3VT3VT20");
    EXPECT_EQ(positions, (std::vector<std::int64_t>{1, 2, 3}));
    EXPECT_EQ(converter.framesRequested(), 4);
}

TEST_F(ConverterTest, SourceFrameIsCopiedBeforeSetDIBReturns) {
    QImage frame(8, 4, QImage::Format_BGR888);
    frame.fill(QColor(1, 2, 3));
    Source source;
    source.SetDIB(Dib{frame.constBits(), 8, 4, frame.bytesPerLine()});
    frame.fill(QColor(200, 200, 200));
    EXPECT_EQ(source.takeFrame().pixelColor(7, 3), QColor(1, 2, 3));
    Source broken;
    broken.SetDIB(Dib{frame.constBits(), 8, 4, 5}); // a stride shorter than a row
    EXPECT_FALSE(broken.hasFrame());
}

TEST_F(ConverterTest, SourceCopiesIntoASpareBufferOnlyWhenItFitsAndIsItsOwn) {
    QImage frame(8, 4, QImage::Format_BGR888);
    frame.fill(QColor(1, 2, 3));
    const Dib dib{frame.constBits(), 8, 4, frame.bytesPerLine()};
    struct Case {
        const char* what;
        QSize size;
        bool shared;      // another image still holds the spare's pixels
        bool reusedSpare; // the frame lies in the spare's buffer
    };
    const Case cases[] = {
        {"a spare of the frame's size", {8, 4}, false, true},
        {"a spare of another size", {8, 5}, false, false},
        {"a spare another image shares", {8, 4}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QImage spare(c.size, QImage::Format_BGR888);
        spare.fill(QColor(9, 9, 9));
        const QImage holder = c.shared ? spare : QImage();
        const std::uint8_t* spareBits = spare.constBits();
        Source source;
        source.reuse(std::move(spare));
        source.SetDIB(dib);
        const QImage taken = source.takeFrame();
        EXPECT_EQ(taken.size(), QSize(8, 4));
        EXPECT_EQ(taken.pixelColor(7, 3), QColor(1, 2, 3));
        EXPECT_EQ(taken.constBits() == spareBits, c.reusedSpare);
        if (c.shared) {
            EXPECT_EQ(holder.pixelColor(7, 3), QColor(9, 9, 9)); // left as it was
        }
    }
    // An unused spare is no frame.
    Source idle;
    idle.reuse(QImage(8, 4, QImage::Format_BGR888));
    EXPECT_FALSE(idle.hasFrame());
}

TEST_F(ConverterTest, AbortFromAProgressNotificationFinishesAPlayableFile) {
    const auto out = file("aborted.mpg");
    Converter converter;
    prepare(converter, videoFormat("svcd"), out, {});
    FrameFeeder feeder(480, 576, 1000);
    converter.AssignVideoSource(std::ref(feeder));
    converter.AssignProgress([&](Converter& c, int stage, std::int64_t position) {
        if (stage == 3 && position == 12)
            c.Abort();
    });
    converter.Convert();
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(feeder.sent_, 12);
    ASSERT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(streamOf(probe(out), "video")["nb_read_frames"].toString().toInt(), 12);
}

TEST_F(ConverterTest, ExceptionFromACallbackLeavesConvertWithoutAFile) {
    const auto out = file("thrown.mpg");
    Converter converter;
    prepare(converter, videoFormat("dvd"), out, {});
    FrameFeeder feeder(720, 576, 1000);
    converter.AssignVideoSource([&](Source& source) {
        if (feeder.sent_ == 20)
            throw std::runtime_error("picture P3.jpg cannot be read");
        feeder(source);
    });
    EXPECT_THROW(converter.Convert(), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ConverterTest, UnreadableSongIsReportedAndTheAnswerDecides) {
    const auto song = file("song.mp3"), broken = file("broken.mp3");
    makeSong(song, 0.5);
    std::filesystem::copy_file(song, broken);
    std::filesystem::resize_file(broken, 0);
    for (int answer : {2, 0}) {
        SCOPED_TRACE(answer);
        const auto out = file(answer == 2 ? "refused.mpg" : "skipped.mpg");
        Converter converter;
        prepare(converter, videoFormat("vcd"), out, {broken, song});
        converter.AssignError([&](Converter&, const std::string& message, int& reply) {
            errors_.push_back(message);
            reply = answer;
        });
        FrameFeeder feeder(320, 288, 10);
        converter.AssignVideoSource(std::ref(feeder));
        errors_.clear();
        converter.Convert();
        ASSERT_EQ(errors_.size(), 1u);
        EXPECT_NE(errors_[0].find("broken.mp3"), std::string::npos) << errors_[0];
        EXPECT_EQ(std::filesystem::exists(out), answer != 2);
    }
}

// Mean absolute level of the decoded sound of `file` between two times, in 16-bit units.
double soundLevel(const std::filesystem::path& path, double from, double to) {
    std::string raw;
    runCommand("ffmpeg -v error -i " + shellQuoted(path) + " -vn -ac 1 -f s16le -", &raw);
    const auto* samples = reinterpret_cast<const std::int16_t*>(raw.data());
    const std::size_t count = raw.size() / 2;
    const auto first = std::min(count, static_cast<std::size_t>(from * 44100));
    const auto last = std::min(count, static_cast<std::size_t>(to * 44100));
    double sum = 0;
    for (std::size_t i = first; i < last; ++i)
        sum += std::abs(static_cast<int>(samples[i]));
    return last > first ? sum / static_cast<double>(last - first) : 0;
}

TEST_F(ConverterTest, LongerSoundTrackIsCutWithAFadeAndAShorterOneEndsInSilence) {
    const auto longSong = file("long.mp3"), shortSong = file("short.mp3");
    makeSong(longSong, 10.0);
    makeSong(shortSong, 1.0);
    struct Case {
        std::filesystem::path song;
        double loudFrom, loudTo, quietFrom, quietTo;
    } cases[] = {
        {longSong, 0.5, 1.5, 3.9, 4.0},  // full level before the last two seconds, nearly silent at the end
        {shortSong, 0.2, 0.8, 1.5, 4.0}, // silence after the song
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.song.filename().string());
        const auto out = file(("sound-" + c.song.stem().string() + ".mpg").c_str());
        Converter converter;
        prepare(converter, videoFormat("vcd"), out, {c.song});
        FrameFeeder feeder(320, 288, 100); // four seconds
        converter.AssignVideoSource(std::ref(feeder));
        converter.Convert();
        const QJsonObject audio = streamOf(probe(out), "audio");
        EXPECT_NEAR(audio["nb_read_frames"].toString().toDouble() * 1152 / 44100, 4.0, 0.03);
        const double loud = soundLevel(out, c.loudFrom, c.loudTo);
        EXPECT_GT(loud, 1000);
        EXPECT_LT(soundLevel(out, c.quietFrom, c.quietTo), loud / 20);
    }
    // Halfway through the fade the level is about half.
    const double full = soundLevel(file("sound-long.mpg"), 0.5, 1.5);
    EXPECT_NEAR(soundLevel(file("sound-long.mpg"), 2.9, 3.1) / full, 0.5, 0.1);
}

TEST_F(ConverterTest, VcdFramesSitBetweenBlackBars) {
    const auto out = file("bars.mpg");
    Converter converter;
    prepare(converter, videoFormat("vcd"), out, {});
    QImage white(320, 288, QImage::Format_BGR888);
    white.fill(Qt::white);
    int sent = 0;
    converter.AssignVideoSource([&](Source& source) {
        source.SetDIB(Dib{white.constBits(), 320, 288, white.bytesPerLine()});
        if (++sent == 5)
            source.Finished();
    });
    converter.Convert();
    std::string raw;
    runCommand("ffmpeg -v error -i " + shellQuoted(out) + " -frames:v 1 -f rawvideo -pix_fmt gray -", &raw);
    ASSERT_EQ(raw.size(), 352u * 288u);
    for (int y : {0, 144, 287}) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(raw.data()) + y * 352;
        for (int x : {0, 8, 14, 337, 343, 351})
            EXPECT_LT(row[x], 40) << x << "," << y;
        for (int x : {18, 100, 176, 333})
            EXPECT_GT(row[x], 215) << x << "," << y;
    }
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
