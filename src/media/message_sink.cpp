#include "media/message_sink.h"

#include <cstdio>

namespace vistello::media {

void StderrMessageSink::showMessage(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fprintf(stderr, "%s\n", utf8.constData());
    std::fflush(stderr);
}

} // namespace vistello::media
