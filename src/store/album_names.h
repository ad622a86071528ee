#pragma once
// Album names: how a typed name is trimmed and cut to fit its record, and which names may
// ever be used as a folder name under the store's root.

#include <filesystem>
#include <string>
#include <string_view>

namespace vistello::store {

// Capacity of an album name in its record, in GBK bytes.
inline constexpr std::size_t kAlbumNameBytes = 90;

// Characters the album name field refuses, since they cannot stand in a folder name on
// every system the albums may be copied to.
inline constexpr std::string_view kForbiddenNameCharacters = "\\/:*?|\"<>";

// UTF-8 text without leading and trailing blanks and control characters.
std::string trimName(std::string_view utf8);

// The name a typed text gives its album: trimmed, cut to 90 GBK bytes on a character
// boundary and trimmed again, so the record, the folder and the list show the same name.
std::string albumNameFromTyped(std::string_view typed);

// True when the (trimmed) name can be a folder directly under the root: not empty, not
// "." or "..", and without a path separator or NUL byte.
bool isUsableFolderName(std::string_view name);

// True when a file name from a record names a plain file inside the album folder.
bool isPlainFileName(std::string_view name);

// True when the (trimmed) name belongs to the store's own things beside the albums: the
// album list file "Album" and the background picture folder "BackPic", compared without
// regard to ASCII case (the store may sit on a disk that ignores case). No album may take
// such a name, whether the thing exists yet or not.
bool isReservedAlbumName(std::string_view name);

// True when a file name from a record may name a media file of its album: a plain file
// name that is none of the store's own files ("PicInfo", "MusicInfo", "Motion", "Album", the
// temporary copies written while a list is rewritten, and hidden files), so that deleting
// an entry can never delete a list.
bool isMediaFileName(std::string_view name);

// The name a typed text gives its album when that is shorter than the trimmed text (the
// text holds more than 90 GBK bytes); empty when the name is taken whole.
std::string shortenedAlbumName(std::string_view typed);

// Numbered media files of an album folder (P0.jpg, M3.mp3, ...):
// The decimal text of the smallest n >= 0 for which folder/prefix n.extension does not exist
// (a dangling link counts as existing).
std::string NextFreeFileNumber(const std::filesystem::path& folder, std::string_view prefix,
                               std::string_view extension);

} // namespace vistello::store
