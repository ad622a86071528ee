// The picture editor's motion: the choice beside the effect, saving each kind into the album's
// motion file, the custom rectangles dragged and resized with the mouse, and the preview that
// plays the motion after the transition, also when it is stopped, browsed away or closed.

#include "album_fixture.h"
#include "app/picture_editor/motion_rect_overlay.h"
#include "app/picture_editor/picture_editor.h"
#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "media/picture_file.h"
#include "motion/face_finder.h"
#include "motion/motion_path.h"
#include "scripted_dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;
using Which = MotionRectOverlay::Which;
using Phase = PicturePreviewModel::Phase;

namespace {

// Wide pictures with detail everywhere, so that every move of the frame shows.
QImage detailedPicture(int i) {
    QImage picture(400, 250, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x + 40 * i) % 256, (y * 3) % 256, ((x / 10 + y / 10) % 2) * 200));
    return picture;
}

bool near(double a, double b, double tolerance = 1e-6) {
    return std::abs(a - b) <= tolerance;
}

} // namespace

class PictureEditorMotionTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmEditP> dialog;

    void open(int count, int current) {
        makeAlbums(root.path(), {{"动起来", count, 0}});
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        albums->LoadInfo("A");
        albums->openAlbum(0);
        for (int i = 0; i < count; ++i)
            QVERIFY(detailedPicture(i).save(fileOf(i), "JPG"));
        albums->PicIndex = current;
        startDialog();
    }
    void startDialog() {
        dialog = std::make_unique<TFrmEditP>(*albums, dialogs);
        dialog->setPreviewPause(std::chrono::milliseconds(0));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QString fileOf(int i) const {
        return QString::fromStdString(
            albums->mediaFile(albums->PicList[static_cast<std::size_t>(i)].FileName.gbk()).string());
    }
    template <class T = QWidget> T* control(const char* name) {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QComboBox* combo(const char* name) { return control<QComboBox>(name); }
    MotionRectOverlay* overlay() { return control<MotionRectOverlay>("ImgMotion"); }
    QImage shown() { return control<PictureView>("ImgShow")->picture(); }
    // A choice as the user makes it: the item becomes current and the box reports it.
    void choose(const char* name, int index) {
        QComboBox* box = combo(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    store::PictureMotion storedMotion(int index) {
        return store::MotionTable::load(albums->AlbumPath())
            .get(albums->PicList[static_cast<std::size_t>(index)].FileName.gbk());
    }
    QSize pictureSize() const { return detailedPicture(0).size(); }
    void checkShape(const store::MotionRect& rect, double aspect, const char* what) {
        QVERIFY2(store::isOnPicture(rect), what);
        const double shape = motion::aspectOn(rect, pictureSize().width(), pictureSize().height());
        QVERIFY2(near(shape, aspect, 1e-9 * aspect + 1e-9),
                 qPrintable(QStringLiteral("%1: aspect %2").arg(what).arg(shape)));
    }
    void drag(QPointF from, QPointF to) {
        QWidget* target = overlay();
        QTest::mousePress(target, Qt::LeftButton, {}, from.toPoint());
        QTest::mouseMove(target, ((from + to) / 2).toPoint());
        QTest::mouseMove(target, to.toPoint());
        QTest::mouseRelease(target, Qt::LeftButton, {}, to.toPoint());
    }

  private slots:
    void init() {
        QVERIFY(root.isValid());
        dialogs = ScriptedDialogs();
    }
    void cleanup() {
        dialog.reset();
        albums.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void motionControlsCarryTheirCaptions() {
        open(2, 0);
        QCOMPARE(dialog->size(), QSize(462, 319));
        const std::pair<const char*, QStringList> boxes[] = {
            {"CbMotion", {"无", "自动", "自定义"}},
            {"CbEasing", {"线性", "渐快", "渐慢", "渐快渐慢"}},
            {"CbAspect", {"4:3", "16:9", "9:16", "1:1"}},
        };
        for (const auto& [name, items] : boxes) {
            QStringList shownItems;
            for (int i = 0; i < combo(name)->count(); ++i)
                shownItems << combo(name)->itemText(i);
            QCOMPARE(shownItems, items);
            QCOMPARE(combo(name)->currentIndex(), 0);
        }
        QCOMPARE(control<QLabel>("LMotion")->text(), QStringLiteral("动态："));
        QCOMPARE(control<QLabel>("LEasing")->text(), QStringLiteral("缓动："));
        QCOMPARE(control<QLabel>("LAspect")->text(), QStringLiteral("画幅："));
        // Without a motion there is nothing to ease, shape or drag.
        QVERIFY(!combo("CbEasing")->isEnabled());
        QVERIFY(!combo("CbAspect")->isEnabled());
        QVERIFY(!overlay()->isVisible());
        QVERIFY(!control("BtnSave")->isEnabled());
    }

    // Each kind is shown, saved with 保存 (the record's row reported as for any edit), shown
    // again at the next opening, and "无" removes it.
    void eachKindIsShownAndSaved() {
        struct Case {
            const char* name;
            int kind;
            int easing; // -1: not chosen
            int aspect;
        };
        const Case cases[] = {{"automatic", 1, -1, 0},
                              {"custom", 2, -1, 0},
                              {"custom eased 16:9", 2, 3, 1},
                              {"custom square", 2, 1, 3}};
        for (const Case& c : cases) {
            open(3, 1);
            QSignalSpy rows(dialog.get(), &TFrmEditP::pictureRowChanged);
            choose("CbAspect", c.aspect);
            choose("CbMotion", c.kind);
            if (c.easing >= 0)
                choose("CbEasing", c.easing);
            QVERIFY2(control("BtnSave")->isEnabled(), c.name);
            QCOMPARE(overlay()->isVisible(), c.kind == 2);
            QCOMPARE(combo("CbEasing")->isEnabled(), c.kind == 2);
            const store::PictureMotion edited = dialog->editedMotion();
            QCOMPARE(static_cast<int>(edited.kind), c.kind);
            if (c.kind == 2) {
                const double aspect =
                    std::array{4.0 / 3, 16.0 / 9, 9.0 / 16, 1.0}[static_cast<std::size_t>(c.aspect)];
                checkShape(edited.start, aspect, c.name);
                checkShape(edited.end, aspect, c.name);
                QVERIFY2(edited.end.width < edited.start.width, "a new custom motion zooms in");
                QCOMPARE(static_cast<int>(edited.easing), std::max(c.easing, 0));
            }
            control<QPushButton>("BtnSave")->click();
            QVERIFY(!control("BtnSave")->isEnabled());
            QCOMPARE(rows.count(), 1);
            QVERIFY2(storedMotion(1) == edited, c.name);
            QCOMPARE(storedMotion(0).kind, store::MotionKind::None);

            // Shown as stored at the next opening, with nothing to save.
            dialog.reset();
            startDialog();
            QCOMPARE(combo("CbMotion")->currentIndex(), c.kind);
            QCOMPARE(combo("CbEasing")->currentIndex(), std::max(c.easing, 0));
            if (c.kind == 2)
                QCOMPARE(combo("CbAspect")->currentIndex(), c.aspect);
            QVERIFY2(dialog->editedMotion() == edited, c.name);
            QVERIFY(!control("BtnSave")->isEnabled());

            choose("CbMotion", 0);
            QVERIFY(control("BtnSave")->isEnabled());
            control<QPushButton>("BtnSave")->click();
            QCOMPARE(storedMotion(1).kind, store::MotionKind::None);
            cleanup();
        }
    }

    // Going back to the stored kind leaves nothing to save; the custom rectangles drawn are kept
    // while another kind is tried.
    void customRectanglesSurviveTryingAnotherKind() {
        open(2, 1);
        choose("CbMotion", 2);
        const QRectF end = overlay()->shownRect(Which::End);
        drag(end.center(), end.center() + QPointF(-20, 5));
        const store::PictureMotion drawn = dialog->editedMotion();
        choose("CbMotion", 1);
        choose("CbMotion", 0);
        QVERIFY(!control("BtnSave")->isEnabled());
        choose("CbMotion", 2);
        QVERIFY(dialog->editedMotion() == drawn);
    }

    // Moves and corner drags, also far past the picture's edges: the rectangle keeps the
    // frame's shape and stays on the picture.
    void draggingKeepsTheShapeAndThePicture() {
        struct Case {
            const char* name;
            int aspect;
            Which which;
            int grip; // 0 inside, 1 top-left corner, 2 bottom-right corner
            QPointF by;
        };
        const Case cases[] = {
            {"move right out", 0, Which::End, 0, {500, 0}},
            {"move up out", 0, Which::End, 0, {0, -300}},
            {"move start", 0, Which::Start, 0, {-15, 10}},
            {"grow past the edge", 0, Which::End, 2, {400, 400}},
            {"shrink past the corner", 0, Which::End, 1, {400, 400}},
            {"grow up-left", 1, Which::End, 1, {-300, -50}},
            {"tall frame", 2, Which::Start, 1, {20, 30}},
            {"square moved", 3, Which::End, 0, {-500, 500}},
        };
        for (const Case& c : cases) {
            open(2, 0);
            choose("CbAspect", c.aspect);
            choose("CbMotion", 2);
            const double aspect = dialog->frameAspect();
            QCOMPARE(overlay()->aspect(), aspect);
            const store::MotionRect before = overlay()->rect(c.which);
            const Which other = c.which == Which::Start ? Which::End : Which::Start;
            const store::MotionRect otherBefore = overlay()->rect(other);
            const QRectF r = overlay()->shownRect(c.which);
            const QPointF from = c.grip == 0   ? r.center() + QPointF(0, r.height() / 4)
                                 : c.grip == 1 ? r.topLeft() + QPointF(1, 1)
                                               : r.bottomRight() - QPointF(1, 1);
            // The end rectangle lies inside the start one: its inside is found first, and the
            // start one is reached at a point of its own.
            const QPointF at =
                c.which == Which::Start && c.grip == 0 ? r.topLeft() + QPointF(r.width() / 2, 4) : from;
            drag(at, at + c.by);
            const store::MotionRect after = overlay()->rect(c.which);
            QVERIFY2(after != before, c.name);
            checkShape(after, aspect, c.name);
            QVERIFY2(overlay()->rect(other) == otherBefore, c.name);
            const store::PictureMotion edited = dialog->editedMotion();
            QVERIFY2((c.which == Which::Start ? edited.start : edited.end) == after, c.name);
            QVERIFY(control("BtnSave")->isEnabled());
            if (c.grip == 0) {
                QVERIFY2(near(after.width, before.width) && near(after.height, before.height), c.name);
            } else {
                // The opposite corner held.
                const bool fromTopLeft = c.grip == 1;
                const double heldX = fromTopLeft ? before.x + before.width : before.x;
                const double heldY = fromTopLeft ? before.y + before.height : before.y;
                QVERIFY2(near(fromTopLeft ? after.x + after.width : after.x, heldX), c.name);
                QVERIFY2(near(fromTopLeft ? after.y + after.height : after.y, heldY), c.name);
            }
            if (QByteArray(c.name).contains("out") || (c.grip == 2 && c.by.x() > 0))
                QVERIFY2(near(after.x + after.width, 1) || near(after.x, 0) || near(after.y, 0) ||
                             near(after.y + after.height, 1),
                         "pushed against an edge");
            if (QByteArray(c.name).contains("shrink")) {
                const store::MotionRect largest =
                    motion::largestRect(pictureSize().width(), pictureSize().height(), aspect);
                QVERIFY(near(after.width, MotionRectOverlay::kMinScale * largest.width));
            }
            cleanup();
        }
    }

    // Escape during a drag takes the drag back and leaves the dialog open; a double click moves
    // nothing; Escape without a drag closes the dialog.
    void escapeAndDoubleClickOnTheRectangles() {
        open(2, 0);
        choose("CbMotion", 2);
        const store::MotionRect before = overlay()->rect(Which::End);
        const QPoint centre = overlay()->shownRect(Which::End).center().toPoint();
        QTest::mousePress(overlay(), Qt::LeftButton, {}, centre);
        QTest::mouseMove(overlay(), centre + QPoint(30, 10));
        QVERIFY(overlay()->rect(Which::End) != before);
        QTest::keyClick(overlay(), Qt::Key_Escape);
        QVERIFY(overlay()->rect(Which::End) == before);
        QVERIFY(dialog->editedMotion().end == before);
        QVERIFY(dialog->isVisible());
        QTest::mouseRelease(overlay(), Qt::LeftButton, {}, centre + QPoint(30, 10));
        QVERIFY(overlay()->rect(Which::End) == before);

        // A double click as the window system delivers it: press, release, double click, release.
        QTest::mouseClick(overlay(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(overlay(), Qt::LeftButton, {}, centre);
        QTest::mouseRelease(overlay(), Qt::LeftButton, {}, centre);
        QVERIFY(!overlay()->dragging());
        QVERIFY(overlay()->rect(Which::End) == before);
        QVERIFY(dialog->isVisible());

        QTest::keyClick(overlay(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }

    // The preview: the transition from the previous picture, then the motion at the picture's
    // time (20 ticks of 50 ms a second), every frame a step on, and the end on the still picture
    // with the rectangles back over it.
    void previewPlaysTheTransitionThenTheMotion() {
        open(2, 1);
        choose("CbMotion", 2);
        control<QLineEdit>("EdtSJ")->setText(QStringLiteral("2"));
        const QImage still = shown();
        dialog->BtnLookXGClick();
        QVERIFY(!overlay()->isVisible());
        QVERIFY(control<QTimer>("Timer1")->isActive());
        for (int i = 0; i < 25; ++i)
            dialog->Timer1Timer();
        const PicturePreviewModel& model = dialog->previewModel();
        QCOMPARE(model.phase(), Phase::Motion);
        QVERIFY(model.motion().has_value());
        QCOMPARE(model.motion()->ticks, 40);
        QImage previous = shown();
        for (int tick = 1; tick <= 40; ++tick) {
            dialog->Timer1Timer();
            QVERIFY2(shown() != previous, qPrintable(QStringLiteral("tick %1").arg(tick)));
            previous = shown();
        }
        QCOMPARE(dialog->previewTag(), 1);
        dialog->Timer1Timer();
        QCOMPARE(model.phase(), Phase::Idle);
        QCOMPARE(dialog->previewTag(), 0);
        QVERIFY(!control<QTimer>("Timer1")->isActive());
        QCOMPARE(shown(), still);
        QVERIFY(overlay()->isVisible());
    }

    // A preview started again after a stop request, before the tick that ends the first one,
    // still brings in the picture, not the frame the first one had drawn.
    void previewStartedAgainBeforeItsStopBringsInThePicture() {
        open(2, 1);
        const QImage still = shown();
        dialog->BtnLookXGClick();
        for (int i = 0; i < 10; ++i)
            dialog->Timer1Timer();
        QVERIFY(shown() != still);
        dialog->BtnLookXGClick(); // stop request
        dialog->BtnLookXGClick(); // and again at once
        QCOMPARE(dialog->previewTag(), 1);
        for (int i = 0; i < 25; ++i)
            dialog->Timer1Timer();
        QVERIFY(!dialog->previewModel().running());
        QCOMPARE(shown(), still);
    }

    // The automatic motion of the preview is the program's choice for the decoded picture.
    void automaticPreviewShowsTheChosenMotion() {
        open(2, 0);
        choose("CbMotion", 1);
        choose("CbAspect", 1);
        dialog->BtnLookXGClick();
        const PicturePreviewModel& model = dialog->previewModel();
        QVERIFY(model.motion().has_value());
        media::MessageList messages;
        const QImage picture = media::LoadPictureFile(fileOf(0), messages);
        const motion::CascadeFaceFinder faces;
        const int seconds = albums->PicList[0].StayTime;
        QVERIFY(model.motion()->path == motion::chooseAutomaticMotion(picture, 16.0 / 9, seconds, &faces));
        QCOMPARE(model.motion()->ticks, seconds * 20);
        // The frame has the 16:9 shape in the box.
        QCOMPARE(model.motion()->frame.width(), 185);
        QCOMPARE(model.motion()->frame.height(), 104);
    }

    // Browsing with 下一张 and 上一张 or pressing Escape while the picture moves ends the preview.
    void browsingAndEscapeWhileThePictureMoves() {
        open(3, 1);
        for (const char* browse : {"SbtnNP", "SbtnPP"}) {
            choose("CbMotion", 1);
            control<QPushButton>("BtnSave")->click();
            control<QToolButton>(browse)->click();
        }
        QCOMPARE(albums->PicIndex, 1);
        for (const char* browse : {"SbtnNP", "SbtnPP"}) {
            dialog->BtnLookXGClick();
            for (int i = 0; i < 30; ++i)
                dialog->Timer1Timer();
            QCOMPARE(dialog->previewModel().phase(), Phase::Motion);
            control<QToolButton>(browse)->click();
            QVERIFY(!dialog->previewModel().running());
            QVERIFY(!control<QTimer>("Timer1")->isActive());
            QCOMPARE(dialog->previewTag(), 0);
            media::MessageList messages;
            const QImage expected = media::LoadPictureFile(fileOf(albums->PicIndex), messages);
            QCOMPARE(shown(), fitIntoBlackBox(expected, QSize(185, 153)));
            // The picture browsed to shows its own motion.
            QCOMPARE(combo("CbMotion")->currentIndex(), 1);
            dialog->Timer1Timer(); // a tick already queued draws nothing
            QCOMPARE(shown(), fitIntoBlackBox(expected, QSize(185, 153)));
        }
        QCOMPARE(albums->PicIndex, 1);
        dialog->BtnLookXGClick();
        for (int i = 0; i < 30; ++i)
            dialog->Timer1Timer();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!control<QTimer>("Timer1")->isActive());
        QVERIFY(!dialog->previewModel().running());
    }
};

QTEST_MAIN(PictureEditorMotionTest)
#include "picture_editor_motion_test.moc"
