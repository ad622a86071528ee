#include "app/import/picture_order_dialog.h"

#include "app/application/user_dialogs.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vistello::app {

TFrmPicOrder::TFrmPicOrder(media::PictureOrder initial, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmPicOrder"));
    setWindowTitle(QStringLiteral("图片顺序"));
    setFixedSize(300, 130);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    auto* label = new QLabel(QStringLiteral("按什么顺序加入这些图片？"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(24, 16);
    RbtnByDate = new QRadioButton(QStringLiteral("按拍摄时间（没有拍摄时间的按文件时间）"), this);
    RbtnByDate->setObjectName(QStringLiteral("RbtnByDate"));
    RbtnByDate->setGeometry(24, 40, 260, 18);
    RbtnByName = new QRadioButton(QStringLiteral("按文件名"), this);
    RbtnByName->setObjectName(QStringLiteral("RbtnByName"));
    RbtnByName->setGeometry(24, 62, 260, 18);
    (initial == media::PictureOrder::ByName ? RbtnByName : RbtnByDate)->setChecked(true);
    BtnOK = new QPushButton(QStringLiteral("确定"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(130, 94, 75, 25);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(212, 94, 75, 25);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

media::PictureOrder TFrmPicOrder::chosenOrder() const {
    return RbtnByName->isChecked() ? media::PictureOrder::ByName : media::PictureOrder::ByDateTaken;
}

std::optional<QStringList> orderForImport(store::AlbumStore& store, const QStringList& files,
                                          UserDialogs& dialogs, QWidget* parent) {
    if (files.size() < 2)
        return files;
    TFrmPicOrder dialog(media::rememberedPictureOrder(store.RootPath()), parent);
    if (dialogs.runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const media::PictureOrder order = dialog.chosenOrder();
    media::rememberPictureOrder(store.RootPath(), order);
    return media::orderPictures(files, order);
}

} // namespace vistello::app
