#pragma once
// Picture files written by the tests themselves: JPEG through libjpeg (any colour space,
// with or without an EXIF orientation), and minimal EMF and WMF metafiles that fill one
// rectangle with a solid colour.

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace vistello::media::testing {

inline void appendLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>(value >> (8 * i)));
}

// An APP1 payload carrying only an orientation, in the given byte order.
inline QByteArray exifPayload(int orientation, bool little = true) {
    QByteArray tiff = little ? QByteArray("II\x2A\0\x08\0\0\0", 8) : QByteArray("MM\0\x2A\0\0\0\x08", 8);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            tiff.append(static_cast<char>(v >> (little ? 8 * i : 8 * (bytes - 1 - i))));
    };
    put(1, 2);      // one entry
    put(0x0112, 2); // Orientation
    put(3, 2);      // SHORT
    put(1, 4);      // count
    put(static_cast<std::uint32_t>(orientation), 2);
    put(0, 2);
    put(0, 4); // no next directory
    return QByteArray("Exif\0\0", 6) + tiff;
}

enum class JpegKind { Colour, Grey, CmykAdobe };

// Encodes `picture` with libjpeg as the test's own independent writer.
inline QByteArray writeJpeg(const QImage& picture, JpegKind kind = JpegKind::Colour, int orientation = 0,
                            int quality = 95) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = kind == JpegKind::Grey ? 1 : kind == JpegKind::CmykAdobe ? 4 : 3;
    info.in_color_space = kind == JpegKind::Grey        ? JCS_GRAYSCALE
                          : kind == JpegKind::CmykAdobe ? JCS_CMYK
                                                        : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (orientation > 0) {
        const QByteArray exif = exifPayload(orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()),
                          static_cast<unsigned>(exif.size()));
    }
    std::vector<unsigned char> row(static_cast<std::size_t>(rgb.width()) * 4);
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* src = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            if (kind == JpegKind::Grey) {
                row[x] = static_cast<unsigned char>((r * 299 + g * 587 + b * 114) / 1000);
            } else if (kind == JpegKind::CmykAdobe) {
                // Adobe's inverted CMYK with no black: stored values are 255 − ink.
                row[4 * x] = static_cast<unsigned char>(r);
                row[4 * x + 1] = static_cast<unsigned char>(g);
                row[4 * x + 2] = static_cast<unsigned char>(b);
                row[4 * x + 3] = 255;
            } else {
                std::memcpy(&row[3 * x], src + 3 * x, 3);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return out;
}

// 100 × 50 picture frame (at 96 dpi) with the rectangle (10, 10)–(90, 40) filled in `colour`.
inline QByteArray writeEmf(QRgb colour) {
    QByteArray records;
    auto record = [&](std::uint32_t type, std::initializer_list<std::uint32_t> words) {
        appendLe(records, type, 4);
        appendLe(records, static_cast<std::uint32_t>(8 + 4 * words.size()), 4);
        for (auto w : words)
            appendLe(records, w, 4);
    };
    const std::uint32_t colorRef = qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16;
    record(39, {1, 0, colorRef, 0}); // EMR_CREATEBRUSHINDIRECT: handle 1, solid
    record(37, {1});                 // EMR_SELECTOBJECT
    record(43, {10, 10, 90, 40});    // EMR_RECTANGLE
    record(14, {0, 16, 20});         // EMR_EOF
    QByteArray header;
    appendLe(header, 1, 4);
    appendLe(header, 88, 4);
    for (std::uint32_t v : {0u, 0u, 99u, 49u}) // bounds, device pixels
        appendLe(header, v, 4);
    for (std::uint32_t v : {0u, 0u, 2645u, 1322u}) // frame, 0.01 mm
        appendLe(header, v, 4);
    appendLe(header, 0x464D4520, 4);
    appendLe(header, 0x10000, 4);
    appendLe(header, static_cast<std::uint32_t>(88 + records.size()), 4);
    appendLe(header, 5, 4); // records
    appendLe(header, 2, 2); // handles
    appendLe(header, 0, 2);
    appendLe(header, 0, 4); // description
    appendLe(header, 0, 4);
    appendLe(header, 0, 4);                           // palette entries
    for (std::uint32_t v : {1024u, 768u, 271u, 203u}) // device pixels and millimetres
        appendLe(header, v, 4);
    return header + records;
}

// Placeable WMF of 100 × 50 units at 96 units per inch with one filled rectangle.
inline QByteArray writeWmf(QRgb colour) {
    QByteArray records;
    auto record = [&](std::uint16_t function, std::initializer_list<std::uint16_t> words) {
        appendLe(records, static_cast<std::uint32_t>(3 + words.size()), 4);
        appendLe(records, function, 2);
        for (auto w : words)
            appendLe(records, w, 2);
    };
    record(0x020B, {0, 0});    // SETWINDOWORG y, x
    record(0x020C, {50, 100}); // SETWINDOWEXT y, x
    const std::uint32_t colorRef = qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16;
    record(0x02FC, {0, static_cast<std::uint16_t>(colorRef), static_cast<std::uint16_t>(colorRef >> 16), 0});
    record(0x012D, {0});              // SELECTOBJECT
    record(0x041B, {40, 90, 10, 10}); // RECTANGLE bottom, right, top, left
    record(0x0000, {});               // EOF
    QByteArray placeable;
    appendLe(placeable, 0x9AC6CDD7, 4);
    appendLe(placeable, 0, 2);
    for (std::uint16_t v : {0, 0, 100, 50})
        appendLe(placeable, v, 2);
    appendLe(placeable, 96, 2);
    appendLe(placeable, 0, 4);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= static_cast<std::uint16_t>(static_cast<uchar>(placeable[i]) |
                                               static_cast<uchar>(placeable[i + 1]) << 8);
    appendLe(placeable, checksum, 2);
    QByteArray header;
    appendLe(header, 1, 2);
    appendLe(header, 9, 2);
    appendLe(header, 0x0300, 2);
    appendLe(header, static_cast<std::uint32_t>((18 + records.size()) / 2), 4);
    appendLe(header, 1, 2);
    appendLe(header, 7, 4);
    appendLe(header, 0, 2);
    return placeable + header + records;
}

} // namespace vistello::media::testing
