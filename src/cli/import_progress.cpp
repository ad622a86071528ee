#include "cli/import_progress.h"

#include "cli/cli.h"

#include <cstdio>
#include <unistd.h>

namespace vistello::cli {

namespace {

const char* skipText(store::SkipReason reason) {
    switch (reason) {
    case store::SkipReason::NoAudio:
        return ": holds no MP3 sound that can be decoded";
    case store::SkipReason::NoPicture:
        return ": holds no picture that can be decoded";
    case store::SkipReason::NotCopied:
        break;
    }
    return ": cannot be copied into the album";
}

} // namespace

StderrImportProgress::StderrImportProgress() : terminal_(isatty(STDERR_FILENO) != 0) {}

StderrImportProgress::~StderrImportProgress() {
    if (lineOpen_)
        std::fputc('\n', stderr);
}

void StderrImportProgress::fileStarting(int index, int count, const std::filesystem::path& path) {
    std::fprintf(stderr, terminal_ ? "\r\033[Kimporting %d/%d: %s" : "importing %d/%d: %s\n", index + 1,
                 count, path.c_str());
    std::fflush(stderr);
    lineOpen_ = terminal_;
}

void StderrImportProgress::fileSkipped(int, const std::filesystem::path& path, store::SkipReason reason) {
    if (lineOpen_)
        std::fputc('\n', stderr);
    lineOpen_ = false;
    printMessage(path.string() + skipText(reason) + "; left out");
}

} // namespace vistello::cli
