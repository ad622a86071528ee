// The picture editor: controls and captions, browsing, the display-time rules, the save
// button's rule, saving, the common time and the transition preview driven tick by tick.

#include "album_fixture.h"
#include "app/picture_editor/picture_editor.h"
#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "media/bitmap_bridge.h"
#include "media/picture_file.h"
#include "scripted_dialogs.h"
#include "store/gbk_text.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

// Distinct colours and shapes (wide, tall, square) so that every picture is told apart.
QColor pictureColour(int i) {
    return QColor::fromHsv((i * 67) % 360, 220, 230);
}
QSize pictureSize(int i) {
    const QSize sizes[] = {{200, 100}, {90, 180}, {120, 120}, {160, 90}, {300, 140}};
    return sizes[i % 5];
}

// Types any text as key presses, also characters QTest::keyClicks cannot type.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

bool allBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::black))
                return false;
    return true;
}

} // namespace

class PictureEditorTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmEditP> dialog;

    // An album of `count` pictures with real picture files, opened on picture `current`.
    void open(int count, int current) {
        makeAlbums(root.path(), {{"假期", count, 0}});
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        albums->LoadInfo("A");
        albums->openAlbum(0);
        for (int i = 0; i < count; ++i) {
            QImage picture(pictureSize(i), QImage::Format_RGB32);
            picture.fill(pictureColour(i));
            const auto file = albums->mediaFile(albums->PicList[static_cast<std::size_t>(i)].FileName.gbk());
            QVERIFY(picture.save(QString::fromStdString(file.string()), "JPG"));
        }
        albums->PicIndex = current;
        startDialog();
    }
    void startDialog() {
        dialog = std::make_unique<TFrmEditP>(*albums, dialogs);
        dialog->setPreviewPause(std::chrono::milliseconds(0));
    }
    template <class T = QWidget> T* control(const char* name) {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QImage shown() { return control<PictureView>("ImgShow")->picture(); }
    QTimer* timer() { return control<QTimer>("Timer1"); }
    store::TPicInfo storedRecord(int index) {
        store::AlbumStore reread(root.path().toStdString());
        reread.LoadInfo("A");
        reread.openAlbum(0);
        return reread.PicList.at(static_cast<std::size_t>(index));
    }
    // Replaces the whole time text as the user does: select everything and type over it.
    void typeTime(const QString& text) {
        QLineEdit* field = edit("EdtSJ");
        field->selectAll();
        QTest::keyClicks(field, text);
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

    void controlsCarryTheirCaptions() {
        open(3, 0);
        QCOMPARE(dialog->size(), QSize(462, 319));
        QCOMPARE(control<QGroupBox>("GroupBox3")->title(), QStringLiteral("图片信息编辑："));
        QCOMPARE(control<QGroupBox>("GroupBox1")->title(), QStringLiteral("效果预览："));
        QCOMPARE(control<QGroupBox>("GroupBox2")->title(), QStringLiteral("查看控制："));
        QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("图片题目："));
        QCOMPARE(control<QLabel>("Label3")->text(), QStringLiteral("停留时间："));
        QCOMPARE(control<QLabel>("Label2")->text(), QStringLiteral("变幻效果："));
        const std::pair<const char*, QString> buttons[] = {
            {"Btn_X", QStringLiteral("-")},         {"BtnM", QStringLiteral("+")},
            {"BtnToAll", QStringLiteral("到全部")}, {"SbtnPP", QStringLiteral("上一张")},
            {"SbtnNP", QStringLiteral("下一张")},   {"BtnLookXG", QStringLiteral("效果预览")},
            {"BtnHelp", QStringLiteral("帮助")},    {"BtnSave", QStringLiteral("保存")},
            {"BtnExit", QStringLiteral("返回")},
        };
        for (const auto& [name, caption] : buttons)
            QCOMPARE(control<QAbstractButton>(name)->text(), caption);
        QCOMPARE(control("BtnToAll")->toolTip(), QStringLiteral("将当前时间应用到本相册的所有图片"));

        // The "-" and "+" buttons lie inside the right end of the time field.
        QLineEdit* time = edit("EdtSJ");
        for (const char* name : {"Btn_X", "BtnM"}) {
            QWidget* button = control(name);
            QCOMPARE(button->parentWidget(), time);
            QVERIFY(time->rect().contains(button->geometry()));
            QVERIFY(button->geometry().left() > time->width() / 3);
        }
        QVERIFY(control("BtnM")->geometry().right() >= time->width() - 4);

        auto* list = control<QListWidget>("LbXG");
        QCOMPARE(list->count(), 106);
        QCOMPARE(list->item(0)->text(), QStringLiteral("000 随机效果"));
        QCOMPARE(list->item(105)->text(), QStringLiteral("105 星形顺时针旋转"));

        QCOMPARE(control("PnlXG")->size(), QSize(185, 153));
        QCOMPARE(control("ImgShow")->size(), QSize(185, 153));
        QVERIFY(allBlack(control<PictureView>("Img1")->picture()));
        QCOMPARE(control<PictureView>("Img1")->picture().size(), QSize(185, 153));
        QCOMPARE(timer()->interval(), 50);
        QVERIFY(!timer()->isActive());
        QVERIFY(!control("BtnSave")->isEnabled());
        QCOMPARE(dialog->previewTag(), 0);

        // The record is shown: title, time and effect.
        QCOMPARE(edit("EdtTM")->text(), QStringLiteral("图0"));
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("1"));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(!allBlack(shown()));
        dialog->BtnHelpClick(); // does nothing
        QVERIFY(dialogs.messages.isEmpty());
    }

    void captionAndBrowseButtons_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("previousEnabled");
        QTest::addColumn<bool>("nextEnabled");
        QTest::newRow("first of five") << 5 << 0 << false << true;
        QTest::newRow("middle of five") << 5 << 2 << true << true;
        QTest::newRow("last of five") << 5 << 4 << true << false;
        QTest::newRow("the only one") << 1 << 0 << false << false;
    }
    void captionAndBrowseButtons() {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(bool, previousEnabled);
        QFETCH(bool, nextEnabled);
        open(count, current);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("图片编辑[第[%1]张]").arg(current + 1));
        QCOMPARE(control("SbtnPP")->isEnabled(), previousEnabled);
        QCOMPARE(control("SbtnNP")->isEnabled(), nextEnabled);
    }

    void browsingShowsTheNeighbourAndDropsEdits() {
        open(3, 1);
        QSignalSpy selected(dialog.get(), &TFrmEditP::currentPictureChanged);
        edit("EdtTM")->setText(QStringLiteral("未保存"));
        QVERIFY(control("BtnSave")->isEnabled());
        const QImage middle = shown();

        control<QToolButton>("SbtnNP")->click();
        QCOMPARE(albums->PicIndex, 2);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("图片编辑[第[3]张]"));
        QCOMPARE(edit("EdtTM")->text(), QStringLiteral("图2"));
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("3"));
        QVERIFY(!control("SbtnNP")->isEnabled());
        QVERIFY(control("SbtnPP")->isEnabled());
        QVERIFY(!control("BtnSave")->isEnabled());
        QVERIFY(shown() != middle);

        control<QToolButton>("SbtnPP")->click();
        control<QToolButton>("SbtnPP")->click();
        QCOMPARE(albums->PicIndex, 0);
        QVERIFY(!control("SbtnPP")->isEnabled());
        QVERIFY(control("SbtnNP")->isEnabled());
        QCOMPARE(selected.size(), 3);
        QCOMPARE(selected.at(0).at(0).toInt(), 2);
        QCOMPARE(selected.at(2).at(0).toInt(), 0);
        // The edit of the middle picture was dropped.
        QCOMPARE(QString::fromStdString(albums->PicList[1].Title.text()), QStringLiteral("图1"));
        QCOMPARE(QString::fromStdString(storedRecord(1).Title.text()), QStringLiteral("图1"));
    }

    // The field takes any digits while it is edited; leaving it (or using it) makes the text a
    // time: empty gives the picture's stored time back (1 here), 0 gives 3, and more than an
    // hour is reported and becomes an hour.
    void displayTimeRules_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");    // the text before the field is left
        QTest::addColumn<QString>("expected"); // after
        QTest::addColumn<bool>("reported");
        QTest::newRow("0 gives 3 when left") << "7"
                                             << "type 0"
                                             << "0"
                                             << "3" << false;
        QTest::newRow("typing 12") << "7"
                                   << "type 12"
                                   << "12"
                                   << "12" << false;
        QTest::newRow("a leading 0 can be typed") << "7"
                                                  << "type 05"
                                                  << "05"
                                                  << "05" << false;
        QTest::newRow("empty gives the stored time") << "7"
                                                     << "backspace"
                                                     << ""
                                                     << "1" << false;
        QTest::newRow("an hour is accepted") << "7"
                                             << "type 3600"
                                             << "3600"
                                             << "3600" << false;
        QTest::newRow("over an hour becomes an hour") << "7"
                                                      << "type 3601"
                                                      << "3601"
                                                      << "3600" << true;
        QTest::newRow("digits past any number") << "7"
                                                << "type 99999999999999999999"
                                                << "99999999999999999999"
                                                << "3600" << true;
        QTest::newRow("minus at 1 gives 3") << "1"
                                            << "minus"
                                            << "3"
                                            << "3" << false;
        QTest::newRow("minus at 5") << "5"
                                    << "minus"
                                    << "4"
                                    << "4" << false;
        QTest::newRow("minus on an empty field") << ""
                                                 << "minus"
                                                 << "3"
                                                 << "3" << false;
        QTest::newRow("plus at 5") << "5"
                                   << "plus"
                                   << "6"
                                   << "6" << false;
        QTest::newRow("plus below the bound") << "3599"
                                              << "plus"
                                              << "3600"
                                              << "3600" << false;
        QTest::newRow("plus stops at the bound") << "3600"
                                                 << "plus"
                                                 << "3600"
                                                 << "3600" << false;
        QTest::newRow("plus on an empty field") << ""
                                                << "plus"
                                                << "2"
                                                << "2" << false;
        QTest::newRow("letters are discarded") << "5"
                                               << "type a"
                                               << "5"
                                               << "5" << false;
        QTest::newRow("minus sign is discarded") << "5"
                                                 << "type -"
                                                 << "5"
                                                 << "5" << false;
        QTest::newRow("backspace deletes") << "15"
                                           << "backspace"
                                           << "1"
                                           << "1" << false;
        QTest::newRow("delete works") << "15"
                                      << "delete"
                                      << "5"
                                      << "5" << false;
        QTest::newRow("ctrl+a selects all") << "15"
                                            << "ctrl+a 8"
                                            << "8"
                                            << "8" << false;
    }
    void displayTimeRules() {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(bool, reported);
        open(2, 0);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QLineEdit* field = edit("EdtSJ");
        field->setFocus();
        field->setText(start);
        if (action.startsWith(QStringLiteral("type "))) {
            typeTime(action.mid(5));
        } else if (action == QStringLiteral("minus")) {
            control<QToolButton>("Btn_X")->click();
        } else if (action == QStringLiteral("plus")) {
            control<QToolButton>("BtnM")->click();
        } else if (action == QStringLiteral("backspace")) {
            field->setCursorPosition(field->text().size());
            QTest::keyClick(field, Qt::Key_Backspace);
        } else if (action == QStringLiteral("delete")) {
            field->setCursorPosition(0);
            QTest::keyClick(field, Qt::Key_Delete);
        } else if (action == QStringLiteral("ctrl+a 8")) {
            field->setCursorPosition(0);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, QStringLiteral("8"));
        }
        QCOMPARE(field->text(), typed);
        QVERIFY(dialogs.messages.isEmpty()); // nothing is said while the field is edited
        edit("EdtTM")->setFocus();           // leave the field
        QVERIFY(!field->hasFocus());
        QCOMPARE(field->text(), expected);
        QCOMPARE(dialogs.messages,
                 reported ? QStringList{QStringLiteral("停留时间最长为 3600 秒（1 小时），已改为 3600 秒。")}
                          : QStringList{});
    }

    void emptyTimeFieldKeepsTheStoredTime() {
        open(2, 0);
        edit("EdtTM")->setText(QStringLiteral("新题目"));
        edit("EdtSJ")->setText(QString());
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(control("BtnSave")->isEnabled());

        control<QPushButton>("BtnSave")->click();
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("1"));
        const store::TPicInfo saved = storedRecord(0);
        QCOMPARE(QString::fromStdString(saved.Title.text()), QStringLiteral("新题目"));
        QCOMPARE(saved.StayTime, 1);

        edit("EdtSJ")->setText(QString());
        control<QPushButton>("BtnToAll")->click();
        QCOMPARE(storedRecord(1).StayTime, 1);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void aTimeOverAnHourIsNotStored() {
        open(3, 1);
        typeTime(QStringLiteral("2147483647"));
        control<QPushButton>("BtnSave")->click();
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("停留时间最长为 3600 秒（1 小时），已改为 3600 秒。")});
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("3600"));
        QCOMPARE(storedRecord(1).StayTime, 2);
        QVERIFY(control("BtnSave")->isEnabled()); // the bound is shown; saving again stores it
        control<QPushButton>("BtnSave")->click();
        QCOMPARE(storedRecord(1).StayTime, 3600);

        typeTime(QStringLiteral("4000"));
        control<QPushButton>("BtnToAll")->click();
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(storedRecord(0).StayTime, 1);
        QCOMPARE(storedRecord(2).StayTime, 3);
    }

    void toAllAppliesTheTypedTime() {
        open(4, 1);
        QSignalSpy changed(dialog.get(), &TFrmEditP::pictureRowChanged);
        QSignalSpy typed(dialog.get(), &TFrmEditP::timeTextAppliedToAll);
        edit("EdtTM")->setText(QStringLiteral("不带过去"));
        typeTime(QStringLiteral("05"));
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("05"));
        const bool saveBefore = control("BtnSave")->isEnabled();

        control<QPushButton>("BtnToAll")->click();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(albums->PicList[static_cast<std::size_t>(i)].StayTime, 5);
            QCOMPARE(storedRecord(i).StayTime, 5);
        }
        QCOMPARE(changed.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(changed.at(i).at(0).toInt(), i);
        QCOMPARE(typed.size(), 1);
        QCOMPARE(typed.at(0).at(0).toString(), QStringLiteral("05"));
        // Only the time is taken over; the field keeps what was typed and the button its state.
        QCOMPARE(QString::fromStdString(storedRecord(1).Title.text()), QStringLiteral("图1"));
        QCOMPARE(edit("EdtSJ")->text(), QStringLiteral("05"));
        QCOMPARE(control("BtnSave")->isEnabled(), saveBefore);
    }

    void saveButtonRule_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("effect");
        QTest::addColumn<bool>("enabled");
        // The record shown is title "图2", time 3, effect 0.
        QTest::newRow("unchanged") << "图2"
                                   << "3" << 0 << false;
        QTest::newRow("blanks around the title") << "  图2 "
                                                 << "3" << 0 << false;
        QTest::newRow("other title") << "图22"
                                     << "3" << 0 << true;
        QTest::newRow("title case differs") << "图2a"
                                            << "3" << 0 << true;
        QTest::newRow("other time") << "图2"
                                    << "4" << 0 << true;
        QTest::newRow("leading zero counts") << "图2"
                                             << "03" << 0 << true;
        QTest::newRow("other effect") << "图2"
                                      << "3" << 17 << true;
    }
    void saveButtonRule() {
        QFETCH(QString, title);
        QFETCH(QString, time);
        QFETCH(int, effect);
        QFETCH(bool, enabled);
        open(3, 2);
        auto* list = control<QListWidget>("LbXG");
        {
            const QSignalBlocker blocker(list);
            list->setCurrentRow(effect);
        }
        dialog->LbXGClick();
        QCOMPARE(dialog->previewTag(), 1);
        dialog->BtnLookXGClick(); // the click started a preview; stop it
        edit("EdtSJ")->setText(time);
        edit("EdtTM")->setText(title);
        QCOMPARE(control("BtnSave")->isEnabled(), enabled);
    }

    void saveWritesTheRecordAndReportsTheRow() {
        open(3, 1);
        QSignalSpy changed(dialog.get(), &TFrmEditP::pictureRowChanged);
        edit("EdtTM")->setText(QStringLiteral("  海边日落  "));
        typeTime(QStringLiteral("8"));
        control<QListWidget>("LbXG")->setCurrentRow(63);
        control<QPushButton>("BtnSave")->click();

        QVERIFY(!control("BtnSave")->isEnabled());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 1);
        const store::TPicInfo saved = storedRecord(1);
        QCOMPARE(QString::fromStdString(saved.Title.text()), QStringLiteral("海边日落"));
        QCOMPARE(saved.StayTime, 8);
        QCOMPARE(saved.Effect, 63);
        QCOMPARE(QString::fromStdString(saved.FileName.text()), QStringLiteral("P1.jpg"));
        QCOMPARE(QString::fromStdString(storedRecord(0).Title.text()), QStringLiteral("图0"));
    }

    void aFailedWriteKeepsTheRecordsAsTheFileHasThem() {
        open(3, 1);
        QSignalSpy changed(dialog.get(), &TFrmEditP::pictureRowChanged);
        // A folder in place of the list file: the list cannot be rewritten.
        const QString list = QString::fromStdString((albums->AlbumPath() / "PicInfo").string());
        QVERIFY(QFile::remove(list));
        QVERIFY(QDir().mkpath(list + QStringLiteral("/blocked")));

        edit("EdtTM")->setText(QStringLiteral("写不进去"));
        control<QPushButton>("BtnSave")->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(QString::fromStdString(albums->PicList[1].Title.text()), QStringLiteral("图1"));
        QVERIFY(control("BtnSave")->isEnabled());

        typeTime(QStringLiteral("9"));
        control<QPushButton>("BtnToAll")->click();
        QCOMPARE(dialogs.messages.size(), 2);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(albums->PicList[static_cast<std::size_t>(i)].StayTime, i + 1);
        QCOMPARE(changed.size(), 0);
    }

    void titleIsLimitedTo36GbkBytes() {
        open(1, 0);
        QLineEdit* title = edit("EdtTM");
        title->clear();
        // 17 characters of two bytes each (34 bytes): one more fits, the second does not.
        typeText(title, QString(17, QChar(u'图')));
        typeText(title, QStringLiteral("ab"));
        typeText(title, QStringLiteral("c图"));
        QCOMPARE(title->text(), QString(17, QChar(u'图')) + QStringLiteral("ab"));

        // 40 bytes set by other means are saved as the first 36.
        title->setText(QString(20, QChar(u'景')));
        control<QPushButton>("BtnSave")->click();
        const store::TPicInfo saved = storedRecord(0);
        QCOMPARE(saved.Title.gbk().size(), std::size_t{36});
        QCOMPARE(QString::fromStdString(saved.Title.text()), QString(18, QChar(u'景')));
    }

    // Opens the preview of a middle picture with the fade and checks every step against the
    // effect drawn on a copy, then the end on the picture itself.
    void previewDraws24StepsThenThePicture() {
        open(3, 1);
        auto* list = control<QListWidget>("LbXG");
        {
            const QSignalBlocker blocker(list);
            list->setCurrentRow(1);
        }
        const QImage picture = shown();
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->previewTag(), 1);
        QCOMPARE(control<QPushButton>("BtnLookXG")->text(), QStringLiteral("停止预览"));
        QVERIFY(timer()->isActive());
        QCOMPARE(dialog->PreviewEffect(), 1);
        QCOMPARE(dialog->PreviewProgress(), 0);
        const QImage previous = shown();
        QVERIFY(previous != picture);
        QVERIFY(!allBlack(previous));

        effects::Bitmap expected = media::bitmapFromImage(previous);
        const effects::Bitmap incoming = media::bitmapFromImage(picture);
        effects::ScriptedRandom unused;
        for (int step = 1; step <= 24; ++step) {
            dialog->Timer1Timer();
            QCOMPARE(dialog->PreviewProgress(), 4 * step);
            effects::FindEffect(1)->Proc(expected, incoming, expected.bounds(), effects::kDefaultGrain,
                                         4 * step, unused);
            QVERIFY2(media::bitmapFromImage(shown()) == expected,
                     qPrintable(QStringLiteral("step %1").arg(step)));
            QVERIFY(timer()->isActive());
        }
        dialog->Timer1Timer();
        QVERIFY(!timer()->isActive());
        QCOMPARE(shown(), picture);
        QCOMPARE(dialog->previewTag(), 0);
        QCOMPARE(control<QPushButton>("BtnLookXG")->text(), QStringLiteral("效果预览"));
    }

    void previewOfTheFirstPictureStartsFromBlack() {
        open(3, 0);
        dialog->setPreviewPause(std::chrono::milliseconds(60000));
        const QImage picture = shown();
        dialog->BtnLookXGClick();
        QVERIFY(allBlack(shown()));
        QVERIFY(!timer()->isActive()); // still in the pause
        // A stop request during the pause ends on the picture.
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->previewTag(), 0);
        QCOMPARE(shown(), picture);
    }

    void pauseKeepsTheWindowResponsive() {
        open(2, 1);
        dialog->setPreviewPause(std::chrono::milliseconds(30));
        dialog->show();
        dialog->BtnLookXGClick();
        // The call returned during the pause, and the event loop then starts the steps.
        QVERIFY(!timer()->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(timer()->isActive() || dialog->previewTag() == 0, 5000);
        dialog->close();
        QVERIFY(!timer()->isActive());
    }

    void stopRequestEndsAtTheNextTick() {
        open(2, 1);
        const QImage picture = shown();
        dialog->BtnLookXGClick();
        dialog->Timer1Timer();
        dialog->Timer1Timer();
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->previewTag(), 0);
        QCOMPARE(dialog->PreviewProgress(), 100);
        QVERIFY(timer()->isActive());
        dialog->Timer1Timer();
        QVERIFY(!timer()->isActive());
        QCOMPARE(shown(), picture);
    }

    void randomChoiceIsDrawnOncePerPreview() {
        open(2, 1);
        effects::ScriptedRandom random({41, 7});
        dialog->setRandomSource(random);
        auto* list = control<QListWidget>("LbXG");
        QCOMPARE(list->currentRow(), 0);
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->PreviewEffect(), 42);
        QCOMPARE(random.requests().front(), 105);
        dialog->Timer1Timer();
        dialog->BtnLookXGClick();
        dialog->Timer1Timer();
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->PreviewEffect(), 8);
        control<QLineEdit>("EdtTM")->setText(QStringLiteral("随机"));
        control<QPushButton>("BtnSave")->click();
        QCOMPARE(storedRecord(1).Effect, 0);
    }

    void effectOutsideTheListKeepsItsValue() {
        makeAlbums(root.path(), {{"旧相册", 2, 0}});
        {
            store::AlbumStore s(root.path().toStdString());
            s.LoadInfo("A");
            s.openAlbum(0);
            s.PicList[1].Effect = 200;
            s.SaveInfo("P");
        }
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        albums->LoadInfo("A");
        albums->openAlbum(0);
        albums->PicIndex = 1;
        startDialog();
        effects::ScriptedRandom random({9});
        dialog->setRandomSource(random);
        QCOMPARE(control<QListWidget>("LbXG")->currentRow(), -1);
        QVERIFY(!control("BtnSave")->isEnabled());
        dialog->BtnLookXGClick();
        QCOMPARE(dialog->PreviewEffect(), 10);
        for (int i = 0; i < 25; ++i)
            dialog->Timer1Timer();
        QVERIFY(!timer()->isActive());
        edit("EdtTM")->setText(QStringLiteral("保留效果"));
        control<QPushButton>("BtnSave")->click();
        QCOMPARE(storedRecord(1).Effect, 200);
        QCOMPARE(QString::fromStdString(storedRecord(1).Title.text()), QStringLiteral("保留效果"));
    }

    void clickingAnEffectStartsAndStopsItsPreview() {
        open(2, 1);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* list = control<QListWidget>("LbXG");
        list->scrollToItem(list->item(5));
        const QPoint at = list->visualItemRect(list->item(5)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(list->toolTip(), list->item(5)->text());
        QCOMPARE(dialog->previewTag(), 1);
        QCOMPARE(dialog->PreviewEffect(), 5);
        QVERIFY(control("BtnSave")->isEnabled());
        // A second click on the same item asks the running preview to stop.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dialog->previewTag(), 0);
        // The keyboard moves to the next effect and previews it.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 6);
        QCOMPARE(dialog->previewTag(), 1);
        dialog->close();
    }

    // However the chosen effect changes, it behaves as a click on it: its preview starts and
    // the save button follows.
    void everyChangeOfTheEffectPreviewsIt() {
        open(2, 1);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* list = control<QListWidget>("LbXG");
        QWidget* viewport = list->viewport();
        const auto centre = [&](int row) { return list->visualItemRect(list->item(row)).center(); };

        // A drag across the list, let go on another item.
        QTest::mousePress(viewport, Qt::LeftButton, {}, centre(2));
        QTest::mouseMove(viewport, centre(4));
        QTest::mouseMove(viewport, centre(6));
        QCOMPARE(list->currentRow(), 6);
        QCOMPARE(dialog->previewTag(), 0); // not while the button is held
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(6));
        QCOMPARE(dialog->previewTag(), 1);
        QCOMPARE(dialog->PreviewEffect(), 6);
        QCOMPARE(list->toolTip(), list->item(6)->text());
        QVERIFY(control("BtnSave")->isEnabled());
        dialog->BtnLookXGClick(); // stop it
        QCOMPARE(dialog->previewTag(), 0);

        // A drag let go outside the list still chose the effect it last passed.
        QTest::mousePress(viewport, Qt::LeftButton, {}, centre(3));
        QTest::mouseMove(viewport, centre(1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(dialog->previewTag(), 1);
        QCOMPARE(dialog->PreviewEffect(), 1);
        dialog->BtnLookXGClick();

        // Keys that jump.
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home}) {
            const int before = list->currentRow();
            QTest::keyClick(list, key);
            QVERIFY(list->currentRow() != before);
            QCOMPARE(dialog->previewTag(), 1);
            dialog->BtnLookXGClick();
        }
        // Back on the stored effect with nothing else changed, there is nothing to save.
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(!control("BtnSave")->isEnabled());
        dialog->close();
    }

    void closingMidPreviewStopsTheTimer() {
        open(3, 2);
        effects::ScriptedRandom fade({0});
        dialog->setRandomSource(fade);
        dialog->show();
        const QImage picture = shown();
        dialog->BtnLookXGClick();
        dialog->Timer1Timer();
        dialog->Timer1Timer();
        const QImage midway = shown();
        control<QPushButton>("BtnExit")->click();
        QVERIFY(!dialog->isVisible());
        QVERIFY(!timer()->isActive());
        // A tick that was already queued draws nothing.
        dialog->Timer1Timer();
        QCOMPARE(shown(), midway);
        QVERIFY(shown() != picture);
    }

    void browsingEndsARunningPreview() {
        open(3, 1);
        dialog->BtnLookXGClick();
        dialog->Timer1Timer();
        control<QToolButton>("SbtnNP")->click();
        QVERIFY(!timer()->isActive());
        QCOMPARE(dialog->previewTag(), 0);
        media::MessageList messages;
        const QImage expected = media::LoadPictureFile(
            QString::fromStdString(albums->mediaFile(albums->PicList[2].FileName.gbk()).string()), messages);
        QVERIFY(!expected.isNull());
        QCOMPARE(shown(), fitIntoBlackBox(expected, QSize(185, 153)));
    }

    void missingPictureShowsBlack() {
        open(2, 1);
        dialog.reset();
        QFile::remove(QString::fromStdString(albums->mediaFile(albums->PicList[1].FileName.gbk()).string()));
        QFile broken(QString::fromStdString(albums->mediaFile(albums->PicList[0].FileName.gbk()).string()));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture");
        broken.close();
        startDialog();
        QCOMPARE(shown().size(), QSize(185, 153));
        QVERIFY(allBlack(shown()));
        // The preview runs from the unreadable previous picture to the missing one: all black.
        dialog->BtnLookXGClick();
        for (int i = 0; i < 25; ++i)
            dialog->Timer1Timer();
        QVERIFY(!timer()->isActive());
        QVERIFY(allBlack(shown()));
    }

    void noCurrentPictureOpensInert() {
        open(2, 0);
        dialog.reset();
        albums->PicIndex = -1;
        startDialog();
        QVERIFY(!TFrmEditP::canEdit(*albums));
        QVERIFY(!control("GroupBox3")->isEnabled());
        QVERIFY(!control("BtnSave")->isEnabled());
        dialog->BtnLookXGClick();
        dialog->BtnSaveClick();
        dialog->BtnToAllClick();
        dialog->SbtnNPClick();
        dialog->Timer1Timer();
        QCOMPARE(dialog->previewTag(), 0);
        QCOMPARE(albums->PicIndex, -1);
        QCOMPARE(storedRecord(0).StayTime, 1);
        QVERIFY(control("BtnExit")->isEnabled());
    }
};

QTEST_MAIN(PictureEditorTest)
#include "picture_editor_test.moc"
