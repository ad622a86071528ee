#pragma once
// Bounds-checked little-endian reads from one metafile record, shared by the EMF and WMF
// players. A read outside the record gives 0, and `has` tells beforehand whether a field or
// an array lies inside it, so no count or offset taken from the file can reach past it.

#include <QByteArrayView>
#include <QColor>
#include <QPointF>

#include <cstdint>
#include <cstring>

namespace vistello::media::metafile {

class RecordView {
  public:
    explicit RecordView(QByteArrayView bytes) : bytes_(bytes) {}

    qsizetype size() const { return bytes_.size(); }
    bool has(qint64 at, qint64 length) const {
        return at >= 0 && length >= 0 && at <= bytes_.size() - length;
    }
    QByteArrayView slice(qint64 at, qint64 length) const {
        return has(at, length) ? bytes_.sliced(at, length) : QByteArrayView();
    }

    std::uint32_t u32(qint64 at) const { return read<std::uint32_t>(at); }
    std::int32_t i32(qint64 at) const { return read<std::int32_t>(at); }
    std::uint16_t u16(qint64 at) const { return read<std::uint16_t>(at); }
    std::int16_t i16(qint64 at) const { return read<std::int16_t>(at); }
    std::uint8_t u8(qint64 at) const { return read<std::uint8_t>(at); }
    float f32(qint64 at) const { return read<float>(at); }

    // A COLORREF: red in the low byte, then green and blue; the top byte's flags are ignored.
    QColor colour(qint64 at) const {
        const std::uint32_t v = u32(at);
        return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    }

  private:
    template <typename T> T read(qint64 at) const {
        T value{};
        if (has(at, sizeof(T)))
            std::memcpy(&value, bytes_.data() + at, sizeof(T)); // the build asserts a little-endian machine
        return value;
    }

    QByteArrayView bytes_;
};

} // namespace vistello::media::metafile
