// Qt's own dialogs as the user meets them: with Qt's Chinese catalogue installed, the open,
// save and colour dialogs and the standard buttons speak Chinese, and the open dialogs of the
// main window list each file type once, with its patterns once.

#include "album_fixture.h"
#include "app/application/qt_translations.h"
#include "app/main_window/main_window.h"
#include "scripted_dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

// Qt's own file dialog (not the desktop's), as it shows with `filter`.
std::unique_ptr<QFileDialog> qtFileDialog(QFileDialog::AcceptMode mode, const QString& filter = {}) {
    auto dialog = std::make_unique<QFileDialog>(nullptr, QString(), QString(), filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    return dialog;
}

QStringList buttonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* button : box->buttons())
            texts << button->text();
    return texts;
}

QStringList fileTypes(const QFileDialog& dialog) {
    const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QStringList items;
    for (int i = 0; types && i < types->count(); ++i)
        items << types->itemText(i);
    return items;
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;

  private slots:
    void initTestCase() { QVERIFY(installQtChineseTranslations(*QCoreApplication::instance())); }
    void cleanup() {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void fileDialogsSpeakChinese() {
        const auto open = qtFileDialog(QFileDialog::AcceptOpen);
        QCOMPARE(open->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                 QStringLiteral("查找范围："));
        QCOMPARE(open->findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
                 QStringLiteral("文件名称(&N)："));
        QCOMPARE(open->findChild<QLabel*>(QStringLiteral("fileTypeLabel"))->text(),
                 QStringLiteral("文件类型："));
        QCOMPARE(buttonTexts(*open), (QStringList{QStringLiteral("打开(&O)"), QStringLiteral("取消")}));
        const auto save = qtFileDialog(QFileDialog::AcceptSave);
        QCOMPARE(buttonTexts(*save), (QStringList{QStringLiteral("保存(&S)"), QStringLiteral("取消")}));
    }

    void colourDialogAndStandardButtonsSpeakChinese() {
        QColorDialog colour;
        QCOMPARE(colour.windowTitle(), QStringLiteral("选择颜色"));
        QCOMPARE(buttonTexts(colour), (QStringList{QStringLiteral("确定"), QStringLiteral("取消")}));
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No);
        QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QStringLiteral("是(&Y)"));
        QCOMPARE(box.button(QDialogButtonBox::No)->text(), QStringLiteral("否(&N)"));
    }

    void openDialogsListEachFileTypeOnce_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("pictures") << 0
                                  << QStringList{
                                         QStringLiteral("All (*.jpg *.jpeg *.bmp *.tif *.tiff *.ico *.emf "
                                                        "*.wmf *.png *.gif *.webp *.heic *.heif *.avif "
                                                        "*.jxl)"),
                                         QStringLiteral("JPEG Image File (*.jpg)"),
                                         QStringLiteral("JPEG Image File (*.jpeg)"),
                                         QStringLiteral("Bitmaps (*.bmp)"),
                                         QStringLiteral("TIFF Image File (*.tif *.tiff)"),
                                         QStringLiteral("Icons (*.ico)"),
                                         QStringLiteral("Enhanced Metafiles (*.emf)"),
                                         QStringLiteral("Metafiles (*.wmf)"),
                                         QStringLiteral("PNG Image File (*.png)"),
                                         QStringLiteral("GIF Image File (*.gif)"),
                                         QStringLiteral("WebP Image File (*.webp)"),
                                         QStringLiteral("HEIF Image File (*.heic *.heif)"),
                                         QStringLiteral("AVIF Image File (*.avif)"),
                                         QStringLiteral("JPEG XL Image File (*.jxl)"),
                                     };
        QTest::newRow("songs") << 1 << QStringList{QStringLiteral("MP3音乐文件(*.mp3)")};
    }
    void openDialogsListEachFileTypeOnce() {
        QFETCH(int, page);
        QFETCH(QStringList, types);
        makeAlbums(root.path(), {{"a", 0, 0}});
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        window.SbtEditpicClick(page);
        window.findChild<QPushButton*>(QStringLiteral("BtnAddP"))->click();
        QVERIFY(!dialogs.openFilter.isEmpty());
        QCOMPARE(fileTypes(*qtFileDialog(QFileDialog::AcceptOpen, dialogs.openFilter)), types);
    }

    void saveFilterNamesItsPatternsOnce() {
        QCOMPARE(qtFileFilter(QStringLiteral("MPEG文件(*.mpg)|*.mpg|所有文件(*.*)|*.*")),
                 QStringLiteral("MPEG文件(*.mpg);;所有文件(*.*)"));
        // A description without patterns of its own gets them from the pattern part.
        QCOMPARE(qtFileFilter(QStringLiteral("Pictures|*.jpg;*.png")),
                 QStringLiteral("Pictures (*.jpg *.png)"));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
