#pragma once
// The union of many parallel strips, built straight into a region's bands.
//
// Uneven shreds and speckles make their regions from hundreds of strips (rows or columns of the
// picture), each holding a few intervals along its length. Uniting those rectangles one by one
// re-sweeps the growing region every time; `LineUnion` instead collects the strips and emits the
// union in a single top-to-bottom pass. Everything is cut to the picture first, since drawing
// through a region skips what lies outside it anyway. The storage is kept between uses.

#include "effects/raster/region.h"

#include <vector>

namespace vistello::effects {

class LineUnion {
  public:
    enum class Lines { Rows, Columns };

    // Starts an empty set of rows (intervals along x) or columns (along y) on a width × height
    // picture.
    void reset(Lines kind, int width, int height);
    // Starts the next strip, covering [across0, across1) across its length (rows: y, columns: x).
    // Strips come in ascending order of both edges, as the families make them.
    void beginLine(int across0, int across1);
    // Adds [along0, along1) to the current strip; reversed edges are swapped, as for a rectangle
    // region.
    void addInterval(int along0, int along1);
    // Makes region (its old content dropped) the union of all strips.
    void build(Region& region);

  private:
    struct Line {
        int across0;
        int across1;
        int first; // index of the first interval in intervals_
        int end;
    };
    struct Interval {
        int start;
        int end;
    };
    void finishLine();
    void buildRows(Region& region);
    void buildColumns(Region& region);
    void buildSlowly(Region& region) const;
    void startCuts(int limit);
    void markCut(int at);
    void collectCuts();

    Lines kind_ = Lines::Rows;
    int length_ = 0;  // the picture's side along the strips
    int breadth_ = 0; // the side across them
    bool ordered_ = true;
    bool lineSorted_ = true;
    std::vector<Line> lines_;
    std::vector<Interval> intervals_;
    // Scratch of build().
    std::vector<int> edges_;
    std::vector<int> cuts_;
    std::vector<char> marks_;
    std::vector<int> cursors_;
};

} // namespace vistello::effects
