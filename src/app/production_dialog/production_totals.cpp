#include "app/production_dialog/production_totals.h"

#include "production/frame_generator.h"
#include "store/album_store.h"

#include <QDir>
#include <QStandardPaths>

namespace vistello::app {

namespace {

QString twoDigits(std::int64_t value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// numerator ÷ denominator (both positive) to the nearest integer, a half to the even one.
std::int64_t roundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

QString withSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString SecondsToTimeText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    return twoDigits(seconds / 3600) + QStringLiteral(" 时 ") + twoDigits(seconds / 60 % 60) +
           QStringLiteral(" 分 ") + twoDigits(seconds % 60) + QStringLiteral(" 秒");
}

std::int64_t PictureSeconds(const store::AlbumStore& album) {
    std::int64_t total = 0;
    for (const store::TPicInfo& picture : album.PicList)
        total += std::max<std::int64_t>(picture.StayTime, 0) + 2; // the run holds a negative time as 0
    return total;
}

std::int64_t MusicSeconds(const store::AlbumStore& album) {
    return production::musicSeconds(album);
}

QRect PreviewBoxRect(QSize panel, QSize frame) {
    if (panel.isEmpty() || frame.isEmpty())
        return QRect(QPoint(0, 0), panel);
    const std::int64_t pw = panel.width(), ph = panel.height();
    const std::int64_t fw = frame.width(), fh = frame.height();
    int width = panel.width(), height = panel.height();
    if (pw * fh >= fw * ph) // the panel is at least as wide as the frame, in proportion
        width = static_cast<int>(roundHalfEven(ph * fw, fh));
    else
        height = static_cast<int>(roundHalfEven(pw * fh, fw));
    return QRect((panel.width() - width) / 2, (panel.height() - height) / 2, width, height);
}

QString DefaultOutputFolder() {
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && QDir().mkpath(videos))
        return withSeparator(QDir::cleanPath(videos));
    return withSeparator(QDir::homePath());
}

} // namespace vistello::app
