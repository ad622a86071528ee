// The motion subcommand: sets one picture's pan and zoom as the picture editor does, and the
// JSON of a picture with its motion that `show` and `motion` print.

#include "cli/cli.h"
#include "store/album_store.h"
#include "store/list_change.h"
#include "store/list_operations.h"
#include "store/picture_motion.h"

#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace vistello::cli {

namespace {

// A row as `show` numbers the pictures: the position in its "pictures" array, from 0. Only
// plain decimal digits are a row; nothing for anything else.
std::optional<long long> rowFrom(const std::string& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long row = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (error == std::errc::result_out_of_range)
        return std::numeric_limits<long long>::max(); // a row no album has
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return row;
}

struct MotionArguments {
    std::string album, row, motion;
    std::optional<std::string> easing;
};

// ALBUM ROW MOTION with --easing E anywhere after the command; nothing on any other shape.
std::optional<MotionArguments> parseArguments(const std::vector<std::string>& args) {
    MotionArguments parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--easing") {
            if (i + 1 >= args.size() || parsed.easing)
                return std::nullopt;
            parsed.easing = args[++i];
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 3)
        return std::nullopt;
    parsed.album = positional[0];
    parsed.row = positional[1];
    parsed.motion = positional[2];
    return parsed;
}

} // namespace

QJsonObject pictureJson(const store::TPicInfo& picture, const store::PictureMotion& motion) {
    QJsonObject json = pictureJson(picture);
    json.insert("motion", QString::fromStdString(store::motionText(motion)));
    // The easing belongs to the two rectangles; the automatic motion chooses its own way.
    if (motion.kind == store::MotionKind::Custom)
        json.insert("easing", QString::fromStdString(std::string(store::easingName(motion.easing))));
    return json;
}

int runMotion(Context& context) {
    const Command& command = commandNamed("motion");
    const std::optional<MotionArguments> args = parseArguments(context.args);
    if (!args)
        return usageError(command);
    const std::optional<long long> row = rowFrom(args->row);
    if (!row) {
        printMessage("the row must be a picture's number as show lists them, from 0");
        return usageError(command);
    }
    std::optional<store::Easing> easing = store::Easing::Linear;
    if (args->easing) {
        easing = store::easingFromName(*args->easing);
        if (!easing) {
            printMessage("unknown easing \"" + *args->easing +
                         "\": linear, ease-in, ease-out or ease-in-out");
            return kExitUsage;
        }
    }
    const std::optional<store::PictureMotion> motion = store::motionFromText(args->motion, *easing);
    if (!motion) {
        printMessage("not a motion: \"" + args->motion +
                     "\"; give none, auto or X0,Y0,W0,H0:X1,Y1,W1,H1, two rectangles on the picture "
                     "in fractions of its width and height");
        return kExitUsage;
    }
    if (args->easing && motion->kind != store::MotionKind::Custom) {
        printMessage("--easing goes with the two rectangles of a motion of your own");
        return kExitUsage;
    }

    store::AlbumStore albums(context.root);
    if (openNamedAlbum(albums, args->album) < 0)
        return kExitFailure;
    if (*row >= albums.PicCount()) {
        printMessage("album \"" + args->album + "\" has no picture at row " + args->row + " (it has " +
                     std::to_string(albums.PicCount()) + ")");
        return kExitFailure;
    }
    const int index = static_cast<int>(*row);
    const store::TPicInfo picture = albums.PicList[static_cast<std::size_t>(index)];
    const std::optional<store::ListSnapshot> edited =
        store::plannedPictureEdit(albums, index, picture, *motion);
    if (!edited) {
        printMessage("the picture at row " + args->row + " has no file name to keep a motion under");
        return kExitFailure;
    }
    store::changeListAtOnce(albums, *edited);
    printJson(pictureJson(
        albums.PicList[static_cast<std::size_t>(index)],
        store::motionsOf(store::captureList(albums, store::ListKind::Pictures)).get(picture.FileName.gbk())));
    return kExitOk;
}

} // namespace vistello::cli
