// libFuzzer target: the own TIFF reader over arbitrary bytes.

#include "media/message_sink.h"
#include "media/tiff_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vistello::media;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage bitmap;
    MessageList messages;
    // A smaller ceiling than the program's keeps each run fast; the checks are the same.
    readTiffData(bytes, QStringLiteral("fuzz.tif"), bitmap, messages, qint64{1} << 22);
    if (!bitmap.isNull() && bitmap.format() != QImage::Format_BGR888)
        __builtin_trap();
    return 0;
}
