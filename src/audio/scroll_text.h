#pragma once
// ScrollTextModel is the ticker TZelScrollText without its window: a text that moves by Step
// pixels on each tick of its own timer, left, right, up or down, and re-enters from the far
// edge once it has left the visible area. The widget measures text, runs the timer and
// draws the text shifted by position(); tests call tick() and set the sizes themselves.

#include <functional>
#include <string>

namespace vistello::audio {

enum class TScrollDirect { sdLeft, sdRight, sdUp, sdDown };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

struct TextExtent {
    int width = 0;
    int height = 0;
};

class ScrollTextModel {
  public:
    using TFrameScrolledEvent = std::function<void(TScrollDirect Direct, int CurPos, bool& Abort)>;
    // Measures a text for the client area; the bool says whether words wrap.
    using Measurer = std::function<TextExtent(const std::string& text, bool wordWrap)>;

    ScrollTextModel() = default;

    bool Active() const { return active_; }
    void setActive(bool value);
    int Interval() const { return interval_; }
    void setInterval(int value);
    int Step() const { return step_; }
    void setStep(int value);
    TScrollDirect ScrollDirection() const { return direction_; }
    void setScrollDirection(TScrollDirect value);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void setLayout(TTextLayout value);
    const std::string& ZelScrollText() const { return text_; }
    void setZelScrollText(const std::string& utf8);
    bool Transparent = false;
    bool wordWrap() const { return wordWrap_; }

    TFrameScrolledEvent OnFrameScrolled;
    Measurer measure;                                // none: every text measures 0 × 0
    std::function<void(bool active)> OnTimerChanged; // the widget starts or stops its timer
    std::function<void(int interval)> OnIntervalChanged;
    std::function<void()> OnRepaint;

    int fontHeight = -12; // as the platform writes it: negative = character height in pixels
    void setClientSize(int width, int height);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }

    int position() const { return position_; }
    int textWidth() const { return textWidth_; }
    int textHeight() const { return textHeight_; }

    // One timer tick: move, wrap (raising OnFrameScrolled), repaint.
    void tick();

  private:
    bool horizontal() const {
        return direction_ == TScrollDirect::sdLeft || direction_ == TScrollDirect::sdRight;
    }
    void repaint();

    bool active_ = true;
    int interval_ = 200;
    int step_ = 5;
    TScrollDirect direction_ = TScrollDirect::sdLeft;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlCenter;
    bool wordWrap_ = false;
    std::string text_;
    int clientWidth_ = 200;
    int clientHeight_ = 17;
    int position_ = 0;
    int textWidth_ = 0;
    int textHeight_ = 0;
    bool inTick_ = false;
};

} // namespace vistello::audio
