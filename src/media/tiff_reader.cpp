#include "media/tiff_reader.h"

#include "media/tiff_file.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace vistello::media {

namespace {

constexpr std::uint16_t kTagWidth = 256;
constexpr std::uint16_t kTagHeight = 257;
constexpr std::uint16_t kTagBitsPerSample = 258;
constexpr std::uint16_t kTagCompression = 259;
constexpr std::uint16_t kTagPhotometric = 262;
constexpr std::uint16_t kTagRowsPerStrip = 278;
constexpr std::uint16_t kTagColorMap = 320;
constexpr std::uint32_t kMaxSide = 0xFFFF;

enum class Kind { Bilevel, Greyscale, Palette, Rgb };
enum class Step { Next, Abort };

// The three colour tables the indexed readers fill before building their image; entry i of
// the three becomes palette entry i. Kept per read, never shared between reads.
struct ColourTables {
    std::array<std::uint8_t, 256> red{}, green{}, blue{};

    void ramp() {
        for (int i = 0; i < 256; ++i)
            red[i] = green[i] = blue[i] = static_cast<std::uint8_t>(i);
    }
    void set(int index, std::uint8_t value) { red[index] = green[index] = blue[index] = value; }
};

QString compressedImageMessage(Kind kind) {
    static constexpr std::array<const char*, 4> names = {"bilevel", "grey scale", "colour palette",
                                                         "RGB full colour"};
    return QStringLiteral("This TIFF file holds a compressed %1 image, which cannot be read.\n"
                          "Only uncompressed images are supported.\n"
                          "Support for this compression can be added to the TIFF reader.")
        .arg(QLatin1String(names[static_cast<std::size_t>(kind)]));
}

// Decodes one directory with the reader of its kind.
class ImageReader {
  public:
    ImageReader(const TFileTiff& file, const TGraphicTiff& directory, MessageSink& messages, qint64 maxPixels)
        : file_(file), dir_(directory), messages_(messages), maxPixels_(maxPixels) {}

    Step run(Kind kind, QImage& bitmap);

  private:
    bool checkTags(Kind kind);
    bool fillTables(Kind kind);
    bool stripsInsideFile();
    void fillRow(std::uint64_t rowStart, std::uint64_t length, std::uint8_t* out) const;
    void buildRows(QImage& image, int bitsPerPixel, std::uint64_t rowLength) const;

    bool fail(const char* message) {
        messages_.showMessage(QString::fromLatin1(message));
        return false;
    }

    const TFileTiff& file_;
    const TGraphicTiff& dir_;
    MessageSink& messages_;
    qint64 maxPixels_;
    ColourTables tables_;
    std::uint32_t bits_ = 0;
    std::vector<std::uint64_t> stripStarts_; // running sum of strip byte counts, one more than strips
};

bool ImageReader::checkTags(Kind kind) {
    if (!dir_.FindTag(kTagWidth))
        return fail("Error reading tag Image Width");
    if (!dir_.FindTag(kTagHeight))
        return fail("Error reading tag Image Height");
    if (kind == Kind::Bilevel && !dir_.FindTag(kTagPhotometric))
        return fail("Error reading tag Photometric interpretation");
    const TiffEntry* compression = dir_.FindTag(kTagCompression);
    if (!compression)
        return fail("Error reading tag Compression");
    if (compression->Value != 1) {
        messages_.showMessage(compressedImageMessage(kind));
        return false;
    }
    if (kind == Kind::Bilevel)
        return true;
    const TiffEntry* bits = dir_.FindTag(kTagBitsPerSample);
    if (!bits)
        return fail("Error reading tag Bits Per Sample");
    bits_ = bits->Value;
    if (kind == Kind::Greyscale && bits_ != 4 && bits_ != 8)
        return fail("Error: Bits Per Sample not 4 or 8");
    if (kind == Kind::Palette && !dir_.FindTag(kTagColorMap))
        return fail("Error reading tag Color Table Offset");
    if (kind == Kind::Rgb) {
        std::array<std::uint32_t, 3> samples{bits->Value, bits->Value, bits->Value};
        if (bits->Count != 1)
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = file_.read16(std::uint64_t{bits->Field} + 2 * i).value_or(0);
        if (std::none_of(samples.begin(), samples.end(), [](std::uint32_t s) { return s == 8; }))
            return fail("Error: Bits Per Sample (RGB) not 8");
        bits_ = 24;
    }
    return true;
}

bool ImageReader::fillTables(Kind kind) {
    tables_.ramp();
    const std::uint32_t photometric = dir_.FindTag(kTagPhotometric)->Value;
    switch (kind) {
    case Kind::Bilevel:
        bits_ = 1;
        tables_.set(0, photometric == 0 ? 255 : 0);
        tables_.set(1, photometric == 0 ? 0 : 255);
        break;
    case Kind::Greyscale: {
        const int levels = bits_ == 4 ? 16 : 256;
        for (int i = 0; i < levels; ++i) {
            const auto grey = static_cast<std::uint8_t>(i * 255 / (levels - 1));
            // WhiteIsZero: 0 is white, so the ramp runs the other way.
            tables_.set(i, photometric == 0 ? static_cast<std::uint8_t>(255 - grey) : grey);
        }
        break;
    }
    case Kind::Palette: {
        const TiffEntry* map = dir_.FindTag(kTagColorMap);
        const std::uint32_t n = map->Count / 3;
        if (n < 1 || n > 256)
            break;
        if (!file_.at(map->Field, std::uint64_t{n} * 6))
            return fail("Error reading tag Color Table Offset");
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint64_t base = map->Field;
            tables_.red[i] = static_cast<std::uint8_t>(*file_.read16(base + 2 * i) >> 8);
            tables_.green[i] = static_cast<std::uint8_t>(*file_.read16(base + 2 * (n + i)) >> 8);
            tables_.blue[i] = static_cast<std::uint8_t>(*file_.read16(base + 2 * (2 * n + i)) >> 8);
        }
        break;
    }
    case Kind::Rgb:
        break;
    }
    return true;
}

bool ImageReader::stripsInsideFile() {
    if (dir_.stripTableUnreadable())
        return fail("Error reading image data");
    stripStarts_.assign(1, 0);
    for (int i = 0; i < dir_.StripCount(); ++i) {
        const TiffStrip* strip = dir_.Strip(i);
        if (!file_.at(strip->Offset, strip->ByteCount))
            return fail("Error reading image data");
        stripStarts_.push_back(stripStarts_.back() + strip->ByteCount);
    }
    return true;
}

// Copies `length` bytes of the strips laid end to end, starting at `rowStart`, to `out`.
void ImageReader::fillRow(std::uint64_t rowStart, std::uint64_t length, std::uint8_t* out) const {
    auto next = std::upper_bound(stripStarts_.begin(), stripStarts_.end(), rowStart);
    auto index = static_cast<int>(next - stripStarts_.begin()) - 1;
    std::uint64_t position = rowStart;
    while (length > 0 && index < dir_.StripCount()) {
        const TiffStrip* strip = dir_.Strip(index);
        const std::uint64_t inStrip = position - stripStarts_[static_cast<std::size_t>(index)];
        const std::uint64_t take = std::min<std::uint64_t>(length, strip->ByteCount - inStrip);
        std::memcpy(out, file_.at(strip->Offset + inStrip, take), take);
        out += take;
        position += take;
        length -= take;
        ++index;
    }
}

// Row r of the picture starts `rowLength` × r bytes into the strip data. Pixels whose bytes
// lie past the row length or past the end of the data are left black.
void ImageReader::buildRows(QImage& image, int bitsPerPixel, std::uint64_t rowLength) const {
    const int width = image.width();
    const std::uint64_t total = stripStarts_.back();
    const std::uint64_t pictureRowBytes = (std::uint64_t(width) * bitsPerPixel + 7) / 8;
    std::vector<std::uint8_t> row(pictureRowBytes);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint64_t rowStart = std::uint64_t(y) * rowLength;
        const std::uint64_t available =
            rowStart < total ? std::min({rowLength, total - rowStart, pictureRowBytes}) : 0;
        fillRow(rowStart, available, row.data());
        std::uint8_t* out = image.scanLine(y);
        std::memset(out, 0, static_cast<std::size_t>(width) * 3);
        if (bitsPerPixel == 24) {
            const auto present = static_cast<int>(std::min<std::uint64_t>(width, available / 3));
            for (int x = 0; x < present; ++x) {
                out[3 * x] = row[3 * x + 2];
                out[3 * x + 1] = row[3 * x + 1];
                out[3 * x + 2] = row[3 * x];
            }
            continue;
        }
        const auto present = static_cast<int>(
            std::min<std::uint64_t>(width, available * 8 / static_cast<unsigned>(bitsPerPixel)));
        for (int x = 0; x < present; ++x) {
            const unsigned bit = static_cast<unsigned>(x) * bitsPerPixel;
            const unsigned shift = 8 - bitsPerPixel - bit % 8;
            const unsigned index = (row[bit / 8] >> shift) & ((1u << bitsPerPixel) - 1);
            out[3 * x] = tables_.blue[index];
            out[3 * x + 1] = tables_.green[index];
            out[3 * x + 2] = tables_.red[index];
        }
    }
}

Step ImageReader::run(Kind kind, QImage& bitmap) {
    if (!checkTags(kind) || !fillTables(kind) || !stripsInsideFile())
        return Step::Next;
    const TiffEntry* rowsPerStrip = dir_.FindTag(kTagRowsPerStrip);
    if (dir_.StripCount() == 0 || !rowsPerStrip || rowsPerStrip->Value == 0)
        return Step::Abort;
    const std::uint32_t width = dir_.FindTag(kTagWidth)->Value;
    const std::uint32_t height = dir_.FindTag(kTagHeight)->Value;
    if (width > kMaxSide || height > kMaxSide)
        return Step::Abort;
    // A palette depth that no indexed bitmap has gives an empty picture.
    const bool supportedDepth = kind == Kind::Rgb || bits_ == 1 || bits_ == 4 || bits_ == 8;
    if (width == 0 || height == 0 || !supportedDepth) {
        bitmap = QImage();
        return Step::Next;
    }
    if (qint64{width} * height > maxPixels_) {
        messages_.showMessage(QStringLiteral("Out Of Memory "));
        return Step::Next;
    }
    // A strip announced with more rows than the picture has holds only the picture's rows.
    const std::uint64_t rowLength = dir_.Strip(0)->ByteCount / std::min(rowsPerStrip->Value, height);
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_BGR888);
    if (image.isNull()) {
        messages_.showMessage(QStringLiteral("Out Of Memory "));
        return Step::Next;
    }
    buildRows(image, static_cast<int>(bits_), rowLength);
    bitmap = std::move(image);
    return Step::Next;
}

TiffReadEnd readDirectories(const TFileTiff& file, QImage& bitmap, MessageSink& messages, qint64 maxPixels) {
    for (int i = 0; i < file.ImageCount(); ++i) {
        const TGraphicTiff& directory = *file.Image(i);
        const TiffEntry* photometricTag = directory.FindTag(kTagPhotometric);
        if (!photometricTag) {
            messages.showMessage(QStringLiteral("Error reading tag Photometric interpretation"));
            return TiffReadEnd::Completed;
        }
        const std::uint32_t photometric = photometricTag->Value;
        if (photometric > 3) {
            messages.showMessage(
                QStringLiteral("Error evaluating Photometric interpretation: %1").arg(photometric));
            return TiffReadEnd::Completed;
        }
        Kind kind = Kind::Rgb;
        if (photometric <= 1) {
            const TiffEntry* bits = directory.FindTag(kTagBitsPerSample);
            if (!bits || bits->Value == 1)
                kind = Kind::Bilevel;
            else if (bits->Value == 4 || bits->Value == 8)
                kind = Kind::Greyscale;
            else
                continue;
        } else if (photometric == 3) {
            kind = Kind::Palette;
        }
        if (ImageReader(file, directory, messages, maxPixels).run(kind, bitmap) == Step::Abort)
            return TiffReadEnd::Aborted;
    }
    return TiffReadEnd::Completed;
}

} // namespace

TiffReadEnd readTiffData(const QByteArray& bytes, const QString& fileName, QImage& bitmap,
                         MessageSink& messages, qint64 maxPixels) {
    TFileTiff file;
    file.setData(bytes, fileName);
    if (!file.valid()) {
        messages.showMessage(QLatin1Char('<') + fileName + QStringLiteral("> is not a valid TIFF file"));
        return TiffReadEnd::Completed;
    }
    return readDirectories(file, bitmap, messages, maxPixels);
}

TiffReadEnd ReadTiffFile(const QString& fileName, QImage& bitmap, MessageSink& messages, qint64 maxPixels) {
    QFile file(fileName);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return readTiffData(bytes, fileName, bitmap, messages, maxPixels);
}

} // namespace vistello::media
