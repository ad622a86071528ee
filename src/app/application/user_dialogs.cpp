#include "app/application/user_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace vistello::app {

namespace {
QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        break;
    }
    return QMessageBox::Question;
}
} // namespace

bool QtUserDialogs::askYesNo(QWidget* parent, const QString& title, const QString& question,
                             MessageIcon icon) {
    QMessageBox box(boxIcon(icon), title, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    return box.exec() == QMessageBox::Yes;
}

void QtUserDialogs::showMessage(QWidget* parent, const QString& title, const QString& text,
                                MessageIcon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

QStringList QtUserDialogs::getOpenFileNames(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, QString(), filter);
}

QString QtUserDialogs::getSaveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                       const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, initialPath, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString
QtUserDialogs::getSaveFileNameProposing(QWidget* parent, const QString& title, const QString& initialPath,
                                        const QString& filter,
                                        const std::function<QString(const QString& folder)>& nameInFolder) {
    const QFileInfo initial(initialPath);
    QFileDialog dialog(parent, title, initial.absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // the caller asks its own question
    dialog.selectFile(initial.fileName());
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [&](const QString& folder) {
        // Only the name is selected, so the dialog stays in the folder it just entered.
        if (nameInFolder)
            dialog.selectFile(QFileInfo(nameInFolder(folder)).fileName());
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtUserDialogs::getColor(QWidget* parent, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

int QtUserDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtUserDialogs::openFolder(const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString qtFileFilter(const QString& pairs) {
    // Qt shows a filter as written and takes its patterns from the parentheses at its end. A
    // description that already ends in its own list of patterns gets the real ones in their
    // place; one without gets them appended, so either way they are shown once.
    static const QRegularExpression ownPatterns(QStringLiteral("\\([^()]*\\)\\s*$"));
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        const QRegularExpressionMatch match = ownPatterns.match(description);
        if (match.hasMatch())
            description.truncate(match.capturedStart());
        else
            description += QLatin1Char(' ');
        filters << description + QLatin1Char('(') + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace vistello::app
