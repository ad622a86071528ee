#pragma once
// Reduces a picture that arrives row by row to a smaller size by averaging the source
// pixels that fall on each target pixel, so that a decoder which delivers rows or bands
// (libtiff) never holds the picture at its full size. Pixels are 4 bytes (RGBA, alpha
// premultiplied); with the target as large as the source it copies.

#include <QImage>

#include <cstdint>
#include <vector>

namespace vistello::media {

class BoxReducer {
  public:
    // `target` must be a QImage::Format_RGBA8888_Premultiplied picture no larger than the source.
    BoxReducer(int sourceWidth, int sourceHeight, QImage& target);

    // Source rows in order from the top, `sourceWidth` pixels each.
    void addRow(const std::uint8_t* rgba);
    // Writes the last target row; call after the last source row.
    void finish();

  private:
    void flush();

    int sourceHeight_;
    QImage& target_;
    std::vector<int> column_;        // target column of each source column
    std::vector<int> columnWidth_;   // source columns per target column
    std::vector<std::uint32_t> sum_; // per target column and channel, of the rows so far
    int sourceRow_ = 0;
    int targetRow_ = 0;
    int rowsInBox_ = 0;
};

} // namespace vistello::media
