// The automatic motion: rectangles of the frame's aspect on the picture, faces inside every
// frame of the way, the salient part in view without faces, and the same choice every time.

#include "motion/auto_framing.h"
#include "motion/grey_copy.h"
#include "motion/motion_path.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <fstream>
#include <random>

using namespace vistello::motion;
using vistello::store::Easing;
using vistello::store::MotionRect;

namespace {

constexpr int kSamples = 100; // rectangles looked at along each way

bool contains(const MotionRect& outer, const MotionRect& inner) {
    constexpr double e = 1e-9;
    return inner.x >= outer.x - e && inner.y >= outer.y - e &&
           inner.x + inner.width <= outer.x + outer.width + e &&
           inner.y + inner.height <= outer.y + outer.height + e;
}

// Every rectangle of the way: on the picture, of the frame's aspect, holding `kept`.
void expectSoundWay(const MotionPath& path, int width, int height, double aspect,
                    const std::vector<MotionRect>& kept) {
    for (int i = 0; i <= kSamples; ++i) {
        const MotionRect r = rectAt(path.start, path.end, path.easing, static_cast<double>(i) / kSamples);
        ASSERT_TRUE(vistello::store::isOnPicture(r)) << i;
        ASSERT_NEAR(aspectOn(r, width, height), aspect, 1e-9 * aspect) << i;
        for (const MotionRect& k : kept)
            ASSERT_TRUE(contains(r, k)) << "sample " << i << " loses the rectangle at " << k.x << "," << k.y;
    }
}

double zoomOf(const MotionPath& path) {
    return std::max(path.start.width, path.end.width) / std::min(path.start.width, path.end.width);
}

// A picture of fine noise (no part stands out), the same for every seed.
QImage noisePicture(int width, int height, unsigned seed) {
    QImage picture(width, height, QImage::Format_BGR888);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* line = picture.scanLine(y);
        for (int x = 0; x < 3 * width; ++x)
            line[x] = static_cast<std::uint8_t>(100 + random() % 24);
    }
    return picture;
}

QImage faceFixture() {
    QImage face(QStringLiteral(VISTELLO_TEST_DATA "/astronaut_face.jpg"));
    return face.convertToFormat(QImage::Format_BGR888);
}

TEST(ZoomRatio, TenPercentForShortTimesUpToTwentyForLongOnes) {
    for (std::uint64_t hash = 0; hash < 200; ++hash) {
        for (const double seconds : {0.0, 2.0, 5.0, 9.0, 30.0, 1e9, std::nan("")}) {
            const double z = zoomRatio(seconds, hash * 0x9E3779B97F4A7C15ull);
            EXPECT_GE(z, 1.10);
            EXPECT_LE(z, 1.20);
        }
        EXPECT_LE(zoomRatio(2, hash), zoomRatio(30, hash));
    }
    EXPECT_NEAR(zoomRatio(2, 1), 1.10, 0.02 + 1e-12);
    EXPECT_NEAR(zoomRatio(60, 1), 1.20, 0.02 + 1e-12);
}

TEST(ChooseFraming, InjectedFacesStayInsideEveryFrameOfTheWay) {
    const struct {
        const char* what;
        int width, height;
        double aspect;
        std::vector<MotionRect> faces;
    } cases[] = {
        {"face at the left edge, wide picture, 4:3", 1600, 900, 4.0 / 3, {{0.0, 0.3, 0.06, 0.1}}},
        {"face at the right edge, 16:9", 2000, 1000, 16.0 / 9, {{0.93, 0.4, 0.07, 0.14}}},
        {"face at the top, upright picture", 900, 1600, 16.0 / 9, {{0.4, 0.02, 0.15, 0.08}}},
        {"face at the bottom, square frame", 1200, 800, 1.0, {{0.45, 0.85, 0.1, 0.15}}},
        {"face in a corner, upright frame", 1600, 1200, 9.0 / 16, {{0.0, 0.0, 0.05, 0.07}}},
        {"two faces far apart", 3000, 2000, 16.0 / 9, {{0.1, 0.3, 0.08, 0.12}, {0.8, 0.35, 0.08, 0.12}}},
        {"a face filling most of the frame", 1200, 900, 4.0 / 3, {{0.2, 0.15, 0.6, 0.6}}},
        {"many small faces",
         4000,
         3000,
         4.0 / 3,
         {{0.2, 0.5, 0.03, 0.04}, {0.3, 0.52, 0.03, 0.04}, {0.4, 0.49, 0.03, 0.04}, {0.5, 0.5, 0.03, 0.04}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::uint64_t hash = 1; hash <= 40; ++hash) {
            FramingInput input;
            input.pictureWidth = c.width;
            input.pictureHeight = c.height;
            input.frameAspect = c.aspect;
            input.seconds = 7;
            input.hash = hash * 0xD1B54A32D192ED03ull;
            input.faces = c.faces;
            const MotionPath path = chooseFraming(input);
            expectSoundWay(path, c.width, c.height, c.aspect, c.faces);
            EXPECT_LE(zoomOf(path), 1.20 + 1e-9);
            EXPECT_EQ(chooseFraming(input), path) << "a pure function";
        }
    }
}

TEST(ChooseFraming, ASmallFaceGetsTheFullZoomAndTheFaceWithItsHair) {
    FramingInput input;
    input.pictureWidth = 1600;
    input.pictureHeight = 1200;
    input.frameAspect = 4.0 / 3;
    input.seconds = 10;
    const MotionRect face{0.6, 0.3, 0.1, 0.13};
    const MotionRect withHair{0.6 - 0.025, 0.3 - 0.45 * 0.13, 0.15, 0.13 * 1.8};
    input.faces = {face};
    bool zoomedIn = false, zoomedOut = false;
    for (std::uint64_t hash = 1; hash <= 64; ++hash) {
        input.hash = hash * 0x9E3779B97F4A7C15ull;
        const MotionPath path = chooseFraming(input);
        expectSoundWay(path, 1600, 1200, 4.0 / 3, {withHair});
        EXPECT_NEAR(zoomOf(path), zoomRatio(10, input.hash), 1e-9)
            << "the face leaves room for the whole zoom";
        (path.start.width > path.end.width ? zoomedIn : zoomedOut) = true;
    }
    EXPECT_TRUE(zoomedIn && zoomedOut) << "both directions occur";
}

TEST(ChooseFraming, FacesWiderThanAnyFrameAreCentredWithoutZoom) {
    FramingInput input;
    input.pictureWidth = 4000;
    input.pictureHeight = 1000; // a panorama of a row of people, shown 4:3
    input.frameAspect = 4.0 / 3;
    input.faces = {{0.05, 0.3, 0.05, 0.2}, {0.9, 0.3, 0.05, 0.2}};
    const MotionPath path = chooseFraming(input);
    EXPECT_NEAR(zoomOf(path), 1.0, 1e-9);
    EXPECT_NEAR(path.start.x + path.start.width / 2, 0.5, 1e-9);
    expectSoundWay(path, 4000, 1000, 4.0 / 3, {});
}

TEST(ChooseFraming, WithoutFacesTheSalientWindowStaysInView) {
    FramingInput input;
    input.pictureWidth = 3000;
    input.pictureHeight = 2000;
    input.frameAspect = 16.0 / 9;
    double askedWidth = 0;
    input.salientWindow = [&](double width, double height) {
        askedWidth = width;
        return MotionRect{1 - width, 1 - height, width, height}; // the bottom right corner
    };
    for (std::uint64_t hash = 1; hash <= 20; ++hash) {
        input.hash = hash;
        const MotionPath path = chooseFraming(input);
        const double small = std::min(path.start.width, path.end.width);
        const MotionRect window{1 - askedWidth, 1 - askedWidth * 3000 / 2000 * 9 / 16, askedWidth,
                                askedWidth * 3000 / 2000 * 9 / 16};
        EXPECT_NEAR(askedWidth, 0.6 * small, 1e-9);
        expectSoundWay(path, 3000, 2000, 16.0 / 9, {window});
    }
}

TEST(CascadeFaceFinder, WithoutACascadeItFindsNothing) {
    const std::filesystem::path damaged =
        std::filesystem::temp_directory_path() / "vistello-damaged-cascade.xml";
    std::ofstream(damaged) << "<?xml version=\"1.0\"?><opencv_storage><cascade>nonsense";
    const CascadeFaceFinder finder({"/nonexistent/cascade.xml", damaged});
    EXPECT_FALSE(finder.available());
    EXPECT_TRUE(finder.cascadeFile().empty());
    EXPECT_TRUE(finder.findFaces(greyCopy(faceFixture())).empty());
    std::filesystem::remove(damaged);
}

class WithCascade : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!finder.available())
            GTEST_SKIP() << "no face cascade installed (opencv-data)";
    }
    CascadeFaceFinder finder;
};

TEST_F(WithCascade, FindsTheFaceOfThePhoto) {
    const std::vector<MotionRect> faces = finder.findFaces(greyCopy(faceFixture()));
    ASSERT_EQ(faces.size(), 1u) << finder.cascadeFile();
    // The astronaut's face lies right of the middle in the upper half.
    const double cx = faces[0].x + faces[0].width / 2, cy = faces[0].y + faces[0].height / 2;
    EXPECT_GT(cx, 0.35);
    EXPECT_LT(cx, 0.65);
    EXPECT_GT(cy, 0.15);
    EXPECT_LT(cy, 0.45);
}

TEST_F(WithCascade, AFaceAtTheEdgeOfAWidePictureStaysInsideEveryFrame) {
    // The photo at the right end of a wide picture: a 4:3 frame must move to it and keep it.
    const QImage face = faceFixture();
    QImage wide = noisePicture(1000, 360, 3);
    {
        QPainter painter(&wide);
        painter.drawImage(1000 - 320, 20, face);
    }
    const std::vector<MotionRect> found = finder.findFaces(greyCopy(wide));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_GT(found[0].x, (1000.0 - 320) / 1000) << "the face is found where it was put";
    for (const double aspect : {4.0 / 3, 16.0 / 9, 1.0}) {
        SCOPED_TRACE(aspect);
        const MotionPath path = chooseAutomaticMotion(wide, aspect, 5, &finder);
        expectSoundWay(path, wide.width(), wide.height(), aspect, found);
        EXPECT_GE(zoomOf(path), 1.10 - 1e-9);
        EXPECT_EQ(chooseAutomaticMotion(wide, aspect, 5, &finder), path)
            << "the same picture, the same motion";
    }
}

TEST(ChooseAutomaticMotion, WithoutFacesTheDetailedPartStaysInView) {
    // A flat picture with one patch of detail near its top left corner.
    QImage picture(1600, 1200, QImage::Format_BGR888);
    picture.fill(QColor(90, 120, 150));
    const QRect patch(160, 120, 240, 180);
    {
        QPainter painter(&picture);
        std::mt19937 random(5);
        for (int i = 0; i < 400; ++i) {
            painter.setPen(QColor(static_cast<int>(random() % 256), static_cast<int>(random() % 256), 40));
            const int x = patch.left() + static_cast<int>(random() % patch.width());
            const int y = patch.top() + static_cast<int>(random() % patch.height());
            painter.drawLine(x, y, std::min(patch.right(), x + 20), std::min(patch.bottom(), y + 9));
        }
    }
    const MotionRect patchRect{160.0 / 1600, 120.0 / 1200, 240.0 / 1600, 180.0 / 1200};
    const MotionPath path = chooseAutomaticMotion(picture, 16.0 / 9, 6, nullptr);
    expectSoundWay(path, 1600, 1200, 16.0 / 9, {patchRect});
    const MotionRect& closer = path.start.width < path.end.width ? path.start : path.end;
    EXPECT_LT(closer.x + closer.width / 2, 0.5) << "the closer view leans towards the detail";
    EXPECT_LT(closer.y + closer.height / 2, 0.5);
}

TEST(ChooseAutomaticMotion, DeterministicPerPictureAndDifferentAcrossPictures) {
    const QImage a = noisePicture(1200, 800, 1), b = noisePicture(1200, 800, 2);
    const QImage aAgain = a.copy(); // another buffer, the same pixels
    const MotionPath first = chooseAutomaticMotion(a, 4.0 / 3, 5, nullptr);
    EXPECT_EQ(chooseAutomaticMotion(aAgain, 4.0 / 3, 5, nullptr), first);
    EXPECT_NE(pictureHash(a), pictureHash(b));
    int differing = 0;
    for (unsigned seed = 10; seed < 20; ++seed)
        differing += chooseAutomaticMotion(noisePicture(1200, 800, seed), 4.0 / 3, 5, nullptr) != first;
    EXPECT_GE(differing, 8) << "the choice follows the picture";
    expectSoundWay(first, 1200, 800, 4.0 / 3, {});
}

TEST(ChooseAutomaticMotion, OddPicturesGiveSoundWays) {
    const struct { int width, height; } sizes[] = {{1, 1}, {1, 500}, {3000, 2}, {17, 13}};
    for (const auto& s : sizes) {
        QImage picture(s.width, s.height, QImage::Format_BGR888);
        picture.fill(Qt::gray);
        const MotionPath path = chooseAutomaticMotion(picture, 16.0 / 9, 3, nullptr);
        expectSoundWay(path, s.width, s.height, 16.0 / 9, {});
    }
    const MotionPath none = chooseAutomaticMotion(QImage(), 16.0 / 9, 3, nullptr);
    EXPECT_EQ(none.start, MotionRect());
}

TEST(GreyCopy, ReducesTheLongSideAndKeepsSmallPictures) {
    QImage big(4000, 3000, QImage::Format_BGR888);
    big.fill(QColor(200, 100, 50));
    const QImage grey = greyCopy(big);
    EXPECT_EQ(grey.size(), QSize(640, 480));
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_NEAR(qGray(grey.pixel(320, 240)), qGray(qRgb(200, 100, 50)), 3);
    EXPECT_EQ(greyCopy(QImage(300, 200, QImage::Format_RGB32)).size(), QSize(300, 200));
}

} // namespace
