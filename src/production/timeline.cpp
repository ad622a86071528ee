#include "production/timeline.h"

#include "store/album_store.h"

#include <algorithm>
#include <numeric>

namespace vistello::production {

namespace {
// A stored StayTime can be anything; a day per picture is more than any album needs.
constexpr std::int64_t kMaxHoldSeconds = 24LL * 3600;
} // namespace

std::int64_t framesOfSeconds(std::int64_t seconds, Rational rate) {
    if (rate.num <= 0 || rate.den <= 0)
        return 0;
    const std::int64_t numerator = seconds * rate.num;
    return (2 * numerator + rate.den) / (2 * std::int64_t{rate.den}) - (numerator < 0 ? 1 : 0);
}

int transitionSteps(Rational rate) {
    return static_cast<int>(std::max<std::int64_t>(1, framesOfSeconds(kTransitionSeconds, rate)));
}

int transitionProgress(int step, int steps) {
    if (steps <= 1 || step >= steps)
        return 100;
    if (step <= 1)
        return 2;
    // 2 + 98 × (step − 1) ÷ (steps − 1), to the nearest integer.
    return 2 + (2 * 98 * (step - 1) + (steps - 1)) / (2 * (steps - 1));
}

std::int64_t totalVideoFrames(const store::AlbumStore& album, bool synchronise, Rational rate) {
    const std::vector<int> hold = computeHoldFrames(album, synchronise, rate);
    return (transitionSteps(rate) + 1) * static_cast<std::int64_t>(album.PicCount()) +
           std::accumulate(hold.begin(), hold.end(), std::int64_t{0});
}

std::vector<double> pictureStartSeconds(const std::vector<int>& holdFrames, int transitionSteps,
                                        Rational rate) {
    std::vector<double> starts;
    std::int64_t frame = 0;
    for (const int hold : holdFrames) {
        starts.push_back(static_cast<double>(frame) * rate.den / rate.num);
        frame += hold + transitionSteps + 1;
    }
    return starts;
}

std::int64_t musicSeconds(const store::AlbumStore& album) {
    std::int64_t total = 0;
    for (const auto& song : album.MusicList)
        total += std::max(0, song.PlayTime);
    return total;
}

std::vector<int> computeHoldFrames(const store::AlbumStore& album, bool synchronise, Rational rate) {
    const auto count = static_cast<std::int64_t>(album.PicCount());
    const std::int64_t maxFrames = framesOfSeconds(kMaxHoldSeconds, rate);
    std::vector<int> hold;
    hold.reserve(album.PicList.size());
    // The music left after the transitions, spread evenly: (M − 2n) × rate div n.
    const std::int64_t even = count > 0 && rate.den > 0 ? (musicSeconds(album) - kTransitionSeconds * count) *
                                                              rate.num / (std::int64_t{rate.den} * count)
                                                        : 0;
    for (const auto& picture : album.PicList) {
        const std::int64_t frames = synchronise ? even : framesOfSeconds(picture.StayTime, rate);
        hold.push_back(static_cast<int>(std::clamp<std::int64_t>(frames, 0, maxFrames)));
    }
    return hold;
}

} // namespace vistello::production
