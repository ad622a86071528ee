#include "production/pending_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <utility>

namespace vistello::production {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 100;

std::string randomSuffix(std::mt19937_64& random) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string text(8, '0');
    for (char& c : text)
        c = kDigits[random() % (sizeof kDigits - 1)];
    return text;
}

} // namespace

fs::path PendingOutput::finalTarget(const fs::path& target) {
    std::error_code ec;
    const fs::path resolved = fs::is_symlink(target, ec) ? fs::weakly_canonical(target, ec) : target;
    return ec ? target : resolved;
}

std::optional<PendingOutput> PendingOutput::create(const fs::path& target, std::error_code& error) {
    // A link keeps naming the video: the file it points at is the one replaced.
    const fs::path final = finalTarget(target);
    const fs::path folder = final.has_parent_path() ? final.parent_path() : fs::path(".");
    std::mt19937_64 random(std::random_device{}());
    int lastError = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        // Hidden, so that a file manager showing the folder during a run does not list it.
        const fs::path temporary =
            folder / ("." + final.filename().string() + "." + randomSuffix(random) + ".part");
        // O_EXCL: never a file that is already there; mode 0666 lets the umask decide as for
        // any file the user makes.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return PendingOutput(final, temporary);
        }
        lastError = errno;
        if (lastError != EEXIST)
            break;
    }
    error = std::error_code(lastError, std::generic_category());
    return std::nullopt;
}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::exchange(other.temporary_, {})) {}

PendingOutput::~PendingOutput() {
    if (temporary_.empty())
        return;
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

bool PendingOutput::commit(std::error_code& ec) {
    // An overwritten file keeps the permissions its owner gave it.
    if (const fs::file_status old = fs::status(target_, ec); !ec && fs::is_regular_file(old))
        fs::permissions(temporary_, old.permissions() & fs::perms::mask, ec);
    fs::rename(temporary_, target_, ec);
    if (ec)
        return false;
    temporary_.clear();
    return true;
}

} // namespace vistello::production
