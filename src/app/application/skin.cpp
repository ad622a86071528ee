#include "app/application/skin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <optional>

namespace vistello::app {

namespace {

// Reads a whole text file; nullopt when it is missing, not a regular file or unreadable.
std::optional<QString> readTextFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString loadSkin(const QString& programFolder) {
    if (!programFolder.isEmpty()) {
        if (auto own = readTextFile(QDir(programFolder).filePath(QStringLiteral("skin.qss"))))
            return *own;
    }
    return readTextFile(QString::fromLatin1(kBuiltInSkin)).value_or(QString());
}

void setSkinSearchPaths(const QString& programFolder) {
    QStringList paths;
    if (!programFolder.isEmpty())
        paths << QDir(programFolder).filePath(QStringLiteral("skin"));
    paths << QStringLiteral(":/skin");
    QDir::setSearchPaths(QStringLiteral("skin"), paths);
}

void applySkin(QApplication& application) {
    const QString folder = QCoreApplication::applicationDirPath();
    setSkinSearchPaths(folder);
    application.setStyleSheet(loadSkin(folder));
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vistello-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace vistello::app
