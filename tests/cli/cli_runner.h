#pragma once
// Runs the built vistello-cli and captures its exit status, stdout and stderr.

#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

namespace vistello::cli::testing {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
};

inline CliResult runCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VISTELLO_CLI), arguments);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace vistello::cli::testing
