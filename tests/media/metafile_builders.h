#pragma once
// Metafiles built record by record for the players' tests: an EMF whose frame is a square
// of `side` pixels at 96 dpi on a 96-dpi reference device, and a WMF, placeable or not.

#include <QByteArray>
#include <QColor>
#include <QSize>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace vistello::media::testing {

inline std::uint32_t colorRef(QRgb c) {
    return qRed(c) | qGreen(c) << 8 | qBlue(c) << 16;
}
inline std::uint32_t floatBits(float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

class EmfBuilder {
  public:
    // A record of 32-bit words; bytes are padded to a whole word.
    EmfBuilder& record(std::uint32_t type, std::initializer_list<std::uint32_t> words, QByteArray tail = {}) {
        while (tail.size() % 4)
            tail.append('\0');
        put(records_, type);
        put(records_, static_cast<std::uint32_t>(8 + 4 * words.size() + tail.size()));
        for (std::uint32_t w : words)
            put(records_, w);
        records_ += tail;
        ++count_;
        return *this;
    }
    EmfBuilder& solidBrush(std::uint32_t handle, QRgb colour) {
        record(39, {handle, 0, colorRef(colour), 0});
        return record(37, {handle});
    }
    EmfBuilder& nullPen() { return record(37, {0x80000008u}); }

    QByteArray bytes(int side = 100) const {
        QByteArray records = records_;
        put(records, 14);
        put(records, 20);
        for (std::uint32_t w : {0u, 16u, 20u})
            put(records, w);
        // 96 dpi reference device: 1000 × 1000 pixels on 264.583 × 264.583 mm (micrometres given).
        const auto hundredths = static_cast<std::uint32_t>(side * 2540 / 96);
        QByteArray header;
        for (std::uint32_t w : {1u,
                                108u,
                                0u,
                                0u,
                                std::uint32_t(side - 1),
                                std::uint32_t(side - 1),
                                0u,
                                0u,
                                hundredths,
                                hundredths,
                                0x464D4520u,
                                0x10000u,
                                std::uint32_t(108 + records.size()),
                                std::uint32_t(count_ + 2),
                                64u,
                                0u,
                                0u,
                                0u,
                                1000u,
                                1000u,
                                265u,
                                265u,
                                0u,
                                0u,
                                0u,
                                264583u,
                                264583u})
            put(header, w);
        return header + records;
    }

  private:
    static void put(QByteArray& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(static_cast<char>(v >> (8 * i)));
    }
    QByteArray records_;
    int count_ = 0;
};

class WmfBuilder {
  public:
    // A record of 16-bit words, in the order the file stores them (y before x, bottom first).
    WmfBuilder& record(std::uint16_t function, std::initializer_list<std::int32_t> words,
                       QByteArray tail = {}) {
        if (tail.size() % 2)
            tail.append('\0');
        put(records_, static_cast<std::uint32_t>(3 + words.size() + tail.size() / 2), 4);
        put(records_, function, 2);
        for (std::int32_t w : words)
            put(records_, static_cast<std::uint32_t>(w), 2);
        records_ += tail;
        return *this;
    }
    WmfBuilder& solidBrush(QRgb colour) {
        const std::uint32_t c = colorRef(colour);
        return record(0x02FC,
                      {0, static_cast<std::int32_t>(c & 0xFFFF), static_cast<std::int32_t>(c >> 16), 0});
    }

    // Placeable when `unitsPerInch` is set, framing (0, 0)–`frame`.
    QByteArray bytes(int unitsPerInch = 0, QSize frame = {}) const {
        QByteArray records = records_;
        put(records, 3, 4);
        put(records, 0, 2);
        QByteArray out;
        if (unitsPerInch > 0) {
            put(out, 0x9AC6CDD7, 4);
            put(out, 0, 2);
            for (int v : {0, 0, frame.width(), frame.height(), unitsPerInch})
                put(out, static_cast<std::uint32_t>(v), 2);
            put(out, 0, 4);
            std::uint16_t checksum = 0;
            for (int i = 0; i < 20; i += 2)
                checksum ^= static_cast<std::uint16_t>(static_cast<uchar>(out[i]) |
                                                       static_cast<uchar>(out[i + 1]) << 8);
            put(out, checksum, 2);
        }
        for (std::uint32_t v : {1u, 9u, 0x300u})
            put(out, v, 2);
        put(out, static_cast<std::uint32_t>((18 + records.size()) / 2), 4);
        put(out, 16, 2);
        put(out, static_cast<std::uint32_t>(records.size() / 2), 4);
        put(out, 0, 2);
        return out + records;
    }

  private:
    static void put(QByteArray& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(static_cast<char>(v >> (8 * i)));
    }
    QByteArray records_;
};

// A bottom-up 24-bit DIB header and pixels, `pixels` given top row first.
inline QByteArray dib(int width, int height, std::initializer_list<QRgb> pixels) {
    QByteArray out;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(static_cast<char>(v >> (8 * i)));
    };
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i)
        put(0, 4);
    const std::vector<QRgb> all(pixels);
    for (int y = height - 1; y >= 0; --y) {
        int row = 0;
        for (int x = 0; x < width; ++x, row += 3) {
            const QRgb p = all[static_cast<std::size_t>(y * width + x)];
            out.append(static_cast<char>(qBlue(p)));
            out.append(static_cast<char>(qGreen(p)));
            out.append(static_cast<char>(qRed(p)));
        }
        for (; row % 4; ++row)
            out.append('\0');
    }
    return out;
}

} // namespace vistello::media::testing
