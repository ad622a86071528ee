#include "app/album_dialog/add_album_dialog.h"

#include "app/application/guarded.h"
#include "app/application/ui_texts.h"
#include "store/album_names.h"
#include "store/album_operations.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace vistello::app {

TFrmAddA::TFrmAddA(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmAddA"));
    setWindowTitle(QStringLiteral("添加相册"));
    setFixedSize(392, 356);

    auto* Panel5 = new QLabel(QStringLiteral("创建新的相册"));
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFrameShape(QFrame::Panel);
    Panel5->setFrameShadow(QFrame::Raised);
    Panel5->setAlignment(Qt::AlignCenter);
    Panel5->setFixedHeight(28);
    QFont bold = Panel5->font();
    bold.setBold(true);
    Panel5->setFont(bold);

    Lab = new QLabel(QStringLiteral("系统已有相册列表(共999个)："));
    Lab->setObjectName(QStringLiteral("Lab"));
    Lst = new QListWidget;
    Lst->setObjectName(QStringLiteral("Lst"));
    Lst->setFixedSize(340, 171);
    auto* Label1 = new QLabel(QStringLiteral("输入新建相册名称："));
    Label1->setObjectName(QStringLiteral("Label1"));
    Edt = new QLineEdit;
    Edt->setObjectName(QStringLiteral("Edt"));
    Edt->setFixedWidth(340);
    Edt->setMaxLength(90);
    // Characters that cannot stand in a folder name never reach the field, typed or pasted.
    Edt->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\\\/:*?|\"<>]*")), Edt));

    BtnAdd = new QPushButton(QStringLiteral("创建"));
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnClose = new QPushButton(QStringLiteral("退出"));
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    for (QPushButton* b : {BtnAdd, BtnClose}) {
        b->setAutoDefault(false);
        b->setFixedWidth(90);
    }
    PnlNotice = new QLabel(QStringLiteral(" 提示："));
    PnlNotice->setObjectName(QStringLiteral("PnlNotice"));
    PnlNotice->setFrameShape(QFrame::Panel);
    PnlNotice->setFrameShadow(QFrame::Sunken);
    PnlNotice->setFixedHeight(22);
    PnlNotice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(26, 6, 26, 6);
    body->addWidget(Lab);
    body->addWidget(Lst);
    body->addSpacing(6);
    body->addWidget(Label1);
    body->addWidget(Edt);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnAdd);
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    body->addSpacing(6);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel5);
    layout->addLayout(body, 1);
    layout->addWidget(PnlNotice);

    connect(Edt, &QLineEdit::textChanged, this, guardedSlot(this, dialogs_, this, &TFrmAddA::EdtChange));
    connect(Edt, &QLineEdit::returnPressed, this, [this] {
        if (BtnAdd->isEnabled())
            guarded(this, dialogs_, [this] { BtnAddClick(); });
    });
    connect(BtnAdd, &QPushButton::clicked, this, guardedSlot(this, dialogs_, this, &TFrmAddA::BtnAddClick));
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);

    // FormCreate: the existing albums, an empty field and a disabled create button.
    for (int i = 0; i < store_.AlbumCount(); ++i)
        Lst->addItem(QString::fromStdString(store_.albumName(i)));
    if (store_.AlbumCount() <= 0)
        Lab->setText(QStringLiteral("系统已有相册列表(暂无)："));
    else
        updateCountLabel();
    Edt->clear();
    BtnAdd->setEnabled(false);
}

void TFrmAddA::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Lst->count() > 0) {
        Lst->setCurrentRow(Lst->count() - 1);
        Lst->scrollToItem(Lst->currentItem());
    }
    Edt->setFocus();
}

void TFrmAddA::updateCountLabel() {
    Lab->setText(QStringLiteral("系统已有相册列表(共%1个)：").arg(Lst->count()));
}

void TFrmAddA::EdtChange() {
    const std::string typed = Edt->text().toStdString();
    const store::NewNameCheck check = store::checkNewAlbumName(store_, typed);
    const std::string shortened =
        check == store::NewNameCheck::Available ? store::shortenedAlbumName(typed) : "";
    if (shortened.empty()) {
        PnlNotice->setText(newNameNotice(check));
        PnlNotice->setToolTip(QString());
    } else {
        showShortenedNotice(QString::fromStdString(shortened));
    }
    BtnAdd->setEnabled(check == store::NewNameCheck::Available);
}

void TFrmAddA::showShortenedNotice(const QString& shortened) {
    // The notice line holds one line: the name is elided in its middle so that both its
    // start and the place where it is cut stay visible; the tooltip gives the whole notice.
    const QString whole = shortenedNameNotice(shortened);
    const QFontMetrics metrics = PnlNotice->fontMetrics();
    // The notice spans the dialog; a framed label indents its text by half an 'x'.
    const int frame = PnlNotice->frameWidth() * 2 + metrics.horizontalAdvance(QLatin1Char('x'));
    const int room = width() - frame - metrics.horizontalAdvance(shortenedNameNotice(QString()));
    const QString elided = metrics.elidedText(shortened, Qt::ElideMiddle, std::max(room, 0));
    PnlNotice->setText(shortenedNameNotice(elided));
    PnlNotice->setToolTip(whole);
}

void TFrmAddA::BtnAddClick() {
    created_ = true;
    const std::string name = store::createAlbum(store_, Edt->text().toStdString());
    Lst->addItem(QString::fromStdString(name));
    Lst->setCurrentRow(Lst->count() - 1);
    updateCountLabel();
    Edt->clear();
    BtnAdd->setEnabled(false);
    Edt->setFocus();
}

} // namespace vistello::app
