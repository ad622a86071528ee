#include "cli/cli.h"

#include <array>
#include <cstdlib>

namespace vistello::cli {

namespace {
constexpr std::array kCommands = {
    Command{"albums", "", runAlbums},
    Command{"show", "ALBUM", runShow},
    Command{"motion",
            "ALBUM ROW none|auto|X0,Y0,W0,H0:X1,Y1,W1,H1 [--easing linear|ease-in|ease-out|ease-in-out]",
            runMotion},
    Command{"new-album", "NAME", runNewAlbum},
    Command{"delete-album", "NAME", runDeleteAlbum},
    Command{"probe-song", "FILE", runProbeSong},
    Command{"import-music", "ALBUM FILE...", runImportMusic},
    Command{"effects", "", runEffects},
    Command{"effect", "N --size WxH --steps LIST [--old FILE] [--new FILE] [--seed S] --out FILE", runEffect},
    Command{"effect-sheet", "--out FILE.png [--size WxH] [--steps LIST] [--seed S]", runEffectSheet},
    Command{"formats", "", runFormats},
    Command{"render",
            "ALBUM --format NAME --out FILE [--fps N] [--quality CRF] [--speed PRESET] [--hevc] [--disc] "
            "[--sync] [--soften] [--color RRGGBB] [--backgrounds] [--motion]",
            runRender},
    Command{"decode", "FILE --out OUT.png|OUT.bmp|OUT.ppm", runDecode},
    Command{"import-pictures", "[--order date|name] ALBUM FILE...", runImportPictures},
};
} // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

const Command& commandNamed(std::string_view name) {
    for (const auto& command : commandTable())
        if (name == command.name)
            return command;
    std::abort();
}

} // namespace vistello::cli
