// Subcommands over the audio module: probe-song measures a song and reads its ID3v1 tag as
// the music import does; import-music runs that import into an album.

#include "audio/id3v1.h"
#include "audio/mp3_decoder.h"
#include "audio/music_import.h"
#include "cli/cli.h"
#include "cli/import_progress.h"
#include "store/album_names.h"
#include "store/album_store.h"
#include "store/gbk_text.h"

#include <QJsonArray>
#include <QJsonObject>

extern "C" {
#include <libavutil/log.h>
}

#include <cmath>

namespace vistello::cli {

namespace {

QString fromGbk(const std::string& gbk) {
    return QString::fromStdString(store::gbkToUtf8(gbk));
}

} // namespace

int runProbeSong(Context& context) {
    if (context.args.size() != 1)
        return usageError(commandNamed("probe-song"));
    av_log_set_level(AV_LOG_ERROR); // FFmpeg's warnings about odd frames are not the user's concern
    const std::filesystem::path file = context.args[0];
    std::string error;
    const auto decoder = audio::Mp3Decoder::open(file, {}, error);
    if (!decoder) {
        printMessage(error);
        return kExitFailure;
    }
    audio::TID3v1 tag;
    QJsonObject tagJson{{"found", false}};
    if (tag.ReadFromFile(file)) {
        tagJson = QJsonObject{{"found", tag.found},
                              {"version", tag.version},
                              {"title", fromGbk(tag.title)},
                              {"artist", fromGbk(tag.artist)},
                              {"album", fromGbk(tag.album)},
                              {"year", fromGbk(tag.year)},
                              {"comment", fromGbk(tag.comment)},
                              {"track", tag.track},
                              {"genre", tag.genre}};
    }
    const double seconds = decoder->lengthSeconds();
    printJson(QJsonObject{{"PlayTime", static_cast<qint64>(seconds)},
                          {"LengthInSeconds", std::round(seconds * 100.0) / 100.0},
                          {"FileLength", static_cast<qint64>(decoder->fileSize())},
                          {"tag", tagJson}});
    return kExitOk;
}

int runImportMusic(Context& context) {
    if (context.args.size() < 2)
        return usageError(commandNamed("import-music"));
    av_log_set_level(AV_LOG_ERROR);
    store::AlbumStore albums(context.root);
    if (openAlbumForImport(albums, context.args[0]) < 0)
        return kExitFailure;
    const std::vector<std::filesystem::path> files(context.args.begin() + 1, context.args.end());
    const std::size_t before = albums.MusicList.size();
    store::ImportResult result;
    {
        StderrImportProgress progress;
        result = audio::ImportMusic(albums, files, progress);
    }
    QJsonArray songs;
    for (std::size_t i = before; i < albums.MusicList.size(); ++i)
        songs.append(songJson(albums.MusicList[i]));
    printJson(songs);
    return result.skipped > 0 ? kExitFailure : kExitOk;
}

} // namespace vistello::cli
