#pragma once
// The three fixed-size records of the album store, held in memory in exactly their on-disk
// layout (little-endian integers, length-prefixed GBK text) so that a list is read and
// written record by record without conversion.

#include "store/gbk_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace vistello::store {

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");

#pragma pack(push, 1)

// A text field: one length byte and Capacity bytes of GBK text. Only the first Length bytes
// count; a length byte above the capacity (never written by this program) reads as the capacity.
template <std::size_t Capacity> struct ShortText {
    std::uint8_t Length = 0;
    std::array<char, Capacity> Bytes{};

    std::string_view gbk() const { return {Bytes.data(), std::min<std::size_t>(Length, Capacity)}; }
    std::string text() const { return gbkToUtf8(gbk()); }

    // Stores GBK bytes, cut to the capacity on a character boundary; the rest is zeroed.
    void setGbk(std::string_view value) {
        const std::size_t length = gbkPrefixLength(value, Capacity);
        Bytes.fill(0);
        std::copy_n(value.data(), length, Bytes.data());
        Length = static_cast<std::uint8_t>(length);
    }
    void setText(std::string_view utf8) { setGbk(utf8ToGbk(utf8)); }
};

// One entry of the album list ("Album" file), 91 bytes.
struct TAlbumInfo {
    ShortText<90> AlbumName;
};

// One picture of an album ("PicInfo" file), 324 bytes.
struct TPicInfo {
    std::int32_t StayTime = 0; // seconds on screen
    std::int32_t Effect = 0;   // 0 = random choice, 1..105 = catalogue entry
    ShortText<36> Title;
    ShortText<255> Remark;
    ShortText<20> FileName; // file inside the album folder, such as P3.jpg
    std::array<std::uint8_t, 2> Fill{};
};

// One song of an album ("MusicInfo" file), 344 bytes.
struct TMusicInfo {
    std::int32_t PlayTime = 0; // whole seconds
    ShortText<20> FileName;    // file inside the album folder, such as M0.mp3
    ShortText<255> SongName;
    ShortText<30> Singer;
    ShortText<30> Remark;
    std::uint8_t Fill = 0;
};

#pragma pack(pop)

static_assert(sizeof(TAlbumInfo) == 91);
static_assert(sizeof(TPicInfo) == 324);
static_assert(sizeof(TMusicInfo) == 344);
static_assert(std::is_trivially_copyable_v<TPicInfo> && std::is_trivially_copyable_v<TMusicInfo> &&
              std::is_trivially_copyable_v<TAlbumInfo>);

} // namespace vistello::store
