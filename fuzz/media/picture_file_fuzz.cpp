// libFuzzer target: LoadPictureFile's decoding for one file extension (FUZZ_EXTENSION),
// so each loader and the TIFF fallback behind it get a corpus of their own.

#include "media/message_sink.h"
#include "media/picture_file.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*=false");
    // Qt's image plugins and the metafiles' text drawing expect an application object, as in the real
    // programs. It lives until the process ends: destroying it among the exit handlers crashes in Qt.
    static QGuiApplication* const application = new QGuiApplication(*argc, *argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vistello::media;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    MessageList messages;
    const QImage picture =
        decodePicture(bytes, QStringLiteral("fuzz." FUZZ_EXTENSION), messages, qint64{1} << 22);
    if (!picture.isNull() && picture.format() != QImage::Format_BGR888)
        __builtin_trap();
    return 0;
}
