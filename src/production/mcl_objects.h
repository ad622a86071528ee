#pragma once
// The small objects of the MPEG encoder binding: the source handle that callbacks fill with a
// frame or a sound file, the frame image that titles are written onto, text objects, the
// audio file list and the time helpers. Each one maps onto one group of the conversion
// library's calls, with the call names kept (MclSourceSetDIB -> Source::SetDIB and so on).

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vistello::production {

// A 24-bit blue-green-red picture with rows top-down, as the frame generator holds it.
struct Dib {
    const std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // bytes from one row to the next
};

// Handed to a source callback; takes one frame (copied at once), one sound file or the end.
class Source {
  public:
    // A buffer of an earlier frame that SetDIB may copy into instead of allocating one: at
    // 2160 lines a frame is 25 MB, and a fresh one for every frame costs time and leaves the
    // allocator holding more memory than the run needs.
    void reuse(QImage spare) { spare_ = std::move(spare); }
    void SetDIB(const Dib& frame);
    // Instead of SetDIB: a frame of width × height (blue-green-red) to draw into directly, handed
    // over as it stands when the callback returns, which saves SetDIB's copy. Its pixels are
    // undefined until drawn; null when it cannot be allocated.
    QImage& drawFrame(int width, int height);
    void SetFile(const std::filesystem::path& path) { file_ = path; }
    void Finished() { finished_ = true; }

    bool hasFrame() const { return !frame_.isNull(); }
    QImage takeFrame() { return std::exchange(frame_, QImage()); }
    const std::filesystem::path& file() const { return file_; }
    bool finished() const { return finished_; }

  private:
    QImage frame_; // Format_BGR888, a deep copy or drawn by the source
    QImage spare_; // see reuse()
    std::filesystem::path file_;
    bool finished_ = false;
};

// MclRGB: a colour from its three components.
inline QColor MclRGB(int r, int g, int b) {
    return QColor(r, g, b);
}
// A colour given as the 32-bit value 0x00BBGGRR; -1 means "none" (transparent).
QColor colorFromValue(std::int64_t value);

// A text style: face, pixel size, colours and shadow (MclTextCreate .. MclTextFree).
class Text {
  public:
    // size is the character cell height in pixels; antialias and outlineWidth (pixels) are
    // the two further arguments. "宋体" and "SimSun" stand for an installed Song-style face.
    void SetFont(const QString& face, int size, int antialias, int outlineWidth);
    // Fill, outline and shadow colours, and the background (-1 or an invalid colour: none).
    void SetColor(QColor fill, QColor outline, std::int64_t shadow, std::int64_t background);
    // The shadow falls distance × (dx, dy) pixels away from the text.
    void Shadow(int distance, int dx, int dy);

    // Resolved family actually used to draw.
    QString family() const { return family_; }
    // Identifies the drawing of `string` in this style.
    QString cacheKey(const QString& string) const;

  private:
    friend class Image;
    QString family_;
    int size_ = 16;
    int antialias_ = 1;
    int outline_ = 0;
    QRgb fill_ = 0xffffffff, stroke_ = 0, shadow_ = 0, background_ = 0;
    int shadowDx_ = 0, shadowDy_ = 0;
};

// The frame image of the converter (MclImgCreate, MclDIBToImg, MclImgToDIB, MclImgText).
// Titles are rendered once per distinct text and style and then blended, so writing the same
// title on every frame costs a blend of its bounding box only.
class Image {
  public:
    void DIBToImg(const Dib& dib);
    QImage ImgToDIB() const { return image_.copy(); }
    // Writes `string` with its top-left at (x, y) of a frame composed with square pixels. A
    // frame drawn at a narrower (or wider) stored size gives `squeeze`, its width over the
    // square-pixel width: the title is drawn squeezed as much, at x × squeeze, so it shows on
    // the screen as on every other frame.
    void ImgText(const Text& text, int x, int y, const QString& string, double squeeze = 1);

    QImage& image() { return image_; }
    void setImage(QImage image) { image_ = std::move(image); }

  private:
    struct Rendered {
        QImage overlay; // premultiplied ARGB
        QPoint offset;  // from the (x, y) of the call to the overlay's top-left
    };
    // The title squeezed by `squeeze`, its origin `shift` (0 ≤ shift < 1) pixels right of a
    // whole column.
    const Rendered& render(const Text& text, const QString& string, double squeeze, double shift);

    QImage image_; // Format_BGR888
    std::map<QString, Rendered> cache_;
};

// The audio file list (MclListCreate .. MclListFree).
class AudioList {
  public:
    // Adds a song; the further numbers of the library call carry no meaning here.
    void Add(const std::filesystem::path& path, int = 16, int = 0, int = 0);
    // Total length of all readable songs in samples at 44.1 kHz (one sample per channel set).
    std::int64_t GetSampleCount() const;
    // Path of entry index; false past the end.
    bool GetName(int index, std::filesystem::path& name) const;
    int count() const { return static_cast<int>(paths_.size()); }

  private:
    std::vector<std::filesystem::path> paths_;
};

// MclMakeTimeStr: "mm:ss", or "h:mm:ss" from one hour on; negative times read as 0.
std::string MclMakeTimeStr(double seconds);

} // namespace vistello::production
