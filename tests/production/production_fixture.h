#pragma once
// Helpers of the production tests: a GUI application for text drawing, generated media made
// with the ffmpeg command-line tool, and ffprobe's view of a written file.

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "store/album_operations.h"
#include "store/album_store.h"

#include <QColor>
#include <QImage>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace vistello::testing {

// Runs a shell command; returns its exit status and its standard output.
inline int runCommand(const std::string& command, std::string* output = nullptr) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("(" + command + ") 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer;
    std::string text;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
        text.append(buffer.data(), n);
    const int status = pclose(pipe.release());
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string shellQuoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// A stereo MP3 of `seconds` seconds of a 440 Hz tone.
inline void makeSong(const std::filesystem::path& path, double seconds, int rate = 44100) {
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(rate) +
        ":duration=" + std::to_string(seconds) + " -ac 2 -c:a libmp3lame -b:a 128k " + shellQuoted(path);
    ASSERT_EQ(runCommand(command), 0) << command;
}

// ffprobe's streams and format of a file, with counted frames.
inline QJsonObject probe(const std::filesystem::path& path) {
    std::string text;
    runCommand("ffprobe -v error -count_frames -show_streams -show_format -of json " + shellQuoted(path),
               &text);
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

inline QJsonObject streamOf(const QJsonObject& probed, const QString& type) {
    for (const auto& stream : probed["streams"].toArray())
        if (stream.toObject()["codec_type"].toString() == type)
            return stream.toObject();
    return {};
}

struct PictureSpec {
    int width, height;
    QColor colour;
    int stayTime = 0;
    int effect = 1;
    const char* title = "";
};

// An album "Test" in `root` with JPEG pictures of one colour each and MP3 songs of the given
// lengths; the store is left with the album open.
inline void makeAlbum(store::AlbumStore& album, const std::vector<PictureSpec>& pictures,
                      const std::vector<double>& songSeconds) {
    album.LoadInfo("A");
    store::createAlbum(album, "Test");
    album.openAlbum(album.AlbumCount() - 1);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const PictureSpec& picture = pictures[i];
        const std::string name = "P" + std::to_string(i) + ".jpg";
        QImage image(picture.width, picture.height, QImage::Format_RGB888);
        image.fill(picture.colour);
        ASSERT_TRUE(image.save(QString::fromStdString((album.AlbumPath() / name).string()), "JPEG", 95));
        store::TPicInfo record;
        record.StayTime = picture.stayTime;
        record.Effect = picture.effect;
        record.Title.setText(picture.title);
        record.FileName.setText(name);
        album.PicList.push_back(record);
    }
    for (std::size_t i = 0; i < songSeconds.size(); ++i) {
        const std::string name = "M" + std::to_string(i) + ".mp3";
        makeSong(album.AlbumPath() / name, songSeconds[i]);
        store::TMusicInfo record;
        record.PlayTime = static_cast<int>(songSeconds[i] + 0.5);
        record.FileName.setText(name);
        album.MusicList.push_back(record);
    }
    album.SaveInfo("P");
    album.SaveInfo("M");
}

} // namespace vistello::testing

// Text drawing needs a GUI application; the offscreen platform is set by the test runner.
#define VISTELLO_GUI_TEST_MAIN                                                                               \
    int main(int argc, char** argv) {                                                                        \
        QGuiApplication app(argc, argv);                                                                     \
        ::testing::InitGoogleTest(&argc, argv);                                                              \
        return RUN_ALL_TESTS();                                                                              \
    }
