#pragma once
// What the import benchmarks share: a photo-like test picture, and the wall and processor
// time of a piece of work, of this process or of the child processes it ran.

#include <QImage>

#include <chrono>
#include <sys/resource.h>

namespace vistello::media::bench {

// A photo-like picture: smooth gradients with fine texture, so the JPEG has realistic size.
inline QImage photoLike(int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int texture = ((x * 7 + y * 13) ^ (x * y)) & 31;
            row[3 * x] = static_cast<uchar>((x * 255 / width + texture) & 255);
            row[3 * x + 1] = static_cast<uchar>((y * 255 / height + texture) & 255);
            row[3 * x + 2] = static_cast<uchar>(((x + y) * 128 / (width + height) + 2 * texture) & 255);
        }
    }
    return image;
}

inline double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Processor time (user + system) of this process or of its finished children.
inline double processorSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Cost {
    double wall = 0, processor = 0;
};

// Wall and processor time of `work`; `who` names whose processor time counts.
inline Cost costOf(int who, auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    const double processorStart = processorSeconds(who);
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            processorSeconds(who) - processorStart};
}

} // namespace vistello::media::bench
