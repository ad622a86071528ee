#include "media/box_reducer.h"

#include <algorithm>

namespace vistello::media {

BoxReducer::BoxReducer(int sourceWidth, int sourceHeight, QImage& target)
    : sourceHeight_(sourceHeight), target_(target), column_(static_cast<std::size_t>(sourceWidth)),
      columnWidth_(static_cast<std::size_t>(target.width())), sum_(std::size_t(target.width()) * 4) {
    for (int x = 0; x < sourceWidth; ++x) {
        const auto to = static_cast<int>(qint64{x} * target.width() / sourceWidth);
        column_[static_cast<std::size_t>(x)] = to;
        ++columnWidth_[static_cast<std::size_t>(to)];
    }
}

void BoxReducer::addRow(const std::uint8_t* rgba) {
    if (targetRow_ >= target_.height())
        return;
    const auto row = static_cast<int>(qint64{sourceRow_} * target_.height() / sourceHeight_);
    if (row != targetRow_)
        flush();
    for (std::size_t x = 0; x < column_.size(); ++x, rgba += 4) {
        std::uint32_t* sum = &sum_[4 * static_cast<std::size_t>(column_[x])];
        sum[0] += rgba[0], sum[1] += rgba[1], sum[2] += rgba[2], sum[3] += rgba[3];
    }
    ++rowsInBox_;
    ++sourceRow_;
}

void BoxReducer::finish() {
    if (rowsInBox_ > 0)
        flush();
}

void BoxReducer::flush() {
    if (targetRow_ < target_.height() && rowsInBox_ > 0) {
        std::uint8_t* out = target_.scanLine(targetRow_);
        for (std::size_t x = 0; x < columnWidth_.size(); ++x) {
            const std::uint32_t count = std::uint32_t(columnWidth_[x]) * std::uint32_t(rowsInBox_);
            for (std::size_t c = 0; c < 4; ++c)
                out[4 * x + c] = count ? static_cast<std::uint8_t>((sum_[4 * x + c] + count / 2) / count) : 0;
        }
    }
    std::fill(sum_.begin(), sum_.end(), 0);
    rowsInBox_ = 0;
    ++targetRow_;
}

} // namespace vistello::media
