#include "app/production_dialog/output_space_check.h"

#include "app/application/user_dialogs.h"
#include "production/output_space.h"

#include <QDir>
#include <QStringList>

namespace vistello::app {

QString byteSizeText(std::uintmax_t bytes) {
    if (bytes < 1024)
        return QStringLiteral("%1 字节").arg(bytes);
    static const QStringList units = {QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("GB"),
                                      QStringLiteral("TB"), QStringLiteral("PB")};
    double value = static_cast<double>(bytes) / 1024;
    qsizetype unit = 0;
    while (value >= 1024 && unit + 1 < units.size()) {
        value /= 1024;
        ++unit;
    }
    return QString::number(value, 'f', 1) + QLatin1Char(' ') + units[unit];
}

bool outputFitsOrSay(const store::AlbumStore& album, const production::ProductionSettings& settings,
                     UserDialogs& dialogs, QWidget* parent) {
    const std::optional<production::OutputSpace> space = production::outputSpace(album, settings);
    if (!space || space->fits())
        return true;
    const QString folder =
        QDir::toNativeSeparators(QString::fromStdString(settings.outputPath.parent_path().string()));
    dialogs.showMessage(
        parent, QStringLiteral("错误"),
        QStringLiteral("磁盘空间不足，无法生成视频：预计需要 %1，而输出文件夹“%2”所在的磁盘只有 %3 "
                       "可用。请释放磁盘空间、换一个输出位置，或缩短图片的停留时间。")
            .arg(byteSizeText(space->expectedBytes), folder, byteSizeText(space->availableBytes)),
        MessageIcon::Warning);
    return false;
}

} // namespace vistello::app
