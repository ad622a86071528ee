#include "audio/scroll_text.h"

#include "store/gbk_text.h"

#include <algorithm>
#include <cstdlib>

namespace vistello::audio {

namespace {

// Bytes of the longest line as stored text (GBK: two bytes for a Chinese character).
std::size_t longestLineBytes(const std::string& utf8) {
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos)
            end = utf8.size();
        std::string line = utf8.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        longest = std::max(longest, store::utf8ToGbk(line).size());
        start = end + 1;
    }
    return longest;
}

} // namespace

void ScrollTextModel::setActive(bool value) {
    if (value == active_)
        return;
    active_ = value;
    if (OnTimerChanged)
        OnTimerChanged(value);
}

void ScrollTextModel::setInterval(int value) {
    if (value == interval_)
        return;
    interval_ = value;
    if (OnIntervalChanged)
        OnIntervalChanged(value);
}

void ScrollTextModel::setStep(int value) {
    if (value != step_ && value < clientWidth_)
        step_ = value;
}

void ScrollTextModel::setScrollDirection(TScrollDirect value) {
    if (value == direction_)
        return;
    direction_ = value;
    if (horizontal()) {
        wordWrap_ = false;
        alignment_ = TAlignment::taLeftJustify;
    } else {
        wordWrap_ = true;
        layout_ = TTextLayout::tlTop;
    }
    setZelScrollText(text_);
}

void ScrollTextModel::setAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = horizontal() ? TAlignment::taLeftJustify : value;
}

void ScrollTextModel::setLayout(TTextLayout value) {
    if (value == layout_)
        return;
    layout_ = horizontal() ? value : TTextLayout::tlTop;
}

void ScrollTextModel::setZelScrollText(const std::string& utf8) {
    text_ = utf8;
    const TextExtent measured = measure ? measure(text_, wordWrap_) : TextExtent{};
    const auto estimate =
        static_cast<int>(std::abs(fontHeight) * static_cast<long long>(longestLineBytes(text_)) / 2);
    textWidth_ = std::max(measured.width, estimate);
    textHeight_ = measured.height;
    position_ = 0;
    repaint();
}

void ScrollTextModel::setClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

void ScrollTextModel::tick() {
    if (step_ == 0 || inTick_)
        return;
    // The timer stays off and further ticks are ignored while a handler runs.
    setActive(false);
    inTick_ = true;
    bool abort = false;
    const auto wrap = [&](bool condition, int restart) {
        if (!condition)
            return;
        if (OnFrameScrolled)
            OnFrameScrolled(direction_, position_, abort);
        if (!abort)
            position_ = restart;
    };
    switch (direction_) {
    case TScrollDirect::sdLeft:
        position_ -= step_;
        wrap(position_ < 0 && -position_ > textWidth_, clientWidth_ - 1);
        break;
    case TScrollDirect::sdRight:
        position_ += step_;
        wrap(position_ > 0 && position_ > clientWidth_, 1 - textWidth_);
        break;
    case TScrollDirect::sdUp:
        position_ -= step_;
        wrap(position_ < 0 && -position_ > textHeight_, clientHeight_ - 1);
        break;
    case TScrollDirect::sdDown:
        position_ += step_;
        wrap(position_ > 0 && position_ > clientHeight_, 1 - textHeight_);
        break;
    }
    repaint();
    if (!abort)
        setActive(true);
    inTick_ = false;
}

void ScrollTextModel::repaint() {
    if (OnRepaint)
        OnRepaint();
}

} // namespace vistello::audio
