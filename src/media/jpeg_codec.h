#pragma once
// JPEG decoding and encoding through libjpeg-turbo's libjpeg API, between JPEG bytes and
// 24-bit blue-green-red QImages (Format_BGR888, rows 32-bit aligned like the effects
// module's Bitmap). Every libjpeg object is owned by an RAII holder; libjpeg's fatal errors
// come back as a null or empty result, never as a crash or an exit.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace vistello::media {

// Decodes any JPEG colour space libjpeg reads (greyscale, YCbCr, RGB, CMYK, YCCK) to BGR888
// and turns it upright as its EXIF orientation says. A picture longer than kLargestKeptSide
// is decoded at the largest of libjpeg's reduced scales (n/8) that fits within it. Null on
// failure, or when the decoded picture would have more than `maxPixels` pixels.
QImage decodeJpeg(QByteArrayView bytes, qint64 maxPixels);

// Encodes an image as a baseline colour JPEG (4:2:0, no progressive scans) of the given
// quality. Empty when the image is null or libjpeg refuses it.
QByteArray encodeJpeg(const QImage& image, int quality);

// encodeJpeg(decodeJpeg(bytes)) with the two halves side by side: the calling thread decodes
// rows while a second thread already encodes those decoded, so on two cores a re-encoding
// takes little more than the slower half. The same bytes as the two calls in sequence.
// nullopt when this path does not apply (an EXIF-turned picture) or anything failed; the
// caller then takes the ordinary way, which also reports why a file failed.
std::optional<QByteArray> transcodeJpeg(QByteArrayView bytes, int quality, qint64 maxPixels);

} // namespace vistello::media
