// Subcommands over the transitions: effects (the catalogue), effect (run one transition on
// pictures and write the result) and effect-sheet (all 105 at a few progress values, one PNG).
// They call the very procedures of the catalogue that the renderer and the preview call.

#include "cli/cli.h"
#include "cli/effect_pictures.h"
#include "effects/effect_names.h"
#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "media/bitmap_bridge.h"

#include <QColor>
#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <cctype>
#include <map>

namespace vistello::cli {

namespace {

// Splits "--name value" pairs; false on an unknown option, a missing value or a repeated one.
bool parseOptions(const std::vector<std::string>& args, std::size_t first,
                  std::initializer_list<const char*> known, std::map<std::string, std::string>& options) {
    for (std::size_t i = first; i < args.size(); i += 2) {
        bool isKnown = false;
        for (const char* name : known)
            isKnown = isKnown || args[i] == name;
        if (!isKnown || i + 1 >= args.size() || options.count(args[i]))
            return false;
        options[args[i]] = args[i + 1];
    }
    return true;
}

bool hasPictureExtension(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string suffix = path.substr(dot + 1);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix == "png" || suffix == "bmp" || suffix == "ppm";
}

effects::ClockRandom makeRandom(const std::map<std::string, std::string>& options, bool& ok) {
    ok = true;
    const auto seed = options.find("--seed");
    if (seed == options.end())
        return effects::ClockRandom();
    const auto value = parseInt(seed->second);
    ok = value.has_value();
    return effects::ClockRandom(static_cast<std::uint32_t>(value.value_or(0)));
}

// The sheet's two pictures: a cool striped old one and a warm ringed new one, so that every
// effect's shape shows.
effects::Bitmap sheetPicture(int width, int height, bool incoming) {
    effects::Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (incoming) {
                const int dx = x - width / 2;
                const int dy = y - height / 2;
                const bool ring = ((dx * dx + dy * dy) / 160) % 2 == 0;
                bitmap.setPixel(x, y, ring ? effects::Bgr{40, 150, 250} : effects::Bgr{20, 60, 200});
            } else {
                const bool stripe = ((x + y) / 8) % 2 == 0;
                bitmap.setPixel(x, y, stripe ? effects::Bgr{120, 60, 20} : effects::Bgr{70, 30, 10});
            }
        }
    return bitmap;
}

} // namespace

int runEffects(Context& context) {
    if (!context.args.empty())
        return usageError(commandNamed("effects"));
    QJsonArray list;
    for (int n = 1; n <= effects::kEffectCount; ++n) {
        const effects::TEffect* effect = effects::FindEffect(n);
        list.append(QJsonObject{
            {"number", n},
            {"name", QString::fromUtf8(effect->Name.data(), static_cast<int>(effect->Name.size()))},
            {"display", QString::fromStdString(std::string(effects::EffectName(n)))}});
    }
    printJson(list);
    return kExitOk;
}

int runEffect(Context& context) {
    const Command& command = commandNamed("effect");
    const auto& args = context.args;
    std::map<std::string, std::string> options;
    if (args.empty() ||
        !parseOptions(args, 1, {"--size", "--steps", "--old", "--new", "--seed", "--out"}, options))
        return usageError(command);
    const auto number = parseInt(args[0]);
    const auto size = options.count("--size") ? parseSize(options["--size"]) : std::nullopt;
    const auto steps = options.count("--steps") ? parseSteps(options["--steps"]) : std::nullopt;
    bool seedOk = true;
    effects::ClockRandom random = makeRandom(options, seedOk);
    if (!number || *number < 0 || *number > effects::kEffectCount || !size || !steps || !seedOk ||
        !options.count("--out"))
        return usageError(command);
    const auto [width, height] = *size;
    if (!hasPictureExtension(options["--out"])) {
        printMessage("output must end in .png, .bmp or .ppm: " + options["--out"]);
        return usageError(command);
    }

    effects::Bitmap dest(width, height);
    effects::Bitmap incoming(width, height);
    incoming.fill({255, 255, 255});
    for (const auto& [option, target] : {std::pair{"--old", &dest}, std::pair{"--new", &incoming}}) {
        if (!options.count(option))
            continue;
        auto picture = loadStretched(options[option], width, height);
        if (!picture) {
            printMessage("cannot read picture " + options[option]);
            return kExitFailure;
        }
        *target = std::move(*picture);
    }

    // Effect 0 picks one entry for the whole transition, as the callers do.
    const int effectNumber = effects::ResolveEffectNumber(*number, random);
    const effects::TEffect& effect = *effects::FindEffect(effectNumber);
    for (const int progress : *steps)
        effect.Proc(dest, incoming, {0, 0, width, height}, effects::kDefaultGrain, progress, random);

    std::string error;
    if (!saveByExtension(dest, options["--out"], error)) {
        printMessage(error);
        return kExitFailure;
    }
    printJson(
        QJsonObject{{"number", effectNumber},
                    {"name", QString::fromUtf8(effect.Name.data(), static_cast<int>(effect.Name.size()))},
                    {"steps", static_cast<int>(steps->size())},
                    {"out", QString::fromStdString(options["--out"])}});
    return kExitOk;
}

int runEffectSheet(Context& context) {
    const Command& command = commandNamed("effect-sheet");
    std::map<std::string, std::string> options;
    if (!parseOptions(context.args, 0, {"--out", "--size", "--steps", "--seed"}, options) ||
        !options.count("--out"))
        return usageError(command);
    const auto size = parseSize(options.count("--size") ? options["--size"] : "96x72");
    const auto steps = parseSteps(options.count("--steps") ? options["--steps"] : "20,50,80");
    if (!options.count("--seed"))
        options["--seed"] = "1";
    bool seedOk = true;
    effects::ClockRandom random = makeRandom(options, seedOk);
    if (!size || !steps || steps->empty() || steps->size() > 10 || !seedOk || size->first > 640 ||
        size->second > 480)
        return usageError(command);
    const auto [width, height] = *size;

    // Five columns of effects; each cell is a label line over one thumbnail per progress value.
    constexpr int kColumns = 5;
    constexpr int kGap = 6;
    constexpr int kLabel = 16;
    const int cellWidth = static_cast<int>(steps->size()) * (width + 2) + kGap;
    const int cellHeight = kLabel + height + kGap;
    const int rows = (effects::kEffectCount + kColumns - 1) / kColumns;
    QImage sheet(kColumns * cellWidth + kGap, rows * cellHeight + kGap, QImage::Format_RGB888);
    sheet.fill(QColor(245, 245, 245));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    const effects::Bitmap oldPicture = sheetPicture(width, height, false);
    const effects::Bitmap newPicture = sheetPicture(width, height, true);
    for (int n = 1; n <= effects::kEffectCount; ++n) {
        const effects::TEffect& effect = *effects::FindEffect(n);
        const int left = kGap + ((n - 1) % kColumns) * cellWidth;
        const int top = kGap + ((n - 1) / kColumns) * cellHeight;
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, top, cellWidth - kGap, kLabel), Qt::AlignLeft | Qt::AlignVCenter,
                         QString("%1 %2").arg(n).arg(
                             QString::fromUtf8(effect.Name.data(), static_cast<int>(effect.Name.size()))));
        for (std::size_t k = 0; k < steps->size(); ++k) {
            // Each thumbnail is the video sequence 2, 4, ... run up to its progress value.
            effects::Bitmap dest = oldPicture;
            for (int p = 2; p <= (*steps)[k]; p += 2)
                effect.Proc(dest, newPicture, {0, 0, width, height}, effects::kDefaultGrain, p, random);
            painter.drawImage(left + static_cast<int>(k) * (width + 2), top + kLabel,
                              media::imageFromBitmap(dest));
        }
    }
    painter.end();
    if (!sheet.save(QString::fromStdString(options["--out"]), "PNG")) {
        printMessage("cannot write " + options["--out"]);
        return kExitFailure;
    }
    printJson(
        QJsonObject{{"effects", effects::kEffectCount}, {"out", QString::fromStdString(options["--out"])}});
    return kExitOk;
}

} // namespace vistello::cli
