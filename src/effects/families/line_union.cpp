#include "effects/families/line_union.h"

#include <algorithm>
#include <climits>

namespace vistello::effects {

void LineUnion::reset(Lines kind, int width, int height) {
    kind_ = kind;
    length_ = kind == Lines::Rows ? width : height;
    breadth_ = kind == Lines::Rows ? height : width;
    ordered_ = true;
    lineSorted_ = true;
    lines_.clear();
    intervals_.clear();
}

void LineUnion::beginLine(int across0, int across1) {
    finishLine();
    if (across0 > across1)
        std::swap(across0, across1);
    across0 = std::clamp(across0, 0, breadth_);
    across1 = std::clamp(across1, 0, breadth_);
    if (!lines_.empty() && (across0 < lines_.back().across0 || across1 < lines_.back().across1))
        ordered_ = false;
    const int at = static_cast<int>(intervals_.size());
    lines_.push_back({across0, across1, at, at});
    lineSorted_ = true;
}

void LineUnion::addInterval(int along0, int along1) {
    if (lines_.empty())
        return;
    if (along0 > along1)
        std::swap(along0, along1);
    along0 = std::max(along0, 0);
    along1 = std::min(along1, length_);
    if (along0 >= along1)
        return;
    Line& line = lines_.back();
    if (line.end > line.first && along0 < intervals_.back().start)
        lineSorted_ = false;
    intervals_.push_back({along0, along1});
    ++line.end;
}

// Sorts the current strip's intervals and merges those that overlap or touch.
void LineUnion::finishLine() {
    if (lines_.empty())
        return;
    Line& line = lines_.back();
    const auto begin = intervals_.begin() + line.first;
    if (!lineSorted_)
        std::sort(begin, intervals_.end(),
                  [](const Interval& a, const Interval& b) { return a.start < b.start; });
    int kept = line.first;
    for (int i = line.first; i < line.end; ++i) {
        const Interval next = intervals_[static_cast<std::size_t>(i)];
        if (kept > line.first && next.start <= intervals_[static_cast<std::size_t>(kept - 1)].end)
            intervals_[static_cast<std::size_t>(kept - 1)].end =
                std::max(intervals_[static_cast<std::size_t>(kept - 1)].end, next.end);
        else
            intervals_[static_cast<std::size_t>(kept++)] = next;
    }
    if (line.across0 >= line.across1)
        kept = line.first; // nothing of it lies on the picture
    intervals_.resize(static_cast<std::size_t>(kept));
    line.end = kept;
    lineSorted_ = true;
}

void LineUnion::build(Region& region) {
    finishLine();
    region.clear();
    if (!ordered_)
        buildSlowly(region);
    else if (kind_ == Lines::Rows)
        buildRows(region);
    else
        buildColumns(region);
}

// The cut positions lie in 0..limit (everything was cut to the picture), so they are sorted by
// marking them rather than by a sort.
void LineUnion::startCuts(int limit) {
    marks_.assign(static_cast<std::size_t>(limit) + 1, 0);
}

void LineUnion::markCut(int at) {
    marks_[static_cast<std::size_t>(at)] = 1;
}

void LineUnion::collectCuts() {
    cuts_.clear();
    for (std::size_t at = 0; at < marks_.size(); ++at)
        if (marks_[at])
            cuts_.push_back(static_cast<int>(at));
}

// Rows: the strips stacked on a stretch of rows form a window of consecutive strips; their
// sorted interval lists are merged into that stretch's spans.
void LineUnion::buildRows(Region& region) {
    startCuts(breadth_);
    for (const Line& line : lines_) {
        markCut(line.across0);
        markCut(line.across1);
    }
    collectCuts();
    std::size_t lo = 0;
    std::size_t hi = 0;
    for (std::size_t c = 0; c + 1 < cuts_.size(); ++c) {
        const int top = cuts_[c];
        while (hi < lines_.size() && lines_[hi].across0 <= top)
            ++hi;
        while (lo < hi && lines_[lo].across1 <= top)
            ++lo;
        cursors_.clear();
        for (std::size_t k = lo; k < hi; ++k)
            cursors_.push_back(lines_[k].first);
        edges_.clear();
        for (;;) {
            // The interval with the smallest start among the window's strips.
            int best = -1;
            int bestStart = INT_MAX;
            for (std::size_t k = 0; k < cursors_.size(); ++k)
                if (cursors_[k] < lines_[lo + k].end &&
                    intervals_[static_cast<std::size_t>(cursors_[k])].start < bestStart) {
                    best = static_cast<int>(k);
                    bestStart = intervals_[static_cast<std::size_t>(cursors_[k])].start;
                }
            if (best < 0)
                break;
            const Interval next =
                intervals_[static_cast<std::size_t>(cursors_[static_cast<std::size_t>(best)]++)];
            if (!edges_.empty() && next.start <= edges_.back())
                edges_.back() = std::max(edges_.back(), next.end);
            else
                edges_.insert(edges_.end(), {next.start, next.end});
        }
        region.appendBand(top, cuts_[c + 1], edges_);
    }
}

// Columns: the region's rows are cut wherever any column's interval starts or ends; within one
// stretch every column either covers it whole or not at all, and the covering columns, in
// ascending order, merge into the stretch's spans.
void LineUnion::buildColumns(Region& region) {
    startCuts(length_);
    for (const Interval& interval : intervals_) {
        markCut(interval.start);
        markCut(interval.end);
    }
    collectCuts();
    cursors_.clear();
    for (const Line& line : lines_)
        cursors_.push_back(line.first);
    for (std::size_t c = 0; c + 1 < cuts_.size(); ++c) {
        const int top = cuts_[c];
        edges_.clear();
        for (std::size_t k = 0; k < lines_.size(); ++k) {
            const Line& line = lines_[k];
            int& cursor = cursors_[k];
            while (cursor < line.end && intervals_[static_cast<std::size_t>(cursor)].end <= top)
                ++cursor;
            if (cursor == line.end || intervals_[static_cast<std::size_t>(cursor)].start > top)
                continue;
            if (!edges_.empty() && line.across0 <= edges_.back())
                edges_.back() = std::max(edges_.back(), line.across1);
            else
                edges_.insert(edges_.end(), {line.across0, line.across1});
        }
        region.appendBand(top, cuts_[c + 1], edges_);
    }
}

// Strips out of order (never made by the families): unite their rectangles one by one.
void LineUnion::buildSlowly(Region& region) const {
    for (const Line& line : lines_)
        for (int i = line.first; i < line.end; ++i) {
            const Interval& interval = intervals_[static_cast<std::size_t>(i)];
            if (kind_ == Lines::Rows)
                region.unite(Rect{interval.start, line.across0, interval.end, line.across1});
            else
                region.unite(Rect{line.across0, interval.start, line.across1, interval.end});
        }
}

} // namespace vistello::effects
