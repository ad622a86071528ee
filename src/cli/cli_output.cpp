#include "cli/cli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cstdio>

namespace vistello::cli {

void printJson(const QJsonValue& value) {
    QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    const QByteArray bytes = document.toJson(QJsonDocument::Compact);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printMessage(const std::string& utf8) {
    std::fprintf(stderr, "%s\n", utf8.c_str());
}

int usageError(const Command& command) {
    std::fprintf(stderr, "usage: vistello-cli [--root DIR] %s %s\n", command.name, command.usage);
    return kExitUsage;
}

} // namespace vistello::cli
