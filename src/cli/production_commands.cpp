// The render subcommand: an album into a VCD, SVCD or DVD video through the production run
// the window program uses.

#include "cli/cli.h"
#include "production/background_pictures.h"
#include "production/production_run.h"
#include "store/album_store.h"

#include <QJsonObject>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace vistello::cli {

namespace {

// "RRGGBB" as the colour value 0x00BBGGRR.
std::optional<std::uint32_t> parseColour(const std::string& text) {
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const auto rgb = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return ((rgb & 0xff) << 16) | (rgb & 0xff00) | ((rgb >> 16) & 0xff);
}

// Stage texts as lines; the percentage as a bar that redraws itself when stderr is a terminal.
class ProgressDisplay {
public:
    void progress(const QString& text) {
        if (text.startsWith(QStringLiteral("完成进度："))) {
            if (terminal_) {
                const int percent = std::clamp(text.mid(5).chopped(1).toInt(), 0, 100);
                const std::string bar(static_cast<std::size_t>(percent / 4), '#');
                std::fprintf(stderr, "\r[%-25s] %3d%% %s", bar.c_str(), percent, time_.c_str());
                barShown_ = true;
            }
            return;
        }
        if (text.isEmpty() || text == last_)
            return;
        last_ = text;
        if (barShown_)
            std::fputc('\n', stderr);
        barShown_ = false;
        std::fprintf(stderr, "%s\n", text.toStdString().c_str());
    }
    void time(const QString& text) { time_ = text.toStdString(); }
    ~ProgressDisplay() {
        if (barShown_)
            std::fputc('\n', stderr);
    }

private:
    bool terminal_ = isatty(fileno(stderr)) != 0;
    bool barShown_ = false;
    QString last_;
    std::string time_;
};

} // namespace

int runRender(Context& context) {
    const Command& command = commandNamed("render");
    production::ProductionSettings settings;
    std::string albumName;
    bool formatGiven = false;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--format" && hasValue) {
            const std::string& value = args[++i];
            const auto found = std::find_if(std::begin(production::kFormats), std::end(production::kFormats),
                                            [&](const auto& f) { return QString::fromLatin1(f.name).compare(QString::fromStdString(value), Qt::CaseInsensitive) == 0; });
            if (found == std::end(production::kFormats))
                return usageError(command);
            settings.format = static_cast<int>(found - std::begin(production::kFormats));
            formatGiven = true;
        } else if (arg == "--out" && hasValue) {
            settings.outputPath = args[++i];
        } else if (arg == "--color" && hasValue) {
            const auto colour = parseColour(args[++i]);
            if (!colour)
                return usageError(command);
            settings.colour = *colour;
        } else if (arg == "--sync") {
            settings.synchronise = true;
        } else if (arg == "--soften") {
            settings.soften = true;
        } else if (arg == "--backgrounds") {
            settings.background = production::BackgroundMode::Pictures;
        } else if (arg.starts_with("--") || !albumName.empty()) {
            return usageError(command);
        } else {
            albumName = arg;
        }
    }
    if (albumName.empty() || !formatGiven || settings.outputPath.empty())
        return usageError(command);

    store::AlbumStore album(context.root);
    if (openNamedAlbum(album, albumName) < 0)
        return kExitFailure;
    // As in the window, where the production button needs both.
    if (album.PicCount() == 0 || album.MusicCount() == 0) {
        printMessage("the album needs at least one picture and one song to be rendered");
        return kExitFailure;
    }
    if (settings.background == production::BackgroundMode::Pictures)
        settings.backgroundNames =
            production::backgroundPictureNames(production::backgroundFolder(album.RootPath()));

    ProgressDisplay display;
    production::RunCallbacks callbacks;
    callbacks.showProgress = [&](const QString& text) { display.progress(text); };
    callbacks.showTime = [&](const QString& text) { display.time(text); };
    production::ProductionRun run(album, callbacks);
    const production::RunResult result = run.Start(settings);
    if (result.outcome == production::RunOutcome::NotStarted || result.outcome == production::RunOutcome::Failed ||
        !result.fileWritten) {
        printMessage(result.error.empty() ? "创建相册视频文件出错，请重新制作！" : result.error);
        return kExitFailure;
    }
    std::error_code error;
    const auto bytes = std::filesystem::file_size(settings.outputPath, error);
    printJson(QJsonObject{{"file", QString::fromStdString(std::filesystem::absolute(settings.outputPath).string())},
                          {"frames", static_cast<qint64>(result.frames)},
                          {"seconds", static_cast<double>(result.frames) / 25.0},
                          {"bytes", error ? qint64{0} : static_cast<qint64>(bytes)},
                          {"elapsed", result.elapsedSeconds}});
    return kExitOk;
}

} // namespace vistello::cli
