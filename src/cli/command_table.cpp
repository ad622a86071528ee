#include "cli/cli.h"

#include <array>

namespace vistello::cli {

namespace {
constexpr std::array kCommands = {
    Command{"albums", "", runAlbums},
    Command{"show", "ALBUM", runShow},
    Command{"new-album", "NAME", runNewAlbum},
    Command{"delete-album", "NAME", runDeleteAlbum},
};
} // namespace

std::span<const Command> commandTable() {
    return kCommands;
}

} // namespace vistello::cli
