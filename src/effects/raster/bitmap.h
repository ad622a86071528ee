#pragma once
// Pixel geometry and the 24-bit picture the transitions draw on.
//
// `Bitmap` holds blue-green-red pixels, rows top-down, each row padded to a multiple of four
// bytes, the layout the video encoder and the preview both take. `Rect` has exclusive right and
// bottom edges; `Point` is a plain integer pair. Nothing here depends on Qt.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistello::effects {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle with right and bottom exclusive; empty when right <= left or bottom <= top.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    // The common part of both rectangles, or an empty rectangle.
    Rect intersected(const Rect& other) const;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// One pixel's colour bytes in memory order.
struct Bgr {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    // From the platform's colour value 0x00BBGGRR.
    static Bgr fromColorRef(std::uint32_t colour);
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

// A 24-bit picture owned by value; copying copies the pixels. A new bitmap is black.
class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(int width, int height); // negative sizes are taken as 0

    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; } // bytes per row, a multiple of 4
    Rect bounds() const { return {0, 0, width_, height_}; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::uint8_t* row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* row(int y) const { return bytes_.data() + static_cast<std::size_t>(y) * stride_; }

    // x and y must lie inside the bitmap.
    Bgr pixel(int x, int y) const;
    void setPixel(int x, int y, Bgr colour);
    void fill(Bgr colour);
    // Fills the part of rect that lies inside the bitmap.
    void fillRect(const Rect& rect, Bgr colour);

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

  private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<std::uint8_t> bytes_;
};

} // namespace vistello::effects
