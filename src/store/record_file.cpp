#include "store/record_file.h"

#include "store/store_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistello::store {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports the result, since a failing close can mean lost data.
    int close() {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

} // namespace

std::optional<std::string> readFileIfExists(const std::filesystem::path& file) {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw StoreError(errno, StoreAction::Open, file);
    }
    std::string content;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw StoreError(errno, StoreAction::Read, file);
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

void writeFileAtomically(const std::filesystem::path& file, std::string_view data) {
    std::string temporary = file.string() + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    // The user knows the list file, not its temporary copy: every failure names the list file.
    if (fd.get() < 0)
        throw StoreError(errno, StoreAction::Write, file);
    auto fail = [&](StoreAction action) {
        const int code = errno;
        ::unlink(temporary.c_str());
        throw StoreError(code, action, file);
    };
    ::fchmod(fd.get(), 0644);
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd.get(), p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(StoreAction::Write);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0)
        fail(StoreAction::Write);
    if (fd.close() != 0)
        fail(StoreAction::Write);
    if (::rename(temporary.c_str(), file.c_str()) != 0)
        fail(StoreAction::Replace);
}

} // namespace vistello::store
