// The slideshow timeline: hold frames, frame counts and phases, the first and the final frame,
// titles, effect choice, background fallback, softening and unreadable pictures, driven
// through the video source as the converter drives it.

#include "production/compose.h"
#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "production/picture_reader.h"
#include "production_fixture.h"

#include <set>
#include <string_view>

namespace vistello::production {
namespace {

using vistello::testing::makeAlbum;
using vistello::testing::PictureSpec;

int differingPixels(const effects::Bitmap& a, const effects::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += !(a.pixel(x, y) == b.pixel(x, y));
    return count;
}

class TimelineTest : public ::testing::Test {
  protected:
    std::filesystem::path root() const { return dir_.path().toStdString(); }

    struct Frames {
        std::size_t count = 0;
        std::vector<effects::Bitmap> first; // the first 200 frames
        effects::Bitmap beforeLast, last;
        std::size_t size() const { return count; }
        const effects::Bitmap& operator[](std::size_t i) const { return first.at(i); }
        const effects::Bitmap& back() const { return last; }
    };

    // Requests frames the way the converter does (one notification between two requests)
    // until the end is reported.
    Frames drive(store::AlbumStore& album, const ProductionSettings& settings, bool early,
                 std::vector<QString>* titles = nullptr, int extraRequests = 0) {
        RunState state;
        prepareRunState(state, album, settings);
        FrameGenerator generator(state, album, settings);
        Frames frames;
        if (early)
            ++state.FrameCounter;
        for (int guard = 0; guard < 100000; ++guard) {
            Source source;
            generator.VideoSourceProc(source);
            QImage frame = source.takeFrame();
            effects::Bitmap bitmap(frame.width(), frame.height());
            for (int y = 0; y < frame.height(); ++y)
                std::memcpy(bitmap.row(y), frame.constScanLine(y),
                            static_cast<std::size_t>(frame.width()) * 3);
            ++frames.count;
            if (frames.first.size() < 200)
                frames.first.push_back(bitmap);
            frames.beforeLast = std::exchange(frames.last, std::move(bitmap));
            if (titles)
                titles->push_back(state.CurTitle);
            if (source.finished())
                break;
            ++state.FrameCounter;
        }
        for (int i = 0; i < extraRequests; ++i) {
            Source source;
            generator.VideoSourceProc(source);
            EXPECT_TRUE(source.finished());
            EXPECT_TRUE(source.hasFrame());
            EXPECT_EQ(state.MakePicIndex, album.PicCount());
        }
        lastEffect_ = state.CurEffect;
        return frames;
    }

    QTemporaryDir dir_;
    int lastEffect_ = 0;
};

TEST_F(TimelineTest, HoldFramesFollowStayTimeOrTheMusic) {
    store::AlbumStore album(root());
    for (int stay : {3, 0, 10, 1})
        album.PicList.push_back([&] {
            store::TPicInfo p;
            p.StayTime = stay;
            return p;
        }());
    album.MusicList.resize(2);
    album.MusicList[0].PlayTime = 60;
    album.MusicList[1].PlayTime = 40;
    EXPECT_EQ(computeHoldFrames(album, false), (std::vector<int>{75, 0, 250, 25}));
    // (100 − 2 × 4) × 25 div 4 = 575 for every picture; TotalFrames 51 × 4 + 2300 = 2504.
    EXPECT_EQ(computeHoldFrames(album, true), (std::vector<int>{575, 575, 575, 575}));
    RunState state;
    ProductionSettings settings;
    settings.synchronise = true;
    prepareRunState(state, album, settings);
    EXPECT_EQ(state.TotalHoldFrames, 2300);
    EXPECT_EQ(state.TotalFrames, 2504);
    // Records from elsewhere may hold negative times; they hold for no frame.
    album.PicList[1].StayTime = -7;
    EXPECT_EQ(computeHoldFrames(album, false)[1], 0);
}

TEST(TimelineTime, TransitionsLastTwoSecondsWithProgressSpreadOver2To100) {
    const struct {
        Rational rate;
        int steps;
    } rates[] = {{{25, 1}, 50}, {{30, 1}, 60}, {{30000, 1001}, 60}, {{50, 1}, 100}, {{60, 1}, 120}};
    for (const auto& r : rates) {
        SCOPED_TRACE(r.rate.num);
        ASSERT_EQ(transitionSteps(r.rate), r.steps);
        EXPECT_EQ(transitionProgress(1, r.steps), 2);
        EXPECT_EQ(transitionProgress(r.steps, r.steps), 100);
        for (int k = 2; k <= r.steps; ++k) {
            const int previous = transitionProgress(k - 1, r.steps), now = transitionProgress(k, r.steps);
            EXPECT_GE(now, previous);
            EXPECT_LE(now - previous, 2);
        }
    }
    // At 25 frames a second the original steps: progress 2 × k.
    for (int k = 1; k <= 50; ++k)
        EXPECT_EQ(transitionProgress(k, 50), 2 * k);
    EXPECT_EQ(transitionProgress(1, 100), 2);
    EXPECT_EQ(transitionProgress(51, 100), 51);
    EXPECT_EQ(framesOfSeconds(5, {30000, 1001}), 150); // 149.85
    EXPECT_EQ(framesOfSeconds(3, {25, 1}), 75);
}

TEST_F(TimelineTest, HoldFramesAndSynchronisationUseTheFormatsRate) {
    store::AlbumStore album(root());
    for (int stay : {3, 0, 10, 1})
        album.PicList.push_back([&] {
            store::TPicInfo p;
            p.StayTime = stay;
            return p;
        }());
    album.MusicList.resize(1);
    album.MusicList[0].PlayTime = 100;
    EXPECT_EQ(computeHoldFrames(album, false, {30, 1}), (std::vector<int>{90, 0, 300, 30}));
    EXPECT_EQ(computeHoldFrames(album, false, {30000, 1001}), (std::vector<int>{90, 0, 300, 30}));
    EXPECT_EQ(computeHoldFrames(album, false, {50, 1}), (std::vector<int>{150, 0, 500, 50}));
    // (100 − 2 × 4) seconds over 4 pictures: 23 seconds each, 690 frames at 30, 1150 at 50.
    EXPECT_EQ(computeHoldFrames(album, true, {30, 1}), (std::vector<int>{690, 690, 690, 690}));
    EXPECT_EQ(computeHoldFrames(album, true, {50, 1}), (std::vector<int>{1150, 1150, 1150, 1150}));
    EXPECT_EQ(computeHoldFrames(album, true, {30000, 1001})[0], 689); // 689.3
    const struct {
        const char* format;
        Rational rate;
        std::int64_t totalFrames;
    } cases[] = {
        {"vcd", {25, 1}, 51 * 4 + 575 * 4},      // the original timeline: 2504
        {"mp4-720p", {25, 1}, 51 * 4 + 575 * 4}, // the same at 25 in MP4
        {"mp4-720p", {30, 1}, 61 * 4 + 690 * 4}, // 60 steps and the picture whole
        {"mp4-720p", {50, 1}, 101 * 4 + 1150 * 4}, {"dvd-ntsc", {0, 1}, 61 * 4 + 689 * 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        ProductionSettings settings;
        settings.format = &videoFormat(c.format);
        settings.encode.rate = c.rate;
        settings.synchronise = true;
        RunState state;
        prepareRunState(state, album, settings);
        EXPECT_EQ(state.TotalFrames, c.totalFrames);
    }
}

// Drives a one-picture album at a rate without keeping frames (the MP4 frames are large):
// counts them and compares the last transition step and the final frame with the picture.
TEST_F(TimelineTest, TransitionEndsInTheNewPictureAtEveryRate) {
    store::AlbumStore album(root());
    makeAlbum(album, {{200, 100, QColor(200, 100, 50), 1, 1}}, {});
    const struct {
        const char* format;
        Rational rate;
        int steps, hold;
    } cases[] = {
        {"vcd", {25, 1}, 50, 25},       {"vcd-ntsc", {0, 1}, 60, 30},   {"mp4-720p", {30, 1}, 60, 30},
        {"mp4-720p", {50, 1}, 100, 50}, {"mp4-720p", {60, 1}, 120, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " at " + std::to_string(c.rate.num));
        ProductionSettings settings;
        settings.format = &videoFormat(c.format);
        settings.encode.rate = c.rate;
        RunState state;
        prepareRunState(state, album, settings);
        FrameGenerator generator(state, album, settings);
        const VideoFormat& format = *settings.format;
        effects::Bitmap expected(format.composeWidth, format.composeHeight);
        ComposePicture(readPictureFile(album.AlbumPath() / "P0.jpg"), QImage(), 0, expected);
        const auto same = [&](const QImage& frame) {
            for (int y = 0; y < frame.height(); ++y)
                if (std::memcmp(frame.constScanLine(y), expected.row(y),
                                static_cast<std::size_t>(frame.width()) * 3) != 0)
                    return false;
            return true;
        };
        ++state.FrameCounter; // the converter's notification before the first frame
        int frames = 0;
        bool halfwayShowsThePicture = true, lastStepShowsThePicture = false, finalShowsThePicture = false;
        for (int guard = 0; guard < 1000; ++guard) {
            Source source;
            generator.VideoSourceProc(source);
            const QImage frame = source.takeFrame();
            ASSERT_EQ(frame.size(), QSize(format.composeWidth, format.composeHeight));
            if (frames == c.steps / 2)
                halfwayShowsThePicture = same(frame);
            if (frames == c.steps)
                lastStepShowsThePicture = same(frame);
            ++frames;
            if (source.finished()) {
                finalShowsThePicture = same(frame);
                break;
            }
            ++state.FrameCounter;
        }
        // Phase 0, the steps, the picture whole, its hold of one second, and the end.
        EXPECT_EQ(frames, 1 + c.steps + 1 + (c.hold - 1) + 1);
        EXPECT_EQ(state.TotalFrames + 1, frames);
        EXPECT_FALSE(halfwayShowsThePicture);
        EXPECT_TRUE(lastStepShowsThePicture);
        EXPECT_TRUE(finalShowsThePicture);
    }
}

// Shreds reveal more the more steps draw a random edge, so at 50 frames a second they are drawn
// on the 50-step schedule of 25: with the same random draws, step 2k − 1 at 50 shows what step
// k shows at 25, and step 2k repeats it. A slide draws every one of its 100 steps.
TEST_F(TimelineTest, RandomEdgesLookTheSameAtEveryRate) {
    store::AlbumStore album(root());
    makeAlbum(album, {{200, 100, QColor(200, 100, 50), 0, 47}}, {});
    const auto checksums = [&](int fps, int effect) {
        album.PicList[0].Effect = effect;
        ProductionSettings settings;
        settings.format = &videoFormat("mp4-720p");
        settings.encode.rate = {fps, 1};
        RunState state;
        prepareRunState(state, album, settings);
        FrameGenerator generator(state, album, settings);
        effects::ClockRandom random(7);
        generator.setRandomSource(&random);
        ++state.FrameCounter;
        std::vector<std::size_t> sums;
        for (int guard = 0; guard < 1000; ++guard) {
            Source source;
            generator.VideoSourceProc(source);
            const QImage frame = source.takeFrame();
            sums.push_back(std::hash<std::string_view>{}(
                std::string_view(reinterpret_cast<const char*>(frame.constBits()),
                                 static_cast<std::size_t>(frame.sizeInBytes()))));
            if (source.finished())
                break;
            ++state.FrameCounter;
        }
        return sums;
    };
    const std::vector<std::size_t> at25 = checksums(25, 47), at50 = checksums(50, 47);
    ASSERT_EQ(at25.size(), 52u);
    ASSERT_EQ(at50.size(), 102u);
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(at50[static_cast<std::size_t>(2 * k - 1)], at25[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(at50[static_cast<std::size_t>(2 * k)], at25[static_cast<std::size_t>(k)]) << k;
    }
    // A slide moves on at nearly every one of its 100 steps (progress 2..100 has 99 values).
    const std::vector<std::size_t> slide = checksums(50, 2);
    EXPECT_GE(std::set<std::size_t>(slide.begin() + 1, slide.begin() + 101).size(), 95u);
    EXPECT_EQ(std::set<std::size_t>(at50.begin() + 1, at50.begin() + 101).size(), 50u);
}

TEST_F(TimelineTest, SynchronisedAlbumYieldsItsTotalFramesAndTheFinalFrameOnceMore) {
    store::AlbumStore album(root());
    makeAlbum(album, {{64, 48, Qt::red}, {48, 64, Qt::green}, {64, 64, Qt::blue}, {80, 40, Qt::yellow}},
              {1.0});
    album.MusicList[0].PlayTime = 100;
    ProductionSettings settings;
    settings.synchronise = true;
    const auto frames = drive(album, settings, true, nullptr, 2);
    ASSERT_EQ(frames.size(), 2505u);
    EXPECT_EQ(frames.last, frames.beforeLast);
}

TEST_F(TimelineTest, FirstFrameIsPhaseZeroOnlyAfterAnEarlyNotification) {
    store::AlbumStore album(root());
    makeAlbum(album, {{64, 48, Qt::red, 0, 1}}, {});
    const effects::Bitmap black(349, 288); // VCD frames are composed at 349 × 288, square pixels
    // An early notification makes the first frame phase 0 (repeating the black frame);
    // without one, a black phase −1 frame comes first and one more frame is made.
    for (bool early : {true, false}) {
        SCOPED_TRACE(early);
        const auto frames = drive(album, ProductionSettings{}, early);
        ASSERT_EQ(frames.size(), early ? 52u : 53u);
        EXPECT_EQ(frames[0], black);
        if (!early) {
            EXPECT_EQ(frames[1], black) << "phase 0 repeats the black frame";
        }
        EXPECT_NE(frames[early ? 1 : 2], black) << "the first transition step";
    }
}

TEST_F(TimelineTest, OnePictureWithoutHoldIsDrawnByTheLastTransitionStep) {
    store::AlbumStore album(root());
    makeAlbum(album, {{349, 288, QColor(200, 100, 50), 0, 1, "标题一"}}, {1.0});
    std::vector<QString> titles;
    const auto frames = drive(album, ProductionSettings{}, true, &titles);
    // Phases 0 to 50, then the picture once more with the end reported.
    ASSERT_EQ(frames.size(), 52u);
    ASSERT_EQ(frames.first.size(), 52u);
    effects::Bitmap expected(349, 288);
    ComposePicture(readPictureFile(album.AlbumPath() / "P0.jpg"), QImage(), 0, expected);
    EXPECT_EQ(frames[50], expected) << "the fade's step with progress 100 shows the picture";
    EXPECT_EQ(frames.last, expected);
    EXPECT_NE(frames[25], expected);
    EXPECT_EQ(titles.front(), QStringLiteral("标题一")) << "the title changes at phase 0";
}

// These effects leave a few pixels of the old frame at progress 100 at the formats' sizes; a
// picture without hold time is last seen in that step, so the step must show it whole.
TEST_F(TimelineTest, LastTransitionStepShowsExactlyTheNewPictureForEveryEffectAndFormat) {
    for (int effect : {90, 101, 102, 103, 1, 47}) {
        QTemporaryDir own;
        store::AlbumStore album(own.path().toStdString());
        makeAlbum(album, {{90, 60, QColor(30, 160, 220), 0, effect}}, {});
        for (const char* name : {"vcd", "svcd", "dvd"}) {
            SCOPED_TRACE(::testing::Message() << "effect " << effect << ", format " << name);
            const VideoFormat& format = videoFormat(name);
            ProductionSettings settings;
            settings.format = &format;
            settings.colour = 0x0000c0ff; // the margins differ from the black frame before too
            const auto frames = drive(album, settings, true);
            ASSERT_EQ(frames.size(), 52u);
            effects::Bitmap expected(format.composeWidth, format.composeHeight);
            ComposePicture(readPictureFile(album.AlbumPath() / "P0.jpg"), QImage(), settings.colour,
                           expected);
            EXPECT_EQ(differingPixels(frames[50], expected), 0) << "the step with progress 100";
            EXPECT_EQ(differingPixels(frames.back(), expected), 0);
        }
    }
}

TEST_F(TimelineTest, TitleIsEmptyBeforeTheFirstPictureAndChangesAtPhaseZero) {
    store::AlbumStore album(root());
    makeAlbum(album, {{64, 48, Qt::red, 1, 2, "一"}, {64, 48, Qt::blue, 0, 3, "二"}}, {1.0});
    std::vector<QString> titles;
    const auto frames = drive(album, ProductionSettings{}, false, &titles);
    ASSERT_EQ(frames.size(), 1u + 76 + 51 + 1);
    EXPECT_TRUE(titles[0].isEmpty());
    EXPECT_EQ(titles[1], QStringLiteral("一"));
    EXPECT_EQ(titles[76], QStringLiteral("一"));
    EXPECT_EQ(titles[77], QStringLiteral("二"));
}

TEST_F(TimelineTest, TitleIsLightTextWithADarkOutlineOnTheFormatsRow) {
    store::AlbumStore album(root());
    makeAlbum(album, {{64, 48, Qt::red, 0, 1, "春天的花园 Spring"}}, {});
    for (const VideoFormat& format : videoFormats()) {
        SCOPED_TRACE(format.name);
        ProductionSettings settings;
        settings.format = &format;
        RunState state;
        prepareRunState(state, album, settings);
        FrameGenerator generator(state, album, settings);
        state.FrameCounter = 0;
        Source source;
        generator.VideoSourceProc(source); // phase 0: the title is set
        Image image;
        QImage grey(format.composeWidth, format.composeHeight, QImage::Format_BGR888);
        grey.fill(QColor(128, 128, 128));
        image.setImage(grey);
        Converter converter;
        generator.VideoFuncProc(converter, image);
        int light = 0, dark = 0, top = grey.height(), left = grey.width();
        // The title lies below its row; the rows above it are left alone.
        for (int y = std::max(0, format.titleRow - format.titleSize); y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                const QColor c = image.image().pixelColor(x, y);
                if (c == QColor(128, 128, 128))
                    continue;
                top = std::min(top, y);
                left = std::min(left, x);
                light += c.red() >= 215;
                dark += c.red() <= 110;
            }
        // The counts grow with the title's area from the VCD's 50 and 20 at 17 pixels; the
        // thinner strokes of the 14-pixel NTSC VCD title have fewer pixels at full light.
        const int area = format.titleSize * format.titleSize;
        EXPECT_GT(light, format.titleSize < 17 ? 25 : 50 * area / (17 * 17));
        EXPECT_GT(dark, format.titleSize < 17 ? 10 : 20 * area / (17 * 17));
        EXPECT_GE(top, format.titleRow - 2);
        EXPECT_LE(top, format.titleRow + format.titleSize / 3);
        EXPECT_GE(left, format.titleColumn - 2);
        EXPECT_LE(left, format.titleColumn + format.titleSize / 8);
        // The text ends inside the frame: the bottom row keeps some untouched pixels.
        EXPECT_EQ(image.image().pixelColor(grey.width() - 1, grey.height() - 1), QColor(128, 128, 128));
    }
}

TEST_F(TimelineTest, EffectZeroOrOutOfRangeDrawsARandomEffect) {
    for (int effect : {0, -3, 106, 9999}) {
        store::AlbumStore album(root());
        QTemporaryDir own;
        store::AlbumStore fresh(own.path().toStdString());
        makeAlbum(fresh, {{64, 48, Qt::red, 0, effect}}, {});
        drive(fresh, ProductionSettings{}, true);
        EXPECT_GE(lastEffect_, 1) << effect;
        EXPECT_LE(lastEffect_, 105) << effect;
    }
}

TEST_F(TimelineTest, PictureModeWithoutBackgroundsFallsBackToTheColour) {
    store::AlbumStore album(root());
    makeAlbum(album, {{100, 100, Qt::white, 0, 1}}, {});
    ProductionSettings settings;
    settings.background = BackgroundMode::Pictures;
    settings.colour = 0x000000ff; // red
    const auto frames = drive(album, settings, true);
    EXPECT_EQ(frames.back().pixel(0, 0), (effects::Bgr{0, 0, 255}));
}

TEST_F(TimelineTest, PictureModeDrawsATickedBackgroundPicture) {
    store::AlbumStore album(root());
    makeAlbum(album, {{100, 100, Qt::white, 0, 1}}, {});
    std::filesystem::create_directories(root() / "BackPic");
    QImage green(40, 30, QImage::Format_RGB888);
    green.fill(QColor(0, 200, 0));
    ASSERT_TRUE(green.save(QString::fromStdString((root() / "BackPic" / "green.jpg").string()), "JPEG", 95));
    ProductionSettings settings;
    settings.background = BackgroundMode::Pictures;
    settings.colour = 0x000000ff;
    settings.backgroundNames = {"green.jpg", "../escape.jpg"}; // a name with a folder never counts
    RunState state;
    prepareRunState(state, album, settings);
    ASSERT_EQ(state.BackPicFiles.size(), 1u);
    const auto frames = drive(album, settings, true);
    const effects::Bgr corner = frames.back().pixel(0, 0);
    EXPECT_LT(corner.r, 30);
    EXPECT_GT(corner.g, 170);
    EXPECT_EQ(frames.back().pixel(160, 144), (effects::Bgr{255, 255, 255}));
}

TEST_F(TimelineTest, SoftenedHeldFramesKeepChanging) {
    store::AlbumStore album(root());
    makeAlbum(album, {{100, 100, Qt::white, 1, 1}}, {});
    ProductionSettings settings;
    settings.soften = true;
    const auto frames = drive(album, settings, true);
    ASSERT_EQ(frames.size(), 77u);
    EXPECT_NE(frames[60], frames[61]);
    EXPECT_NE(frames[70], frames[71]);
}

TEST_F(TimelineTest, UnreadablePictureEndsTheSourceWithItsName) {
    store::AlbumStore album(root());
    makeAlbum(album, {{64, 48, Qt::red}}, {});
    std::filesystem::resize_file(album.AlbumPath() / "P0.jpg", 10);
    try {
        drive(album, ProductionSettings{}, true);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("P0.jpg"), std::string::npos) << error.what();
    }
}

TEST_F(TimelineTest, EmptyAlbumEndsAtOnceWithABlackFrame) {
    store::AlbumStore album(root());
    const auto frames = drive(album, ProductionSettings{}, true, nullptr, 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], effects::Bitmap(349, 288));
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
