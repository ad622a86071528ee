// The picture editor's preview model on its own: the pause, the transition's steps, the motion
// over the display time, the end on the picture, and stopping in every phase.

#include "app/picture_editor/preview_model.h"
#include "app/widgets/picture_fitting.h"
#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "motion/motion_path.h"

#include <QTest>

using namespace vistello;
using namespace vistello::app;
using Phase = PicturePreviewModel::Phase;

namespace {

constexpr int kBoxWidth = 40, kBoxHeight = 30;

effects::Bitmap filled(effects::Bgr colour, int width = kBoxWidth, int height = kBoxHeight) {
    effects::Bitmap bitmap(width, height);
    bitmap.fill(colour);
    return bitmap;
}

// A picture whose every part differs from every other, so that any move shows.
QImage gradientPicture() {
    QImage picture(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 159, y * 255 / 119, (x * y) % 256));
    return picture;
}

PicturePreviewModel::Motion zoomIn(int ticks) {
    PicturePreviewModel::Motion motion;
    motion.source = std::make_shared<const motion::MotionSource>(gradientPicture());
    motion.path = {{0, 0, 1, 1}, {0.25, 0.25, 0.5, 0.5}, store::Easing::Linear};
    motion.frame = {0, 0, kBoxWidth, kBoxHeight};
    motion.ticks = ticks;
    return motion;
}

} // namespace

class PicturePreviewModelTest : public QObject {
    Q_OBJECT

    effects::ScriptedRandom random;
    PicturePreviewModel model;
    std::vector<Phase> phases;
    int frames = 0;

  private slots:
    void init() {
        model = PicturePreviewModel();
        phases.clear();
        frames = 0;
        model.OnPhaseChanged = [this](Phase phase) { phases.push_back(phase); };
        model.OnFrame = [this] { ++frames; };
    }

    // Without a motion: the start picture during the pause, steps 4 .. 96 of the effect drawn on
    // it, and the picture at the 25th tick.
    void transitionStepsEndOnThePicture() {
        const effects::Bitmap from = filled({0, 0, 200});
        const effects::Bitmap picture = filled({200, 100, 0});
        model.begin(from, picture, std::nullopt);
        QCOMPARE(model.phase(), Phase::Pause);
        QCOMPARE(model.frame(), from);
        model.tick(random); // no step during the pause
        QCOMPARE(model.frame(), from);
        model.startSteps(1);
        QCOMPARE(model.effect(), 1);
        effects::Bitmap expected = from;
        for (int step = 1; step <= 24; ++step) {
            model.tick(random);
            QCOMPARE(model.progress(), 4 * step);
            effects::FindEffect(1)->Proc(expected, picture, expected.bounds(), effects::kDefaultGrain,
                                         4 * step, random);
            QVERIFY2(model.frame() == expected, qPrintable(QStringLiteral("step %1").arg(step)));
        }
        model.tick(random);
        QCOMPARE(model.phase(), Phase::Idle);
        QCOMPARE(model.frame(), picture);
        QCOMPARE(phases, (std::vector<Phase>{Phase::Pause, Phase::Transition, Phase::Idle}));
        model.tick(random); // a tick already queued changes nothing
        QCOMPARE(model.frame(), picture);
    }

    // With a motion: the transition brings in the motion's first frame, then each tick shows the
    // next rectangle of the way, and the tick after the last ends on the still picture.
    void motionFollowsTheTransition() {
        const effects::Bitmap picture = filled({9, 9, 9});
        constexpr int kTicks = 6;
        model.begin(filled({0, 0, 0}), picture, zoomIn(kTicks));
        model.startSteps(1);
        for (int step = 1; step <= 24; ++step)
            model.tick(random);
        QCOMPARE(model.phase(), Phase::Transition);
        model.tick(random);
        QCOMPARE(model.phase(), Phase::Motion);
        QCOMPARE(model.frame(), model.motionFrame(0));
        effects::Bitmap previous = model.frame();
        for (int tick = 1; tick <= kTicks; ++tick) {
            model.tick(random);
            QCOMPARE(model.motionTick(), tick);
            QCOMPARE(model.frame(), model.motionFrame(static_cast<double>(tick) / kTicks));
            QVERIFY2(model.frame() != previous, "the picture moves at every tick");
            previous = model.frame();
        }
        model.tick(random);
        QCOMPARE(model.phase(), Phase::Idle);
        QCOMPARE(model.frame(), picture);
        QCOMPARE(phases, (std::vector<Phase>{Phase::Pause, Phase::Transition, Phase::Motion, Phase::Idle}));
    }

    // The motion's frames are those the source renders for the way's rectangles, in the frame's
    // place in the box and black around it.
    void motionFrameIsTheRenderedRectangleInItsPlace() {
        PicturePreviewModel::Motion motion = zoomIn(4);
        motion.frame = {5, 3, 35, 27};
        model.begin(filled({0, 0, 0}), filled({1, 1, 1}), motion);
        const effects::Bitmap half = model.motionFrame(0.5);
        effects::Bitmap rendered(30, 24);
        motion.source->render(motion::rectAt(motion.path.start, motion.path.end, motion.path.easing, 0.5),
                              rendered);
        for (int y = 0; y < kBoxHeight; ++y)
            for (int x = 0; x < kBoxWidth; ++x) {
                const bool inside = motion.frame.contains(x, y);
                const effects::Bgr expected = inside ? rendered.pixel(x - 5, y - 3) : effects::Bgr{};
                QVERIFY2(half.pixel(x, y) == expected, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void stopRequestEndsInEveryPhase() {
        const effects::Bitmap picture = filled({50, 60, 70});
        struct Case {
            const char* name;
            int ticksBefore; // after startSteps; -1: still in the pause
        };
        const Case cases[] = {{"pause", -1}, {"transition", 3}, {"motion", 27}};
        for (const Case& c : cases) {
            model.begin(filled({0, 0, 0}), picture, zoomIn(10));
            if (c.ticksBefore >= 0) {
                model.startSteps(2);
                for (int i = 0; i < c.ticksBefore; ++i)
                    model.tick(random);
                QVERIFY2(model.running(), c.name);
            }
            model.requestStop();
            QCOMPARE(model.progress(), 100);
            if (c.ticksBefore >= 0) {
                QVERIFY2(model.running(), c.name); // the next tick ends it
                model.tick(random);
            }
            QVERIFY2(model.phase() == Phase::Idle, c.name);
            QVERIFY2(model.frame() == picture, c.name);
        }
    }

    // Bitmaps that do not match, or a motion without room in the box: no crash, a short end.
    void mismatchedInputEndsAtTheFirstTick() {
        model.begin(filled({0, 0, 0}, 10, 10), filled({1, 2, 3}), std::nullopt);
        model.startSteps(1);
        model.tick(random);
        QCOMPARE(model.phase(), Phase::Idle);
        QCOMPARE(model.frame(), filled({1, 2, 3}));

        PicturePreviewModel::Motion outside = zoomIn(3);
        outside.frame = {20, 20, 60, 60};
        model.begin(filled({0, 0, 0}), filled({1, 2, 3}), outside);
        QVERIFY(!model.motion().has_value()); // the plain transition then
        PicturePreviewModel::Motion empty = zoomIn(3);
        empty.source = std::make_shared<const motion::MotionSource>();
        model.begin(filled({0, 0, 0}), filled({1, 2, 3}), empty);
        QVERIFY(!model.motion().has_value());
    }

    void resetForgetsWithoutShowing() {
        model.begin(filled({0, 0, 0}), filled({4, 5, 6}), zoomIn(3));
        model.startSteps(1);
        model.tick(random);
        const effects::Bitmap midway = model.frame();
        const int shown = frames;
        model.reset();
        QVERIFY(!model.running());
        model.tick(random);
        QCOMPARE(frames, shown);
        QCOMPARE(model.frame(), midway);
    }
};

QTEST_MAIN(PicturePreviewModelTest)
#include "picture_preview_model_test.moc"
