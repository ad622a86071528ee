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
    // Creates an empty file of a new name beside `target` (beside the file a symbolic link
    // names, so that the link keeps pointing at the video). Returns nothing, and a message in
    // `error`, when the folder cannot be written.
    static std::optional<PendingOutput> create(const std::filesystem::path& target, std::string& error);

    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&&) = delete;
    PendingOutput(const PendingOutput&) = delete;
    ~PendingOutput(); // removes the temporary file unless it was committed

    const std::filesystem::path& path() const { return temporary_; }
    // Renames the temporary file over the target; false, with a message in `error`, if that fails.
    bool commit(std::string& error);

  private:
    PendingOutput(std::filesystem::path target, std::filesystem::path temporary)
        : target_(std::move(target)), temporary_(std::move(temporary)) {}

    std::filesystem::path target_;
    std::filesystem::path temporary_; // empty once committed or moved from
};

// The reason of a failed file operation in Chinese, for the common cases; the system's own
// text otherwise.
std::string fileErrorText(const std::error_code& error);

} // namespace vistello::production
