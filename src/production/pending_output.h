#pragma once
// PendingOutput: a run writes its video under a temporary name in the output's own folder and
// moves it to the output path only once the run has finished the file. A run that fails or is
// stopped before its file is begun therefore never leaves an older video at the output path
// looking like its own result, and never destroys that older video either; a finished run
// replaces it in one rename, as the overwrite question promised.

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace vistello::production {

class PendingOutput {
  public:
    // Creates an empty file of a new name beside finalTarget(target). Returns nothing, and the
    // system's reason in `error`, when the folder cannot be written.
    static std::optional<PendingOutput> create(const std::filesystem::path& target, std::error_code& error);
    // The file a finished video replaces: `target`, or the file it names when it is a symbolic
    // link, so that the link keeps pointing at the video.
    static std::filesystem::path finalTarget(const std::filesystem::path& target);

    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&&) = delete;
    PendingOutput(const PendingOutput&) = delete;
    ~PendingOutput(); // removes the temporary file unless it was committed

    const std::filesystem::path& path() const { return temporary_; }
    const std::filesystem::path& target() const { return target_; }
    // Renames the temporary file over the target; false, with the system's reason in `error`,
    // if that fails.
    bool commit(std::error_code& error);

  private:
    PendingOutput(std::filesystem::path target, std::filesystem::path temporary)
        : target_(std::move(target)), temporary_(std::move(temporary)) {}

    std::filesystem::path target_;
    std::filesystem::path temporary_; // empty once committed or moved from
};

} // namespace vistello::production
