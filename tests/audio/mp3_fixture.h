#pragma once
// Makes small MP3 files for the audio tests with the ffmpeg command-line tool, so that no
// binary fixture has to be kept: a sine tone of a known number of samples, encoded as asked.

#include <QProcess>
#include <QStringList>

#include <filesystem>
#include <string>

namespace vistello::audio::test {

struct Mp3Spec {
    int sampleRate = 44100;
    int channels = 2;
    std::int64_t frames = 44100; // samples per channel of the source tone
    QStringList encoder = {"-c:a", "libmp3lame", "-b:a", "128k"};
    double frequency = 1000.0;
};

// Encodes the tone described by `format` into `path`; false when ffmpeg failed.
inline bool makeMp3(const std::filesystem::path& path, const Mp3Spec& format) {
    const QString source = QStringLiteral("sine=frequency=%1:sample_rate=%2,atrim=end_sample=%3")
                               .arg(format.frequency)
                               .arg(format.sampleRate)
                               .arg(format.frames);
    QStringList args = {"-nostdin", "-v", "error", "-y",  "-f",
                        "lavfi",    "-i", source,  "-ac", QString::number(format.channels)};
    args << format.encoder << QString::fromStdString(path.string());
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", args);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

} // namespace vistello::audio::test
