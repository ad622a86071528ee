#include "media/picture_order.h"

#include "media/exif_blocks.h"
#include "media/exif_bytes.h"
#include "media/file_bytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <numeric>
#include <vector>

namespace vistello::media {

namespace {

constexpr unsigned kTagExifDirectory = 0x8769;
constexpr unsigned kTagDateTimeOriginal = 0x9003;
constexpr unsigned kTypeAscii = 2;

// The store's file that remembers the choice: "date" or "name".
constexpr const char* kOrderFile = "PicOrder";

QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// Names compared as people read numbered names: runs of digits by their value (IMG_2
// before IMG_10), other text without regard to case. Does not depend on the locale's
// collation, which in the C locale knows no numbers.
int compareNames(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && a[endA].isDigit())
                ++endA;
            while (endB < b.size() && b[endB].isDigit())
                ++endB;
            QStringView numberA = QStringView(a).sliced(i, endA - i),
                        numberB = QStringView(b).sliced(j, endB - j);
            while (numberA.size() > 1 && numberA.front() == u'0')
                numberA = numberA.sliced(1);
            while (numberB.size() > 1 && numberB.front() == u'0')
                numberB = numberB.sliced(1);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size() ? -1 : 1;
            if (const int order = numberA.compare(numberB); order != 0)
                return order;
            i = endA, j = endB;
            continue;
        }
        if (const int order =
                QStringView(a).sliced(i, 1).compare(QStringView(b).sliced(j, 1), Qt::CaseInsensitive);
            order != 0)
            return order;
        ++i, ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}

} // namespace

std::optional<QDateTime> exifDateTaken(QByteArrayView block) {
    const auto tiff = ExifBytes::of(reinterpret_cast<const std::uint8_t*>(block.data()),
                                    static_cast<std::size_t>(block.size()));
    if (!tiff)
        return std::nullopt;
    const auto pointer = tiff->findEntry(tiff->read32(4), kTagExifDirectory);
    if (!pointer)
        return std::nullopt;
    const auto entry = tiff->findEntry(tiff->read32(*pointer + 8), kTagDateTimeOriginal);
    if (!entry || tiff->read16(*entry + 2) != kTypeAscii)
        return std::nullopt;
    constexpr std::size_t kLength = 19; // "YYYY:MM:DD HH:MM:SS"
    const std::uint32_t count = tiff->read32(*entry + 4);
    const std::uint32_t offset = tiff->read32(*entry + 8);
    if (count < kLength || !tiff->has(offset, kLength))
        return std::nullopt;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(tiff->data + offset), kLength);
    const QDateTime taken = QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return taken.isValid() ? std::optional(taken) : std::nullopt;
}

QDateTime pictureDateTaken(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    {
        const FileBytes contents(path);
        if (const QByteArray block = exifBlockOf(contents.bytes(), info.suffix().toLower()); !block.isEmpty())
            if (const auto taken = exifDateTaken(block))
                return *taken;
    }
    return info.lastModified();
}

QStringList orderPictures(const QStringList& files, PictureOrder order) {
    std::vector<qsizetype> indexes(static_cast<std::size_t>(files.size()));
    std::iota(indexes.begin(), indexes.end(), 0);
    if (order == PictureOrder::ByDateTaken) {
        std::vector<QDateTime> dates;
        dates.reserve(indexes.size());
        for (const QString& file : files)
            dates.push_back(pictureDateTaken(file));
        std::stable_sort(indexes.begin(), indexes.end(), [&](qsizetype a, qsizetype b) {
            return dates[static_cast<std::size_t>(a)] < dates[static_cast<std::size_t>(b)];
        });
    } else {
        QStringList names;
        for (const QString& file : files)
            names << QFileInfo(file).fileName();
        std::stable_sort(indexes.begin(), indexes.end(),
                         [&](qsizetype a, qsizetype b) { return compareNames(names[a], names[b]) < 0; });
    }
    QStringList ordered;
    ordered.reserve(files.size());
    for (const qsizetype i : indexes)
        ordered << files[i];
    return ordered;
}

PictureOrder rememberedPictureOrder(const std::filesystem::path& root) {
    QFile file(fromPath(root / kOrderFile));
    if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == "name")
        return PictureOrder::ByName;
    return PictureOrder::ByDateTaken;
}

void rememberPictureOrder(const std::filesystem::path& root, PictureOrder order) {
    QSaveFile file(fromPath(root / kOrderFile));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(order == PictureOrder::ByName ? "name\n" : "date\n");
    file.commit(); // a choice that cannot be kept only means the default next time
}

} // namespace vistello::media
