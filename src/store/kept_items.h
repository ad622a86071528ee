#pragma once
// Keeping deleted files and folders while their deletion can still be taken back. A kept item
// is renamed into a hidden folder beside it (".vistello-undo" in the album folder for media
// files, in the store's root for album folders), which never leaves its file system and is
// never named by any list, so a kept item is counted nowhere. Kept items are discarded for
// good when no change can bring them back any more; the hidden folders that a run which
// ended abruptly left behind are removed at the next start.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace vistello::store {

// Name of the hidden folder; never an album name or a media file name.
inline constexpr std::string_view kKeptFolderName = ".vistello-undo";

// The kept items of one change, by the name they have in their folder.
using KeptItems = std::map<std::string, std::filesystem::path>;

// Renames `item` (a file or folder) into the hidden folder of its parent folder, under a name
// of its own there, and returns the path it now has. Throws StoreError with nothing moved.
std::filesystem::path keepItem(const std::filesystem::path& item);

// Renames a kept item back to `destination`. Something already standing there is never
// replaced: StoreError then, as on any failure, with nothing moved.
void restoreItem(const std::filesystem::path& kept, const std::filesystem::path& destination);

// Deletes a kept item for good, and its hidden folder once that is empty; failures are ignored
// (what is left is removed with the hidden folder at the next start).
void discardItem(const std::filesystem::path& kept);
void discardItems(KeptItems& items);

// Removes the hidden folder of `root` and of every folder directly inside it.
void removeKeptFolders(const std::filesystem::path& root);

} // namespace vistello::store
