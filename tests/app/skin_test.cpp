// The skin: the built-in sheet parses and every picture it names is there and loads; a
// skin.qss beside the program replaces it and a skin/ folder there replaces single pictures;
// under the skin every window keeps its design size with no caption cut off or overlapping,
// also half way through a preview or an import.

#include "album_fixture.h"
#include "app/album_dialog/add_album_dialog.h"
#include "app/application/skin.h"
#include "app/application/splash_window.h"
#include "app/application/vistello_application.h"
#include "app/import/add_music_dialog.h"
#include "app/import/add_picture_dialog.h"
#include "app/main_window/main_window.h"
#include "app/picture_editor/picture_editor.h"
#include "app/production_dialog/production_dialog.h"
#include "production/mcl_objects.h"
#include "scripted_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <cmath>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The names of the pictures a sheet refers to as url(skin:NAME).
QStringList skinPictures(const QString& sheet) {
    QStringList names;
    const QRegularExpression url(QStringLiteral(R"(url\(\s*skin:([^)\s]+)\s*\))"));
    for (const QRegularExpressionMatch& m : url.globalMatch(sheet))
        if (!names.contains(m.captured(1)))
            names << m.captured(1);
    return names;
}

QString describe(const QWidget* w) {
    return QStringLiteral("%1 (%2) %3x%4")
        .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
        .arg(w->width())
        .arg(w->height());
}

QString captionOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    return {};
}

// Faults of layout under the skin: a visible control whose caption needs more room than it
// has, or two visible captioned controls of one parent that overlap.
QStringList layoutFaults(const QWidget& window) {
    QStringList faults;
    QList<const QWidget*> captioned;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || captionOf(w).isEmpty())
            continue;
        captioned << w;
        // A speed button's size hint adds room for an icon it does not show; what must fit is
        // the ink of its caption inside its border.
        const auto* speed = qobject_cast<const QToolButton*>(w);
        const QSize need =
            speed && (speed->icon().isNull() || speed->toolButtonStyle() == Qt::ToolButtonTextOnly)
                ? w->fontMetrics().tightBoundingRect(captionOf(w)).size() + QSize(2, 2)
                : w->sizeHint();
        const auto* label = qobject_cast<const QLabel*>(w);
        const bool wraps = label && label->wordWrap();
        if ((!wraps && need.width() > w->width()) || need.height() > w->height())
            faults << QStringLiteral("%1 needs %2x%3 for \"%4\"")
                          .arg(describe(w))
                          .arg(need.width())
                          .arg(need.height())
                          .arg(captionOf(w));
    }
    for (int i = 0; i < captioned.size(); ++i)
        for (int j = i + 1; j < captioned.size(); ++j)
            if (captioned[i]->parentWidget() == captioned[j]->parentWidget() &&
                captioned[i]->geometry().intersects(captioned[j]->geometry()))
                faults
                    << QStringLiteral("%1 overlaps %2").arg(describe(captioned[i]), describe(captioned[j]));
    return faults;
}

// Relative luminance of a colour, as contrast ratios are worked out from it.
double luminance(QColor c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

  private slots:
    void init() {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        setSkinSearchPaths(QString());
    }

    void builtInSheetIsUsedWithoutAnOwnFile() {
        const QString builtIn = readAll(QString::fromLatin1(kBuiltInSkin));
        QVERIFY(builtIn.contains(QStringLiteral("#bsSkinTrackBar1")) ||
                builtIn.contains(QStringLiteral("QSlider")));
        QCOMPARE(loadSkin(QString()), builtIn);
        QCOMPARE(loadSkin(folder.path()), builtIn);
    }

    void everyPictureOfTheSheetIsBuiltInAndLoads() {
        const QStringList names = skinPictures(loadSkin(QString()));
        QVERIFY(names.size() >= 10);
        for (const QString& name : names) {
            const QString path = QStringLiteral("skin:") + name;
            QVERIFY2(QFile::exists(path), qPrintable(name));
            QImageReader reader(path);
            QVERIFY2(!reader.read().isNull(), qPrintable(name + QStringLiteral(": ") + reader.errorString()));
        }
    }

    void programIconHasEverySize() {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 32, 48, 64, 128, 256})
            QCOMPARE(icon.pixmap(QSize(size, size)).size(), QSize(size, size));
    }

    void ownSheetBesideTheProgramReplacesTheBuiltInOne() {
        const QString builtIn = loadSkin(QString());
        const QString own = folder.filePath(QStringLiteral("skin.qss"));
        const struct {
            const char* what;
            std::function<void()> make;
            QString expected;
        } cases[] = {
            {"a sheet of its own", [&] { writeFile(own, "QPushButton { color: red; }"); },
             QStringLiteral("QPushButton { color: red; }")},
            {"an empty sheet means no skin", [&] { writeFile(own, ""); }, QString()},
            {"a folder of that name is no sheet", [&] { QDir().mkpath(own); }, builtIn},
            {"UTF-8 text is kept", [&] { writeFile(own, "/* 皮肤 */"); }, QStringLiteral("/* 皮肤 */")},
        };
        for (const auto& c : cases) {
            QFile::remove(own);
            QDir(own).removeRecursively();
            c.make();
            QVERIFY2(loadSkin(folder.path()) == c.expected, c.what);
        }
    }

    void picturesBesideTheProgramReplaceSingleBuiltInOnes() {
        QDir(folder.path()).mkdir(QStringLiteral("skin"));
        QImage red(4, 4, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder.filePath(QStringLiteral("skin/play.svg")), "PNG"));
        setSkinSearchPaths(folder.path());
        QImage replaced(QStringLiteral("skin:play.svg"));
        QCOMPARE(replaced.size(), QSize(4, 4));
        // Pictures the folder does not hold still come from the program.
        QVERIFY(!QImage(QStringLiteral("skin:stop.svg")).isNull());
    }

    void sheetParsesWithoutWarnings() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("(?i)stylesheet|parse|Could not")));
        qApp->setStyleSheet(loadSkin(QString()));
        QWidget probe;
        probe.ensurePolished();
        qApp->setStyleSheet(QString());
    }

    void mainWindowKeepsItsSizeAndEveryCaptionFits() {
        makeAlbums(folder.path(), {{"春节旅行", 3, 2}, {"家庭聚会与生日晚会的照片", 0, 0}});
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        store::AlbumStore albums(folder.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(800, 567));
        for (int page : {0, 1}) {
            window.SbtEditpicClick(page);
            QCoreApplication::sendPostedEvents(); // let the layouts take the new captions
            const QStringList faults = layoutFaults(window);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        }
        // The glyph buttons show the skin's pictures, not their fallback characters.
        for (const char* name : {"BtnPP", "BtnNP", "BtnUP", "BtnDP"}) {
            auto* button = window.findChild<QToolButton*>(QString::fromLatin1(name));
            QVERIFY2(button && !button->icon().isNull(), name);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        }
        qApp->setStyleSheet(QString());
    }

    void albumDialogKeepsItsSizeAndEveryCaptionFits() {
        makeAlbums(folder.path(), {{"一", 0, 0}});
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        store::AlbumStore albums(folder.path().toStdString());
        albums.LoadInfo("A");
        ScriptedDialogs dialogs;
        TFrmAddA dialog(albums, dialogs);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(392, 356));
        const QStringList faults = layoutFaults(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        qApp->setStyleSheet(QString());
    }

    void pictureEditorKeepsItsSizeAndEveryCaptionFits() {
        makeAlbums(folder.path(), {{"假期", 2, 0}});
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        store::AlbumStore albums(folder.path().toStdString());
        albums.LoadInfo("A");
        albums.openAlbum(0);
        for (const auto& picture : albums.PicList) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QVERIFY(
                image.save(QString::fromStdString(albums.mediaFile(picture.FileName.gbk()).string()), "JPG"));
        }
        albums.PicIndex = 1;
        ScriptedDialogs dialogs;
        TFrmEditP editor(albums, dialogs);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.size(), QSize(462, 319));
        QStringList faults = layoutFaults(editor);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // Half way through a preview the preview button carries its stop caption.
        editor.setPreviewPause(std::chrono::milliseconds(0));
        editor.findChild<QListWidget*>(QStringLiteral("LbXG"))->setCurrentRow(63); // starts the preview
        QCOMPARE(editor.previewTag(), 1);
        while (editor.PreviewProgress() < 50)
            editor.Timer1Timer();
        QCOMPARE(editor.findChild<QPushButton*>(QStringLiteral("BtnLookXG"))->text(),
                 QStringLiteral("停止预览"));
        faults = layoutFaults(editor);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY(dialogs.messages.isEmpty());
        qApp->setStyleSheet(QString());
    }

    // Both import dialogs in the middle of a batch: the counter line and a path too long for
    // its line, which is shortened in the middle rather than cut off at the end.
    void importDialogsKeepTheirSizeAndEveryCaptionFits() {
        makeAlbums(folder.path(), {{"导入", 0, 0}});
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        store::AlbumStore albums(folder.path().toStdString());
        albums.LoadInfo("A");
        albums.openAlbum(0);
        ScriptedDialogs dialogs;
        const QString path = QStringLiteral("/home/用户/图片/二零二六年春节全家福与亲戚朋友聚会的合影照片集/"
                                            "第三卷/在奶奶家的院子里拍的全家福（最终修改版本）.jpg");
        std::unique_ptr<ImportProgressDialog> windows[] = {
            std::make_unique<TFrmAddP>(albums, QStringList{path, path, path}, dialogs),
            std::make_unique<TFrmAddM>(albums, QStringList{path, path, path})};
        for (auto& dialog : windows) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            QCOMPARE(dialog->size(), QSize(434, 125));
            dialog->fileStarting(1, 3, path);
            const auto* counter = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
            const auto* current = dialog->findChild<QLabel*>(QStringLiteral("Label2"));
            QCOMPARE(counter->text(), QStringLiteral("正在导入文件：（2/3）"));
            QVERIFY2(current->text().contains(QStringLiteral("…")), qPrintable(current->text()));
            QVERIFY(current->text().endsWith(QStringLiteral(".jpg")));
            QCOMPARE(current->toolTip(), path);
            const QStringList faults = layoutFaults(*dialog);
            QVERIFY2(faults.isEmpty(),
                     qPrintable(dialog->objectName() + QLatin1Char('\n') + faults.join(QLatin1Char('\n'))));
            dialog->hide();
        }
        qApp->setStyleSheet(QString());
    }

    // The percentage of a progress bar is drawn in one colour over the done part and the rest;
    // it must read on both (contrast ratio of at least 4.5, as for body text).
    void progressBarTextReadsOnItsChunk() {
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        QProgressBar bar;
        bar.resize(385, 17);
        bar.setRange(0, 100);
        bar.setValue(60);
        const QImage picture = bar.grab().toImage();
        qApp->setStyleSheet(QString());
        // The darkest chunk colour, in a column of the done part away from the text, and the
        // darkest pixel of the text in the middle of the bar.
        double chunk = 1.0;
        for (int y = 4; y < picture.height() - 4; ++y)
            chunk = std::min(chunk, luminance(picture.pixelColor(12, y)));
        double text = 1.0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = picture.width() / 2 - 20; x < picture.width() / 2 + 20; ++x)
                text = std::min(text, luminance(picture.pixelColor(x, y)));
        QVERIFY2((chunk + 0.05) / (text + 0.05) >= 4.5,
                 qPrintable(QStringLiteral("%1 %2").arg(chunk).arg(text)));
    }

    // The production dialog idle, and with the longest texts its status labels show during a
    // run (a render of more than ten hours, every stage).
    void productionDialogKeepsItsSizeAndEveryCaptionFits() {
        makeAlbums(folder.path(), {{"家庭聚会与生日晚会的照片", 2, 1}});
        qApp->setFont(interfaceFont());
        qApp->setStyleSheet(loadSkin(QString()));
        store::AlbumStore albums(folder.path().toStdString());
        albums.LoadInfo("A");
        albums.AlbumIndex = 0;
        albums.openAlbum(0);
        QDir().mkpath(folder.filePath(QStringLiteral("BackPic")));
        QImage blue(32, 32, QImage::Format_RGB888);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(folder.filePath(QStringLiteral("BackPic/cream_stripes_long_name.jpg")), "JPG"));
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(550, 463)); // with the three rows of the format choice
        QStringList faults = layoutFaults(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // With an MP4 format its encoder settings and their defaults show in the same rows.
        dialog.findChild<QRadioButton*>(QStringLiteral("RGOutTypeOther"))->click();
        faults = layoutFaults(dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        dialog.findChild<QRadioButton*>(QStringLiteral("RGOutTypeVCD"))->click();
        auto* progress = dialog.findChild<QLabel*>(QStringLiteral("Lguage"));
        auto* time = dialog.findChild<QLabel*>(QStringLiteral("LOverTine"));
        const double longTime = 99 * 3600 + 59 * 60 + 59;
        for (int stage : {0, 1, 2, 3, 4}) {
            const RunStatusTexts texts = progressTexts(
                production::RunProgress{production::runStageOf(stage), 100, 100, longTime, longTime});
            progress->setText(texts.progress);
            time->setText(texts.time);
            faults = layoutFaults(dialog);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        }
        qApp->setStyleSheet(QString());
    }

    // The version label is blue on the splash picture; what lies under it must be light
    // enough for the text to be read (contrast ratio of at least 4.5, as for body text).
    void splashVersionLabelStandsOut() {
        TForm1login splash;
        auto* version = splash.findChild<QLabel*>(QStringLiteral("LabVersion"));
        QVERIFY(version);
        const QImage picture = splash.grab().toImage();
        const QRect under = version->geometry();
        // The label's corners are background: the text does not reach them.
        double darkest = 1.0;
        for (QPoint corner : {under.topLeft(), under.topRight(), under.bottomLeft(), under.bottomRight()})
            darkest = std::min(darkest, luminance(picture.pixelColor(corner)));
        const double text = luminance(QColor(Qt::blue));
        QVERIFY2((darkest + 0.05) / (text + 0.05) >= 4.5, qPrintable(QString::number(darkest)));
    }
};

QTEST_MAIN(SkinTest)
#include "skin_test.moc"
