// Pictures that move, as the video source renders them: a linear motion advances by the same
// sub-pixel step every frame (phase correlation), transitions with motion show each picture
// whole at its place (no tearing), a face stays inside every frame of its automatic motion,
// and the automatic choice is kept in the album folder and made again when that file is
// damaged.

#include "motion/face_finder.h"
#include "motion/framing_cache.h"
#include "motion/grey_copy.h"
#include "motion/motion_path.h"
#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "production/moving_picture.h"
#include "production/transition_mask.h"
#include "production_fixture.h"
#include "store/album_names.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <sstream>

namespace vistello::production {
namespace {

// A smooth random texture: noise on a coarse grid, enlarged smoothly, so that a shift of a
// fraction of a pixel shows and phase correlation finds it.
QImage texture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    QImage coarse(width / 8, height / 8, QImage::Format_RGB888);
    for (int y = 0; y < coarse.height(); ++y)
        for (int x = 0; x < coarse.width(); ++x) {
            const int v = static_cast<int>(random() % 256);
            coarse.setPixelColor(x, y, QColor(v, (v * 7 + seed * 50) % 256, 255 - v));
        }
    return coarse.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

effects::Bitmap bitmapOf(const QImage& frame) {
    effects::Bitmap bitmap(frame.width(), frame.height());
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(bitmap.row(y), frame.constScanLine(y), static_cast<std::size_t>(frame.width()) * 3);
    return bitmap;
}

cv::Mat greyOf(const effects::Bitmap& frame) {
    cv::Mat grey(frame.height(), frame.width(), CV_64F);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const effects::Bgr p = frame.pixel(x, y);
            grey.at<double>(y, x) = 0.114 * p.b + 0.587 * p.g + 0.299 * p.r;
        }
    return grey;
}

// How far the content of `b` lies from that of `a`, in pixels, by phase correlation: the phase
// of their cross-power spectrum is the plane 2π (u dx / W + v dy / H) for a translation, fitted
// over the low frequencies (weighted by the spectrum's strength). Both are windowed first, so
// what enters and leaves at the edges counts little. Exact to small fractions of a pixel,
// unlike the correlation peak, which leans towards whole pixels.
cv::Point2d phaseShift(const cv::Mat& a, const cv::Mat& b) {
    cv::Mat window;
    cv::createHanningWindow(window, a.size(), CV_64F);
    cv::Mat fa, fb;
    cv::dft(a.mul(window), fa, cv::DFT_COMPLEX_OUTPUT);
    cv::dft(b.mul(window), fb, cv::DFT_COMPLEX_OUTPUT);
    // From 4 to 48 cycles a frame: below, the window's own spectrum pulls towards no shift;
    // above, the phase of a shift of a pixel would come near wrapping.
    constexpr int kLow = 4, kReach = 48;
    double xx = 0, xy = 0, yy = 0, xp = 0, yp = 0;
    for (int v = -kReach; v <= kReach; ++v)
        for (int u = -kReach; u <= kReach; ++u) {
            if (std::abs(u) < kLow && std::abs(v) < kLow)
                continue;
            const cv::Vec2d p = fa.at<cv::Vec2d>((v + a.rows) % a.rows, (u + a.cols) % a.cols);
            const cv::Vec2d q = fb.at<cv::Vec2d>((v + a.rows) % a.rows, (u + a.cols) % a.cols);
            const std::complex<double> c =
                std::complex<double>(p[0], p[1]) * std::conj(std::complex<double>(q[0], q[1]));
            const double w = std::abs(c), phase = std::arg(c);
            const double x = 2 * M_PI * u / a.cols, y = 2 * M_PI * v / a.rows;
            xx += w * x * x;
            xy += w * x * y;
            yy += w * y * y;
            xp += w * x * phase;
            yp += w * y * phase;
        }
    const double det = xx * yy - xy * xy;
    return {(xp * yy - yp * xy) / det, (yp * xx - xp * xy) / det};
}

class MotionFramesTest : public ::testing::Test {
  protected:
    std::filesystem::path folder() const { return album_->AlbumPath(); }

    // An album of the given pictures (PNG files P0.png ...), each with its stay time, effect
    // and motion.
    struct Picture {
        QImage image;
        int stay, effect;
        store::PictureMotion motion;
    };
    void makeAlbum(const std::vector<Picture>& pictures) {
        album_ = std::make_unique<store::AlbumStore>(dir_.path().toStdString());
        album_->LoadInfo("A");
        store::createAlbum(*album_, "Moving " + std::to_string(++albums_));
        album_->openAlbum(album_->AlbumCount() - 1);
        store::MotionTable motions;
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const std::string name = "P" + std::to_string(i) + ".png";
            ASSERT_TRUE(pictures[i].image.save(QString::fromStdString((folder() / name).string()), "PNG"));
            store::TPicInfo record;
            record.StayTime = pictures[i].stay;
            record.Effect = pictures[i].effect;
            record.FileName.setText(name);
            album_->PicList.push_back(record);
            ASSERT_TRUE(motions.set(name, pictures[i].motion));
        }
        album_->SaveInfo("P");
        motions.save(folder(), album_->PicList);
    }

    // Every frame until the end, requested as the converter requests them (one notification
    // before the first frame, then one between two requests); `stored`: moving frames at the
    // stored size, as the render draws them.
    std::vector<effects::Bitmap> render(const ProductionSettings& settings,
                                        std::vector<std::int64_t>* spans = nullptr, bool stored = false) {
        RunState state;
        prepareRunState(state, *album_, settings);
        FrameGenerator generator(state, *album_, settings);
        if (stored)
            generator.drawMovingAtStoredSize();
        effects::ClockRandom random(3);
        generator.setRandomSource(&random);
        if (spans) {
            spans->clear();
            for (int i = 0; i < album_->PicCount(); ++i)
                spans->push_back(generator.spanOf(i));
        }
        std::vector<effects::Bitmap> frames;
        ++state.FrameCounter;
        for (int guard = 0; guard < 5000; ++guard) {
            Source source;
            generator.VideoSourceProc(source);
            frames.push_back(bitmapOf(source.takeFrame()));
            if (source.finished())
                break;
            ++state.FrameCounter;
        }
        return frames;
    }

    // A custom rectangle of the VCD frame's shape (349 × 288) on a width × height picture.
    static store::MotionRect frameShaped(double x, double y, double width, int pictureWidth,
                                         int pictureHeight) {
        return {x, y, width, width * pictureWidth / pictureHeight * 288.0 / 349.0};
    }

    // An album of one 1600 × 1200 picture held 2 s, panning linearly by 5 % of its width from
    // `start` to `end`.
    struct Pan {
        store::MotionRect start, end;
    };
    Pan makePanningAlbum() {
        const store::MotionRect start = frameShaped(0.20, 0.2, 0.5, 1600, 1200);
        store::MotionRect end = start;
        end.x = 0.25;
        makeAlbum({{texture(1600, 1200, 1), 2, 4,
                    store::PictureMotion::custom(start, end, store::Easing::Linear)}});
        return {start, end};
    }

    // Two motions of 800 × 600 pictures, a linear pan and an easing zoom, and the transition
    // tests' album of two pictures moving so, with `effect` between them.
    static store::PictureMotion firstMotion() {
        return store::PictureMotion::custom(frameShaped(0.0, 0.0, 0.8, 800, 600),
                                            frameShaped(0.2, 0.1, 0.7, 800, 600), store::Easing::Linear);
    }
    static store::PictureMotion secondMotion() {
        return store::PictureMotion::custom(frameShaped(0.3, 0.1, 0.6, 800, 600),
                                            frameShaped(0.0, 0.0, 0.9, 800, 600), store::Easing::EaseIn);
    }
    void makeTwoMovingPictures(int effect) {
        makeAlbum(
            {{texture(800, 600, 2), 1, 1, firstMotion()}, {texture(800, 600, 3), 0, effect, secondMotion()}});
    }

    // Picture `index` of the album prepared alone for the VCD frame, as the generator prepares it.
    PreparedPicture preparedAlone(int index, const store::PictureMotion& motion,
                                  const std::vector<std::int64_t>& spans) const {
        PictureJob job;
        job.picture = folder() / ("P" + std::to_string(index) + ".png");
        job.frameWidth = 349;
        job.frameHeight = 288;
        job.motion = motion;
        job.span = spans[static_cast<std::size_t>(index)];
        return PreparedPicture::prepare(job);
    }

    QTemporaryDir dir_;
    std::unique_ptr<store::AlbumStore> album_;
    int albums_ = 0;
};

// A linear pan of 5 % of the picture over a 2-second hold: 0.05 ÷ 0.5 × 349 ÷ 99 = 0.3525 frame
// pixels a frame, from the first frame the picture shows whole to its last.
TEST_F(MotionFramesTest, LinearMotionAdvancesByTheSameSubPixelStepEveryFrame) {
    const auto [start, end] = makePanningAlbum();
    ProductionSettings settings;
    std::vector<std::int64_t> spans;
    const auto frames = render(settings, &spans);
    ASSERT_EQ(frames.size(), 1u + 50 + 50 + 1);
    ASSERT_EQ(spans, (std::vector<std::int64_t>{99}));
    const double expected = (end.x - start.x) / start.width * 349 / 99.0;
    // Frames 50 (the last transition step shows the picture whole) to 100 (the last phase).
    for (std::size_t i = 50; i < 100; ++i) {
        SCOPED_TRACE(i);
        const cv::Point2d shift = phaseShift(greyOf(frames[i]), greyOf(frames[i + 1]));
        EXPECT_NEAR(-shift.x, expected, 0.05); // the picture moves left as the rectangle moves right
        EXPECT_NEAR(shift.y, 0, 0.05);
    }
    EXPECT_TRUE(frames.back() == frames[frames.size() - 2]) << "the final frame is the last one again";
}

// During a transition where both pictures move, every pixel shows one of the two pictures as
// it is rendered alone at that moment: the new one where the effect (drawn into a black and
// white mask) has revealed it, the old one elsewhere.
TEST_F(MotionFramesTest, TransitionsWithMotionShowEachPictureWholeAtItsPlace) {
    const int effects[] = {4 /* reveal from left */, 2 /* slide in from right */, 47 /* random edges */};
    for (const int effect : effects) {
        SCOPED_TRACE(effect);
        makeTwoMovingPictures(effect);
        ProductionSettings settings;
        std::vector<std::int64_t> spans;
        const auto frames = render(settings, &spans);
        ASSERT_EQ(frames.size(), 1u + 50 + 25 + 1 + 50 + 1);
        // The pictures alone, prepared as the generator prepares them.
        const PreparedPicture old = preparedAlone(0, firstMotion(), spans);
        const PreparedPicture next = preparedAlone(1, secondMotion(), spans);
        effects::Bitmap mask(349, 288), white(349, 288), oldFrame(349, 288), newFrame(349, 288);
        white.fill({255, 255, 255});
        effects::ClockRandom random(3); // the generator's, which the fixed effects draw nothing from
        int revealedBefore = -1;
        for (int step = 1; step < 50; ++step) {
            SCOPED_TRACE(step);
            effects::FindEffect(effect)->Proc(mask, white, {0, 0, 349, 288}, 5, 2 * step, random);
            old.render(50 + 25 + step, oldFrame); // steps + hold + phase
            next.render(step - 1, newFrame);
            const effects::Bitmap& frame = frames[static_cast<std::size_t>(1 + 50 + 25 + step)];
            int revealed = 0, wrong = 0;
            for (int y = 0; y < 288; ++y)
                for (int x = 0; x < 349; ++x) {
                    const bool isNew = mask.pixel(x, y).g == 255;
                    revealed += isNew;
                    wrong += !(frame.pixel(x, y) == (isNew ? newFrame : oldFrame).pixel(x, y));
                }
            EXPECT_EQ(wrong, 0);
            EXPECT_GE(revealed, revealedBefore);
            revealedBefore = revealed;
        }
        EXPECT_GT(revealedBefore, 0);
    }
}

// The automatic motion of a picture with a face keeps the face inside the frame from the first
// frame to the last: on the way the render used (kept in the album folder), and on the frames
// themselves, where the detector still finds it whole.
TEST_F(MotionFramesTest, AutomaticMotionKeepsTheFaceInEveryFrame) {
    motion::CascadeFaceFinder finder;
    ASSERT_TRUE(finder.available()) << "the OpenCV cascades of opencv-data";
    const QImage face(QStringLiteral(VISTELLO_TEST_DATA "/astronaut_face.jpg"));
    ASSERT_FALSE(face.isNull());
    const std::vector<store::MotionRect> faces = finder.findFaces(motion::greyCopy(face));
    ASSERT_FALSE(faces.empty());
    makeAlbum({{face.convertToFormat(QImage::Format_RGB888), 3, 1, store::PictureMotion{}}});
    ProductionSettings settings;
    settings.format = &videoFormat("dvd");
    settings.motion = true;
    std::vector<std::int64_t> spans;
    const auto frames = render(settings, &spans);

    const motion::FramingCache kept(folder());
    ASSERT_EQ(kept.size(), 1u);
    const auto entries = motion::FramingCache::parse([&] {
        std::ifstream in(folder() / motion::kFramingCacheFileName);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }());
    ASSERT_TRUE(entries && entries->size() == 1);
    const motion::MotionPath path = entries->front().path;
    EXPECT_NE(path.start, path.end) << "it moves";
    for (std::int64_t k = 0; k <= spans[0]; ++k) {
        const store::MotionRect r =
            motion::rectAt(path.start, path.end, path.easing, static_cast<double>(k) / spans[0]);
        for (const store::MotionRect& f : faces) {
            EXPECT_LE(r.x, f.x + 1e-9) << k;
            EXPECT_LE(r.y, f.y + 1e-9) << k;
            EXPECT_GE(r.x + r.width, f.x + f.width - 1e-9) << k;
            EXPECT_GE(r.y + r.height, f.y + f.height - 1e-9) << k;
        }
    }
    // The frames: from the first one the picture shows whole to the last, every 15th.
    for (std::size_t i = 50; i < frames.size(); i += 15) {
        SCOPED_TRACE(i);
        const effects::Bitmap& frame = frames[i];
        QImage image(frame.data(), frame.width(), frame.height(), frame.stride(), QImage::Format_BGR888);
        const auto found = finder.findFaces(motion::greyCopy(image));
        ASSERT_FALSE(found.empty());
        for (const store::MotionRect& f : found) {
            EXPECT_GT(f.x, 0);
            EXPECT_GT(f.y, 0);
            EXPECT_LT(f.x + f.width, 1);
            EXPECT_LT(f.y + f.height, 1);
        }
    }
}

// The automatic choice is made once and kept: a second render takes it from the album folder
// (a different kept way shows in the frames), and a damaged file is chosen again and rewritten.
TEST_F(MotionFramesTest, AutomaticChoiceIsKeptAndADamagedFileIsChosenAgain) {
    makeAlbum({{texture(320, 240, 4), 1, 1, store::PictureMotion{}}, {texture(240, 320, 5), 0, 1, {}}});
    ProductionSettings settings;
    settings.motion = true;
    const auto first = render(settings);
    const auto file = folder() / motion::kFramingCacheFileName;
    // The kept choices as sorted lines: the two pictures are chosen on threads of their own,
    // in either order.
    const auto read = [&] {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const auto linesOf = [](const std::string& text) {
        std::istringstream in(text);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const std::string keptText = [&] {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    const auto kept = linesOf(keptText);
    const auto entries = motion::FramingCache::parse(keptText);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_FALSE(store::isMediaFileName(motion::kFramingCacheFileName)) << "no record can name it";
    EXPECT_TRUE(render(settings) == first) << "the same album renders the same video";

    // A kept way is taken as it is: the whole picture, still.
    auto changed = *entries;
    auto& p0 = *std::find_if(changed.begin(), changed.end(),
                             [](const auto& e) { return e.key.fileName == "P0.png"; });
    p0.path.start = p0.path.end = motion::largestRect(320, 240, 349.0 / 288.0);
    {
        std::ofstream out(file, std::ios::trunc);
        out << motion::FramingCache::serialise(changed);
    }
    const auto still = render(settings);
    EXPECT_TRUE(still[60] == still[70]) << "the kept way does not move";
    EXPECT_FALSE(still[60] == first[60]);
    EXPECT_EQ(read(), linesOf(motion::FramingCache::serialise(changed))) << "nothing chosen again";

    // Damaged (and, below, stale) files only mean choosing again.
    for (const std::string& damage : {std::string("Vistello framing 1\nP0.png 12 x\n"),
                                      std::string("\x01\x02"), keptText.substr(0, keptText.size() / 2 + 1)}) {
        {
            std::ofstream out(file, std::ios::trunc | std::ios::binary);
            out << damage;
        }
        EXPECT_TRUE(render(settings) == first);
        EXPECT_EQ(read(), kept);
    }
    // The picture changed: its kept way no longer counts.
    {
        std::ofstream out(file, std::ios::trunc);
        out << motion::FramingCache::serialise(changed);
    }
    std::filesystem::last_write_time(
        folder() / "P0.png", std::filesystem::last_write_time(folder() / "P0.png") + std::chrono::seconds(5));
    EXPECT_TRUE(render(settings) == first);
    EXPECT_NE(read(), linesOf(motion::FramingCache::serialise(changed)));
}

// Moving frames as the render draws them, at the stored VCD picture of 320 × 288 (compose size
// 349 × 288): the same linear pan advances by the same sub-pixel step, squeezed like the frame
// (0.3525 × 320 ÷ 349 stored pixels a frame), and not at all vertically.
TEST_F(MotionFramesTest, AtTheStoredSizeLinearMotionAdvancesByTheSameSqueezedStep) {
    const auto [start, end] = makePanningAlbum();
    ProductionSettings settings;
    const auto frames = render(settings, nullptr, true);
    ASSERT_EQ(frames.size(), 1u + 50 + 50 + 1);
    const double expected = (end.x - start.x) / start.width * 320 / 99.0;
    for (std::size_t i = 50; i < 100; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(frames[i].width(), 320);
        ASSERT_EQ(frames[i].height(), 288);
        const cv::Point2d shift = phaseShift(greyOf(frames[i]), greyOf(frames[i + 1]));
        EXPECT_NEAR(-shift.x, expected, 0.05);
        EXPECT_NEAR(shift.y, 0, 0.05);
    }
}

// Which frames are drawn at the stored size: those showing moving pictures only (the black
// before the first counts as nothing still), at the compose size every frame with a still
// picture in it, its transitions from and to a moving one included.
TEST_F(MotionFramesTest, OnlyFramesOfMovingPicturesAreDrawnAtTheStoredSize) {
    const store::PictureMotion moving = firstMotion();
    const store::PictureMotion still;
    struct Case {
        const char* name;
        store::PictureMotion first, second;
        // Frame widths of: the first transition, the first hold, the second transition, the
        // second hold (with the final frame).
        int widths[4];
    } cases[] = {
        {"moving, moving", moving, moving, {320, 320, 320, 320}},
        {"moving, still", moving, still, {320, 320, 349, 349}},
        {"still, moving", still, moving, {349, 349, 349, 320}},
        {"still, still", still, still, {349, 349, 349, 349}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeAlbum({{texture(800, 600, 2), 1, 4, c.first}, {texture(800, 600, 3), 1, 2, c.second}});
        ProductionSettings settings;
        const auto frames = render(settings, nullptr, true);
        ASSERT_EQ(frames.size(), 2u * (1 + 50 + 25) + 1);
        // Frame 0 is the black before the first picture, of the compose size.
        EXPECT_EQ(frames[0].width(), 349);
        const std::pair<std::size_t, std::size_t> parts[] = {{1, 50}, {51, 76}, {77, 126}, {127, 152}};
        for (std::size_t part = 0; part < 4; ++part)
            for (std::size_t i = parts[part].first; i <= parts[part].second; ++i) {
                SCOPED_TRACE(i);
                ASSERT_EQ(frames[i].width(), c.widths[part]);
                ASSERT_EQ(frames[i].height(), 288);
            }
    }
}

// A transition between two moving pictures at the stored size shows each frame as the blend of
// the two pictures rendered alone at the stored size, through the effect's mask drawn at the
// compose size and brought to the stored width: fully revealed parts show the new picture
// exactly, unrevealed ones the old one, and the effect keeps its place on the screen.
TEST_F(MotionFramesTest, AtTheStoredSizeTransitionsBlendThroughTheSqueezedMask) {
    for (const int effect : {4 /* reveal from left */, 47 /* random edges */}) {
        SCOPED_TRACE(effect);
        makeTwoMovingPictures(effect);
        ProductionSettings settings;
        std::vector<std::int64_t> spans;
        const auto frames = render(settings, &spans, true);
        ASSERT_EQ(frames.size(), 1u + 50 + 25 + 1 + 50 + 1);
        const PreparedPicture old = preparedAlone(0, firstMotion(), spans);
        const PreparedPicture next = preparedAlone(1, secondMotion(), spans);
        effects::Bitmap mask(349, 288), white(349, 288), stored(320, 288), oldFrame(320, 288),
            newFrame(320, 288), expected(320, 288);
        white.fill({255, 255, 255});
        MaskWidthScaler scaler;
        effects::ClockRandom random(3);
        for (int step = 1; step < 50; ++step) {
            SCOPED_TRACE(step);
            effects::FindEffect(effect)->Proc(mask, white, {0, 0, 349, 288}, 5, 2 * step, random);
            scaler.scale(mask, stored);
            old.render(50 + 25 + step, oldFrame);
            next.render(step - 1, newFrame);
            blendThroughMask(stored, oldFrame, newFrame, expected);
            EXPECT_TRUE(frames[static_cast<std::size_t>(1 + 50 + 25 + step)] == expected);
        }
        // The last step shows the new picture whole.
        next.render(49, newFrame);
        EXPECT_TRUE(frames[1 + 50 + 25 + 50] == newFrame);
    }
}

TEST(TransitionMask, SqueezedMaskKeepsWholeValuesAndItsEdgesPlace) {
    // A mask covered from column `edge` on, at the compose width, brought to other widths:
    // every column wholly on one side stays exactly 0 or 255, values between appear within a
    // column of the edge's place scaled, and they never fall from left to right.
    struct Case {
        int from, to, edge;
    } cases[] = {{768, 720, 300}, {349, 320, 100}, {1024, 720, 511}, {321, 352, 160}, {768, 768, 17}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        effects::Bitmap mask(c.from, 3), out(c.to, 3);
        mask.fillRect({c.edge, 0, c.from, 3}, {255, 255, 255});
        MaskWidthScaler scaler;
        scaler.scale(mask, out);
        ASSERT_EQ(out.width(), c.to);
        const double at = static_cast<double>(c.edge) * c.to / c.from;
        int before = 0;
        for (int x = 0; x < c.to; ++x) {
            SCOPED_TRACE(x);
            const int value = out.pixel(x, 1).g;
            EXPECT_GE(value, before);
            before = value;
            EXPECT_TRUE(out.pixel(x, 1) == out.pixel(x, 0));
            if (x + 1 < at - 1) {
                EXPECT_EQ(value, 0);
            }
            if (x > at + 1) {
                EXPECT_EQ(value, 255);
            }
        }
        if (c.from == c.to) {
            EXPECT_TRUE(out == mask) << "the same width leaves the mask as it is";
        }
    }
    // Uniform masks stay uniform, whatever the value.
    effects::Bitmap grey(768, 2), out(720, 2), expected(720, 2);
    MaskWidthScaler scaler;
    for (int v = 0; v < 256; v += 51) {
        const auto value = static_cast<std::uint8_t>(v);
        grey.fill({value, value, value});
        expected.fill({value, value, value});
        scaler.scale(grey, out);
        EXPECT_TRUE(out == expected) << v;
    }
}

TEST(TransitionMask, EveryBlendIsTheRoundedMeanOfItsTwoValues) {
    // Every old value (rows), new value (columns) and mask value (one frame each): the blend is
    // (old × (255 − mask) + new × mask) / 255 rounded, half up, with 0 and 255 exact.
    effects::Bitmap old(256, 256), next(256, 256), mask(256, 256), out(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const auto a = static_cast<std::uint8_t>(y), b = static_cast<std::uint8_t>(x);
            old.setPixel(x, y, {a, a, a});
            next.setPixel(x, y, {b, b, b});
        }
    for (int m = 0; m < 256; ++m) {
        const auto value = static_cast<std::uint8_t>(m);
        mask.fill({value, value, value});
        blendThroughMask(mask, old, next, out);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const int expected = (2 * (y * (255 - m) + x * m) + 255) / 510;
                ASSERT_EQ(out.pixel(x, y).g, expected) << "old " << y << ", new " << x << ", mask " << m;
            }
    }
}

} // namespace
} // namespace vistello::production
