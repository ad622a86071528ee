#include "audio/scroll_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace vistello::audio {
namespace {

// A ticker of the main window's size whose texts measure as the test says.
struct Ticker : testing::Test {
    ScrollTextModel ticker;
    TextExtent extent{200, 12};
    std::vector<bool> timer;
    std::vector<int> wraps;

    Ticker() {
        ticker.measure = [this](const std::string&, bool) { return extent; };
        ticker.OnTimerChanged = [this](bool on) { timer.push_back(on); };
        ticker.setClientSize(653, 25);
    }
};

TEST_F(Ticker, Defaults) {
    const ScrollTextModel fresh;
    EXPECT_TRUE(fresh.Active());
    EXPECT_EQ(fresh.Interval(), 200);
    EXPECT_EQ(fresh.Step(), 5);
    EXPECT_EQ(fresh.ScrollDirection(), TScrollDirect::sdLeft);
    EXPECT_EQ(fresh.Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(fresh.Layout(), TTextLayout::tlCenter);
    EXPECT_TRUE(fresh.ZelScrollText().empty());
    EXPECT_FALSE(fresh.Transparent);
    EXPECT_FALSE(fresh.wordWrap());
    EXPECT_EQ(fresh.clientWidth(), 200);
}

TEST_F(Ticker, LeftScrollWrapsToTheRightEdge) {
    ticker.setZelScrollText("greeting");
    ticker.OnFrameScrolled = [this](TScrollDirect d, int pos, bool&) {
        EXPECT_EQ(d, TScrollDirect::sdLeft);
        wraps.push_back(pos);
    };
    std::vector<int> positions;
    for (int i = 0; i < 41; ++i) {
        ticker.tick();
        positions.push_back(ticker.position());
    }
    EXPECT_EQ(positions[0], -5);
    EXPECT_EQ(positions[39], -200);
    EXPECT_EQ(positions[40], 652); // at -205 the text is out of view
    EXPECT_EQ(wraps, std::vector<int>{-205});
    EXPECT_TRUE(ticker.Active());
    ticker.tick();
    EXPECT_EQ(ticker.position(), 647);
}

TEST_F(Ticker, OtherDirectionsWrap) {
    struct Case {
        TScrollDirect direction;
        int ticks;
        int before;
        int after;
    };
    const Case cases[] = {
        {TScrollDirect::sdRight, 131, 650, 1 - 200}, // 131 × 5 = 655 > 653
        {TScrollDirect::sdUp, 3, -10, 24},           // height 12: -15 wraps to 25 − 1
        {TScrollDirect::sdDown, 6, 25, 1 - 12},      // 30 > 25 wraps to 1 − 12
    };
    for (const Case& c : cases) {
        ScrollTextModel t;
        t.measure = [](const std::string&, bool) { return TextExtent{200, 12}; };
        t.setClientSize(653, 25);
        t.setScrollDirection(c.direction);
        t.setZelScrollText("x");
        for (int i = 0; i < c.ticks - 1; ++i)
            t.tick();
        EXPECT_EQ(t.position(), c.before) << static_cast<int>(c.direction);
        t.tick();
        EXPECT_EQ(t.position(), c.after) << static_cast<int>(c.direction);
    }
}

TEST_F(Ticker, StepRules) {
    ticker.setStep(653);
    EXPECT_EQ(ticker.Step(), 5);
    ticker.setStep(652);
    EXPECT_EQ(ticker.Step(), 652);
    ticker.setStep(0);
    ticker.setZelScrollText("x");
    timer.clear();
    ticker.tick();
    EXPECT_EQ(ticker.position(), 0); // frozen,
    EXPECT_TRUE(ticker.Active());    // while the timer keeps running
    EXPECT_TRUE(timer.empty());
}

TEST_F(Ticker, DirectionForcesLayoutAlignmentAndWrap) {
    ticker.setZelScrollText("x");
    ticker.tick();
    ticker.setAlignment(TAlignment::taCenter);
    EXPECT_EQ(ticker.Alignment(), TAlignment::taLeftJustify);
    ticker.setScrollDirection(TScrollDirect::sdUp);
    EXPECT_EQ(ticker.Layout(), TTextLayout::tlTop);
    EXPECT_TRUE(ticker.wordWrap());
    EXPECT_EQ(ticker.position(), 0);
    ticker.setLayout(TTextLayout::tlCenter);
    EXPECT_EQ(ticker.Layout(), TTextLayout::tlTop);
    ticker.setAlignment(TAlignment::taCenter);
    EXPECT_EQ(ticker.Alignment(), TAlignment::taCenter);
    ticker.setScrollDirection(TScrollDirect::sdRight);
    EXPECT_FALSE(ticker.wordWrap());
    EXPECT_EQ(ticker.Alignment(), TAlignment::taLeftJustify);
    ticker.setLayout(TTextLayout::tlBottom);
    EXPECT_EQ(ticker.Layout(), TTextLayout::tlBottom);
}

TEST_F(Ticker, WidthEstimateFromTheLongestLine) {
    extent = {10, 24};
    ticker.setZelScrollText("abcd\n0123456789");
    EXPECT_EQ(ticker.textWidth(), 60); // 12 × 10 ÷ 2
    EXPECT_EQ(ticker.textHeight(), 24);
    ticker.setZelScrollText("你好"); // four bytes as stored text
    EXPECT_EQ(ticker.textWidth(), 24);
    extent = {300, 12};
    ticker.setZelScrollText("abcd");
    EXPECT_EQ(ticker.textWidth(), 300);
}

TEST_F(Ticker, AbortLeavesTheTextOutOfViewAndStopsTheTicker) {
    extent = {3, 12};
    ticker.setZelScrollText("");
    ticker.OnFrameScrolled = [](TScrollDirect, int, bool& abort) { abort = true; };
    ticker.tick(); // -5: beyond a text 3 wide
    EXPECT_EQ(ticker.position(), -5);
    EXPECT_FALSE(ticker.Active());
    EXPECT_EQ(timer, (std::vector<bool>{false}));
    ticker.OnFrameScrolled = nullptr;
    ticker.setActive(true);
    ticker.tick();
    EXPECT_EQ(ticker.position(), 652);
}

} // namespace
} // namespace vistello::audio
