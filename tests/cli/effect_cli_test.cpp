// End-to-end tests of the effect subcommands: the catalogue listing, one transition on default
// and given pictures, agreement with the library's own procedures, the contact sheet, and the
// usage errors.

#include "cli_runner.h"
#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vistello::cli {
namespace {

using testing::runCli;

class EffectCli : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

// Reads a written picture back as the effects' bitmap.
effects::Bitmap readBack(const QString& file) {
    const QImage image = QImage(file).convertToFormat(QImage::Format_RGB888);
    effects::Bitmap bitmap(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            bitmap.setPixel(x, y,
                            {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                             static_cast<std::uint8_t>(qRed(c))});
        }
    return bitmap;
}

// A picture with a colour per position, so any misplaced pixel shows.
QImage patternImage(int width, int height, int salt) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y,
                                QColor((x * 5 + salt) % 256, (y * 7 + salt) % 256, (x * y + salt) % 256));
    return image;
}

TEST_F(EffectCli, ListsTheCatalogueWithEnglishAndDisplayNames) {
    const auto result = runCli({"effects"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonArray list = result.json().array();
    ASSERT_EQ(list.size(), 105);
    EXPECT_EQ(list[0].toObject(), (QJsonObject{{"number", 1}, {"name", "Fade"}, {"display", "淡入淡出"}}));
    EXPECT_EQ(list[104].toObject()["name"].toString(), "Rotational star");
    EXPECT_EQ(list[104].toObject()["display"].toString(), "星形顺时针旋转");
    EXPECT_EQ(list[54].toObject()["number"].toInt(), 55);
    EXPECT_EQ(runCli({"effects", "extra"}).exitCode, 2);
}

TEST_F(EffectCli, RunsFromBlackTowardWhiteByDefault) {
    // Effect 4 (wipe from the left) on 200 × 100 at P = 30 shows columns 0..59 of the new picture.
    for (const QString name : {"wipe.ppm", "wipe.png", "wipe.bmp"}) {
        const auto result =
            runCli({"effect", "4", "--size", "200x100", "--steps", "30", "--out", path(name)});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const effects::Bitmap out = readBack(path(name));
        ASSERT_EQ(out.width(), 200);
        ASSERT_EQ(out.height(), 100);
        EXPECT_EQ(out.pixel(59, 99), (effects::Bgr{255, 255, 255})) << name.toStdString();
        EXPECT_EQ(out.pixel(60, 0), (effects::Bgr{0, 0, 0})) << name.toStdString();
    }
    QFile ppm(path("wipe.ppm"));
    ASSERT_TRUE(ppm.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ppm.read(2) == "P6");
}

TEST_F(EffectCli, AgreesWithTheLibraryProceduresOnGivenPictures) {
    ASSERT_TRUE(patternImage(120, 90, 11).save(path("old.png")));
    ASSERT_TRUE(patternImage(120, 90, 99).save(path("new.png")));
    const effects::Bitmap oldStretched = readBack(path("old.png"));
    const effects::Bitmap incoming = readBack(path("new.png"));
    const struct {
        int effect;
        const char* steps;
        std::vector<int> progress;
    } cases[] = {
        {11, "20,40,60", {20, 40, 60}}, {40, "editor", {}}, {95, "video", {}},      {63, "30", {30}},
        {91, "10,20,30", {10, 20, 30}}, {47, "50", {50}},   {1, "50,96", {50, 96}}, {102, "100", {100}}};
    for (const auto& c : cases) {
        const auto result =
            runCli({"effect", QString::number(c.effect), "--size", "120x90", "--steps", c.steps, "--old",
                    path("old.png"), "--new", path("new.png"), "--seed", "42", "--out", path("out.bmp")});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        std::vector<int> progress = c.progress;
        if (progress.empty())
            for (int p = std::string(c.steps) == "editor" ? 4 : 2;
                 p <= (std::string(c.steps) == "editor" ? 96 : 100);
                 p += std::string(c.steps) == "editor" ? 4 : 2)
                progress.push_back(p);
        EXPECT_EQ(result.json().object()["steps"].toInt(), static_cast<int>(progress.size()));
        effects::Bitmap expected = oldStretched;
        effects::ClockRandom random(42);
        for (const int p : progress)
            effects::FindEffect(c.effect)->Proc(expected, incoming, {0, 0, 120, 90}, effects::kDefaultGrain,
                                                p, random);
        EXPECT_EQ(readBack(path("out.bmp")), expected) << "effect " << c.effect;
    }
}

TEST_F(EffectCli, StretchesPicturesOfAnotherSize) {
    // A 20 × 10 old picture, left half red and right half blue, stretched to 200 × 100; effect 5
    // at P = 10 wipes in columns 180..199 of the default white picture.
    QImage halves(20, 10, QImage::Format_RGB888);
    halves.fill(Qt::red);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            halves.setPixelColor(x, y, Qt::blue);
    ASSERT_TRUE(halves.save(path("halves.png")));
    const auto result = runCli({"effect", "5", "--size", "200x100", "--steps", "10", "--old",
                                path("halves.png"), "--out", path("stretched.png")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const effects::Bitmap out = readBack(path("stretched.png"));
    EXPECT_EQ(out.pixel(5, 50), (effects::Bgr{0, 0, 255}));
    EXPECT_EQ(out.pixel(170, 50), (effects::Bgr{255, 0, 0}));
    EXPECT_EQ(out.pixel(185, 50), (effects::Bgr{255, 255, 255}));
}

TEST_F(EffectCli, EffectZeroReportsTheRandomChoiceItMade) {
    const auto result = runCli(
        {"effect", "0", "--size", "64x48", "--steps", "video", "--seed", "7", "--out", path("random.png")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    effects::ClockRandom random(7);
    const int chosen = effects::RandomEffectNumber(random);
    EXPECT_EQ(result.json().object()["number"].toInt(), chosen);
    EXPECT_EQ(result.json().object()["name"].toString().toStdString(), effects::FindEffect(chosen)->Name);
}

TEST_F(EffectCli, RejectsBadArgumentsAndReportsUnreadablePictures) {
    const QString out = path("x.png");
    const QStringList usage[] = {
        {"effect"},
        {"effect", "4", "--size", "200x100", "--steps", "30"},
        {"effect", "106", "--size", "200x100", "--steps", "30", "--out", out},
        {"effect", "-1", "--size", "200x100", "--steps", "30", "--out", out},
        {"effect", "four", "--size", "200x100", "--steps", "30", "--out", out},
        {"effect", "4", "--size", "0x100", "--steps", "30", "--out", out},
        {"effect", "4", "--size", "200x", "--steps", "30", "--out", out},
        {"effect", "4", "--size", "99999x100", "--steps", "30", "--out", out},
        {"effect", "4", "--size", "200x100", "--steps", "4,,8", "--out", out},
        {"effect", "4", "--size", "200x100", "--steps", "", "--out", out},
        {"effect", "4", "--size", "200x100", "--steps", "30", "--out", path("x.gif")},
        {"effect", "4", "--size", "200x100", "--steps", "30", "--seed", "abc", "--out", out},
        {"effect", "4", "--size", "200x100", "--steps", "30", "--colour", "red", "--out", out},
        {"effect", "4", "--size", "200x100", "--steps", "30", "--out", out, "--out", out},
        {"effect-sheet"},
        {"effect-sheet", "--out", out, "--size", "2000x2000"},
    };
    for (const QStringList& arguments : usage)
        EXPECT_EQ(runCli(arguments).exitCode, 2) << arguments.join(' ').toStdString();
    QFile junk(path("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    const auto unreadable =
        runCli({"effect", "4", "--size", "20x10", "--steps", "30", "--new", path("junk.png"), "--out", out});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_TRUE(unreadable.err.contains("junk.png"));
    EXPECT_FALSE(QFile::exists(out));
    const auto unwritable =
        runCli({"effect", "4", "--size", "20x10", "--steps", "30", "--out", path("missing/folder/x.png")});
    EXPECT_EQ(unwritable.exitCode, 1);
}

TEST_F(EffectCli, DrawsTheContactSheet) {
    const auto result =
        runCli({"effect-sheet", "--out", path("sheet.png"), "--size", "40x30", "--steps", "50,100"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QImage sheet(path("sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    // Five columns of 105 effects: 21 rows of label and thumbnails.
    EXPECT_GT(sheet.width(), 5 * 2 * 40);
    EXPECT_GT(sheet.height(), 21 * 30);
}

} // namespace
} // namespace vistello::cli
