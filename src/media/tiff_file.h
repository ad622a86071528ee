#pragma once
// The structure of a TIFF file as the picture reader needs it: the 8-byte header, the chain
// of image directories, and per directory its 12-byte entries and its strip table.
//
// TFileTiff holds the file's bytes and reads the whole directory chain when its FileName is
// set (or its bytes are handed over). Every number is taken in the byte order the header
// names, and nothing is ever read outside the bytes held: a directory that does not fit,
// a next-directory offset outside the file or one already visited ends the chain.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vistello::media {

struct TiffEntry {
    std::uint16_t Tag = 0;
    std::uint16_t Type = 0; // 3 SHORT, 4 LONG, others taken as 32-bit
    std::uint32_t Count = 0;
    std::uint32_t Field =
        0; // the whole value field as a 32-bit number (an offset when the values do not fit)
    std::uint32_t Value = 0;         // a SHORT's first two bytes, otherwise the whole field
    std::uint32_t FieldPosition = 0; // file offset of the value field itself
};

struct TiffStrip {
    std::uint32_t Offset = 0;
    std::uint32_t ByteCount = 0;
};

class TFileTiff;

// One image directory of a TFileTiff, which it borrows for its byte order and bytes.
class TGraphicTiff {
  public:
    explicit TGraphicTiff(const TFileTiff& owner) : owner_(owner) {}

    // Reads the directory at `offset`; false when its entries do not lie inside the file.
    bool read(std::uint32_t offset);

    const TiffEntry* FindTag(std::uint16_t tag) const; // the last entry with that tag, or none
    int StripCount() const { return static_cast<int>(strips_.size()); }
    const TiffStrip* Strip(int index) const;
    // The strip arrays are announced but lie (partly) outside the file.
    bool stripTableUnreadable() const { return stripTableUnreadable_; }
    std::uint32_t nextOffset() const { return nextOffset_; }
    const std::vector<TiffEntry>& entries() const { return entries_; }

  private:
    void readStripTable();
    std::optional<std::vector<std::uint32_t>> readArray(const TiffEntry& entry, std::uint32_t count) const;

    const TFileTiff& owner_;
    std::vector<TiffEntry> entries_;
    std::vector<TiffStrip> strips_;
    bool stripTableUnreadable_ = false;
    std::uint32_t nextOffset_ = 0;
};

class TFileTiff {
  public:
    // At most this many directories are read from one file.
    static constexpr int kMaxImages = 256;

    TFileTiff() = default;
    TFileTiff(const TFileTiff&) = delete;
    TFileTiff& operator=(const TFileTiff&) = delete;

    const QString& FileName() const { return fileName_; }
    // Reads the named file; an empty name clears everything.
    void setFileName(const QString& fileName);
    // Reads from bytes already in memory (which must outlive this object); `fileName` only names them.
    void setData(const QByteArray& bytes, const QString& fileName);

    bool valid() const { return valid_; }
    bool littleEndian() const { return littleEndian_; }
    std::uint64_t fileSize() const { return static_cast<std::uint64_t>(bytes_.size()); }
    int ImageCount() const { return static_cast<int>(images_.size()); }
    const TGraphicTiff* Image(int index) const;

    // Bounds-checked reads in the file's byte order.
    std::optional<std::uint16_t> read16(std::uint64_t offset) const;
    std::optional<std::uint32_t> read32(std::uint64_t offset) const;
    // Pointer to `length` bytes at `offset`, or null when they are not all inside the file.
    const std::uint8_t* at(std::uint64_t offset, std::uint64_t length) const;

  private:
    void clear();
    void parse();

    QString fileName_;
    QByteArray bytes_;
    bool littleEndian_ = true;
    bool valid_ = false;
    std::vector<std::unique_ptr<TGraphicTiff>> images_;
};

} // namespace vistello::media
