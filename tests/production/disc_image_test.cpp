// Discs ready to burn: the chapter list and dvdauthor project, the DVD-Video folder with a
// chapter at every picture and its ISO image, the BIN/CUE image of VCD and SVCD, and a failing
// tool reported with its message while the video stays.

#include "production/disc_image.h"
#include "production/mcl_converter.h"
#include "production/timeline.h"
#include "production_fixture.h"

#include <QFile>

namespace vistello::production {
namespace {

using vistello::testing::runCommand;
using vistello::testing::shellQuoted;

TEST(DiscImage, ChaptersStartAtEveryPicture) {
    // 3 s, 0 s and 5 s pictures at 25 frames a second: cycles of 126, 51 and 176 frames.
    const std::vector<double> starts = pictureStartSeconds({75, 0, 125}, 50, {25, 1});
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_DOUBLE_EQ(starts[0], 0);
    EXPECT_DOUBLE_EQ(starts[1], 126 / 25.0);
    EXPECT_DOUBLE_EQ(starts[2], 177 / 25.0);
    EXPECT_EQ(dvdChapterList(starts), "0:00:00.000,0:00:05.040,0:00:07.080");
    EXPECT_EQ(dvdChapterList({3725.5}), "1:02:05.500");
    EXPECT_EQ(dvdChapterList({}), "0:00:00.000");
    const QString xml =
        QString::fromUtf8(dvdAuthorXml(videoFormat("dvd-16x9-ntsc"), "/v/a b.mpg", "/v/a b-DVD", starts));
    EXPECT_TRUE(xml.contains(QStringLiteral("<fpc>jump title 1;</fpc>"))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("format=\"ntsc\" aspect=\"16:9\" widescreen=\"nopanscan\"")))
        << xml.toStdString();
    EXPECT_TRUE(
        xml.contains(QStringLiteral("file=\"/v/a b.mpg\" chapters=\"0:00:00.000,0:00:05.040,0:00:07.080\"")))
        << xml.toStdString();
    EXPECT_EQ(dvdFolderFor("/v/Trip.mpg"), std::filesystem::path("/v/Trip-DVD"));
    EXPECT_EQ(isoFor("/v/Trip.mpg"), std::filesystem::path("/v/Trip.iso"));
    EXPECT_EQ(cueFor("/v/Trip.mpg"), std::filesystem::path("/v/Trip.cue"));
}

std::uint32_t bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    return value;
}

// The chapters (parts of title) of the one title of a title set's IFO file.
int chapterCount(const std::filesystem::path& ifo) {
    QFile file(QString::fromStdString(ifo.string()));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const qsizetype table = static_cast<qsizetype>(bigEndian(bytes, 0xC8, 4)) * 2048; // VTS_PTT_SRPT
    if (table + 12 > bytes.size())
        return -1;
    const std::uint32_t end = bigEndian(bytes, table + 4, 4), first = bigEndian(bytes, table + 8, 4);
    return static_cast<int>((end + 1 - first) / 4);
}

class DiscImageTest : public ::testing::Test {
  protected:
    // A short file of `format` (four seconds, one colour a second), as a render writes it.
    std::filesystem::path render(const VideoFormat& format, const char* name) {
        const std::filesystem::path out = std::filesystem::path(dir_.path().toStdString()) / name;
        QImage frame(format.composeWidth, format.composeHeight, QImage::Format_BGR888);
        const int frames = static_cast<int>(4 * format.defaultRate.value());
        Converter converter;
        int sent = 0;
        converter.AssignVideoSource([&](Source& source) {
            frame.fill(QColor::fromHsv(sent * 360 / frames, 200, 200));
            source.SetDIB(Dib{frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine()});
            if (++sent == frames)
                source.Finished();
        });
        converter.VideoSetFileName(out);
        if (format.needsMpeg2)
            converter.EnableMPEG2();
        converter.SetFormat(format);
        converter.Convert();
        EXPECT_TRUE(std::filesystem::exists(out)) << converter.lastError();
        return out;
    }
    QTemporaryDir dir_;
};

TEST_F(DiscImageTest, DvdFolderHasAChapterAtEveryPictureAndAnIsoImage) {
    for (const char* name : {"dvd", "dvd-16x9-ntsc"}) {
        SCOPED_TRACE(name);
        const VideoFormat& format = videoFormat(name);
        const auto video = render(format, (std::string(name) + ".mpg").c_str());
        const DiscImage image = makeDiscImage(format, video, {0.0, 1.0, 2.5});
        ASSERT_TRUE(image.error.empty()) << image.error;
        ASSERT_EQ(image.files, (std::vector<std::filesystem::path>{dvdFolderFor(video), isoFor(video)}));
        const auto videoTs = dvdFolderFor(video) / "VIDEO_TS";
        EXPECT_TRUE(std::filesystem::exists(videoTs / "VIDEO_TS.IFO"));
        EXPECT_TRUE(std::filesystem::exists(videoTs / "VTS_01_1.VOB"));
        EXPECT_EQ(chapterCount(videoTs / "VTS_01_0.IFO"), 3);
        std::string info;
        ASSERT_EQ(runCommand("isoinfo -d -i " + shellQuoted(isoFor(video)), &info), 0);
        EXPECT_NE(info.find("Volume id: VISTELLO"), std::string::npos) << info;
        std::string listing;
        runCommand("isoinfo -f -i " + shellQuoted(isoFor(video)), &listing);
        EXPECT_NE(listing.find("/VIDEO_TS/VTS_01_1.VOB"), std::string::npos) << listing;
        EXPECT_TRUE(std::filesystem::exists(video)) << "the video stays";
    }
}

TEST_F(DiscImageTest, VcdAndSvcdBecomeBinCueImages) {
    for (const char* name : {"vcd", "svcd-ntsc"}) {
        SCOPED_TRACE(name);
        const VideoFormat& format = videoFormat(name);
        const auto video = render(format, (std::string(name) + ".mpg").c_str());
        const DiscImage image = makeDiscImage(format, video, {});
        ASSERT_TRUE(image.error.empty()) << image.error;
        ASSERT_EQ(image.files, (std::vector<std::filesystem::path>{binFor(video), cueFor(video)}));
        EXPECT_GT(std::filesystem::file_size(binFor(video)), std::filesystem::file_size(video));
        QFile cue(QString::fromStdString(cueFor(video).string()));
        ASSERT_TRUE(cue.open(QIODevice::ReadOnly));
        const QByteArray text = cue.readAll();
        EXPECT_TRUE(text.contains(QByteArray::fromStdString(binFor(video).filename().string())))
            << text.toStdString();
        EXPECT_TRUE(text.contains("MODE2/2352")) << text.toStdString();
    }
}

TEST_F(DiscImageTest, FailingToolIsReportedWithItsMessageAndTheVideoStays) {
    const VideoFormat& dvd = videoFormat("dvd");
    const auto video = render(dvd, "taken.mpg");
    std::filesystem::create_directories(dvdFolderFor(video) / "mine");
    DiscImage image = makeDiscImage(dvd, video, {0.0});
    EXPECT_NE(image.error.find("exists already"), std::string::npos) << image.error;
    EXPECT_TRUE(std::filesystem::exists(dvdFolderFor(video) / "mine"))
        << "a folder of the user's is not touched";
    // vcdimager refuses a file that is no MPEG stream.
    const auto broken = std::filesystem::path(dir_.path().toStdString()) / "broken.mpg";
    {
        QFile file(QString::fromStdString(broken.string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, 'x'));
    }
    image = makeDiscImage(videoFormat("vcd"), broken, {});
    EXPECT_EQ(image.error.rfind("vcdimager: ", 0), 0u) << image.error;
    EXPECT_TRUE(image.files.empty());
    EXPECT_TRUE(std::filesystem::exists(broken));
    image = makeDiscImage(videoFormat("mp4-720p"), video, {});
    EXPECT_FALSE(image.error.empty());
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
