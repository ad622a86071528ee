// The formats and render subcommands: the format table as JSON, and an album into a video of
// any format through the production run the window program uses.

#include "cli/cli.h"
#include "cli/cli_texts.h"
#include "production/background_pictures.h"
#include "production/mcl_objects.h"
#include "production/production_run.h"
#include "store/album_store.h"
#include "texts/run_error_text.h"

#include <QJsonArray>
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
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(),
                                         [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const auto rgb = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return ((rgb & 0xff) << 16) | (rgb & 0xff00) | ((rgb >> 16) & 0xff);
}

std::string rateText(production::Rational rate) {
    return rate.den == 1 ? std::to_string(rate.num)
                         : std::to_string(rate.num) + "/" + std::to_string(rate.den);
}

// "25", "30", "29.97" or "30000/1001" as one of the format's rates.
std::optional<production::Rational> parseRate(const production::VideoFormat& format,
                                              const std::string& text) {
    for (int i = 0; i < format.rateCount; ++i) {
        const production::Rational rate = format.rates[static_cast<std::size_t>(i)];
        char decimal[16];
        std::snprintf(decimal, sizeof decimal, "%.2f", rate.value());
        if (text == rateText(rate) || text == decimal)
            return rate;
    }
    return std::nullopt;
}

std::optional<int> parseQuality(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int quality = std::stoi(text);
    return quality <= 51 ? std::optional<int>(quality) : std::nullopt;
}

// The run's stages as lines, and the encoding's percentage as a bar that redraws itself when
// stderr is a terminal.
class ProgressDisplay final : public production::RunObserver {
  public:
    bool progressed(const production::RunProgress& progress) override {
        if (progress.stage == production::RunStage::Encoding) {
            if (terminal_) {
                const int percent = std::clamp(progress.percent(), 0, 100);
                const std::string bar(static_cast<std::size_t>(percent / 4), '#');
                std::fprintf(stderr, "\r[%-25s] %3d%% %s", bar.c_str(), percent,
                             production::MclMakeTimeStr(progress.remainingSeconds).c_str());
                barShown_ = true;
            }
            return true;
        }
        line(stageLine(progress.stage));
        return true;
    }
    void line(const std::string& text) {
        if (text.empty())
            return;
        if (barShown_)
            std::fputc('\n', stderr);
        barShown_ = false;
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    ~ProgressDisplay() override {
        if (barShown_)
            std::fputc('\n', stderr);
    }

  private:
    bool terminal_ = isatty(fileno(stderr)) != 0;
    bool barShown_ = false;
};

} // namespace

int runRender(Context& context) {
    const Command& command = commandNamed("render");
    production::ProductionSettings settings;
    std::string albumName;
    bool formatGiven = false;
    std::string rateArgument;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--format" && hasValue) {
            settings.format = production::findVideoFormat(args[++i]);
            if (!settings.format) {
                printMessage("unknown format " + args[i] + " (vistello-cli formats lists them)");
                return usageError(command);
            }
            formatGiven = true;
        } else if (arg == "--fps" && hasValue) {
            rateArgument = args[++i];
        } else if (arg == "--quality" && hasValue) {
            const auto quality = parseQuality(args[++i]);
            if (!quality)
                return usageError(command);
            settings.encode.quality = *quality;
        } else if (arg == "--speed" && hasValue) {
            settings.encode.speed = args[++i];
            if (!production::isEncoderSpeed(settings.encode.speed))
                return usageError(command);
        } else if (arg == "--hevc") {
            settings.encode.hevc = true;
        } else if (arg == "--disc") {
            settings.disc = true;
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
        } else if (arg == "--motion") {
            settings.motion = true; // the dialog's switch: the automatic motion for the rest
        } else if (arg.starts_with("--") || !albumName.empty()) {
            return usageError(command);
        } else {
            albumName = arg;
        }
    }
    if (albumName.empty() || !formatGiven || settings.outputPath.empty())
        return usageError(command);
    const production::VideoFormat& format = *settings.format;
    if (!rateArgument.empty()) {
        const auto rate = parseRate(format, rateArgument);
        if (!rate) {
            printMessage(std::string(format.name) + " is made at " + rateText(format.defaultRate) +
                         (format.rateCount > 1 ? " (or 25, 50, 60)" : "") + " frames a second");
            return usageError(command);
        }
        settings.encode.rate = *rate;
    }
    if (settings.disc && !format.isDisc()) {
        printMessage(std::string(format.name) + " is not a disc format: --disc is for VCD, SVCD and DVD");
        return usageError(command);
    }
    if (!format.constantQuality &&
        (settings.encode.quality >= 0 || !settings.encode.speed.empty() || settings.encode.hevc)) {
        printMessage(std::string(format.name) +
                     " has the fixed rates of its disc: --quality, --speed and --hevc are for MP4");
        return usageError(command);
    }

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
    production::ProductionRun run(album, display);
    const production::RunResult result = run.Start(settings);
    if (result.outcome != production::RunOutcome::NotStarted)
        display.line(runFinishedLine());
    if (result.outcome == production::RunOutcome::NotStarted ||
        result.outcome == production::RunOutcome::Failed || !result.fileWritten) {
        printMessage(result.error ? texts::runErrorText(result.error) : runFailedMessage());
        return kExitFailure;
    }
    std::error_code error;
    const auto bytes = std::filesystem::file_size(settings.outputPath, error);
    QJsonArray discFiles;
    for (const auto& file : result.discFiles)
        discFiles.append(QString::fromStdString(std::filesystem::absolute(file).string()));
    QJsonObject printed{
        {"file", QString::fromStdString(std::filesystem::absolute(settings.outputPath).string())},
        {"frames", static_cast<qint64>(result.frames)},
        {"format", QString::fromLatin1(format.name)},
        {"fps", QString::fromStdString(rateText(production::frameRateOf(format, settings.encode)))},
        {"seconds",
         static_cast<double>(result.frames) / production::frameRateOf(format, settings.encode).value()},
        {"bytes", error ? qint64{0} : static_cast<qint64>(bytes)},
        {"elapsed", result.elapsedSeconds}};
    if (settings.disc)
        printed.insert("disc", discFiles);
    printJson(printed);
    if (!result.discError.empty()) {
        printMessage(discFailedMessage(result.discError)); // the video itself is there
        return kExitFailure;
    }
    return kExitOk;
}

int runFormats(Context& context) {
    if (!context.args.empty())
        return usageError(commandNamed("formats"));
    QJsonArray formats;
    for (const production::VideoFormat& format : production::videoFormats()) {
        QJsonArray rates;
        for (int i = 0; i < format.rateCount; ++i)
            rates.append(QString::fromStdString(rateText(format.rates[static_cast<std::size_t>(i)])));
        formats.append(QJsonObject{
            {"name", QString::fromLatin1(format.name)},
            {"caption", QString::fromUtf8(format.caption)},
            {"width", format.codedWidth},
            {"height", format.codedHeight},
            {"display_aspect",
             QStringLiteral("%1:%2").arg(format.displayAspect.num).arg(format.displayAspect.den)},
            {"sample_aspect",
             QStringLiteral("%1:%2").arg(format.sampleAspect.num).arg(format.sampleAspect.den)},
            {"rates", rates},
            {"default_rate", QString::fromStdString(rateText(format.defaultRate))},
            {"extension", QString::fromLatin1(format.extension)},
            {"disc", format.isDisc()},
        });
    }
    printJson(formats);
    return kExitOk;
}

} // namespace vistello::cli
