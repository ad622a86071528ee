#pragma once
// The command-line tool's shared parts: what a subcommand gets, how it reports, and the table
// of subcommands. A subcommand is a thin shell over the library code the windows call.

#include "store/records.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QJsonObject;
class QJsonValue;

namespace vistello::store {
class AlbumStore;
struct PictureMotion;
} // namespace vistello::store

namespace vistello::cli {

// Exit statuses: success, a failure of the work, a usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Context {
    std::filesystem::path root;    // the store's folder (--root, or the window program's rule)
    std::vector<std::string> args; // the subcommand's own arguments
};

struct Command {
    const char* name;
    const char* usage; // arguments after the name, for the usage text
    int (*run)(Context&);
};

std::span<const Command> commandTable();
// The table's entry for `name`, which must be in the table.
const Command& commandNamed(std::string_view name);

// Output helpers: JSON on stdout (UTF-8, one document a line), messages on stderr.
void printJson(const QJsonValue& value);
void printMessage(const std::string& utf8);
// Prints "usage: vistello-cli NAME USAGE" on stderr and returns kExitUsage.
int usageError(const Command& command);

// Subcommands, one group per module.
int runAlbums(Context&);
int runShow(Context&);
int runNewAlbum(Context&);
int runDeleteAlbum(Context&);
int runProbeSong(Context&);
int runImportMusic(Context&);
int runEffects(Context&);
int runEffect(Context&);
int runEffectSheet(Context&);
int runFormats(Context&);
int runRender(Context&);
int runDecode(Context&);
int runImportPictures(Context&);
int runMotion(Context&);

// Loads the store's album list and opens the album named `name` with its lists. Prints
// "no album named ..." and gives -1 when there is none.
int openNamedAlbum(store::AlbumStore& albums, const std::string& name);
// As openNamedAlbum, for the imports: the album must also have a folder to copy files into.
int openAlbumForImport(store::AlbumStore& albums, const std::string& name);

// JSON of the records, as `show` prints them; import subcommands print new records this way.
QJsonObject pictureJson(const store::TPicInfo& picture);
QJsonObject songJson(const store::TMusicInfo& song);
// A picture's record with its motion: "motion" is "none", "auto" or the two rectangles
// "X0,Y0,W0,H0:X1,Y1,W1,H1" in fractions of the picture, and a motion of one's own adds its
// "easing".
QJsonObject pictureJson(const store::TPicInfo& picture, const store::PictureMotion& motion);

} // namespace vistello::cli
