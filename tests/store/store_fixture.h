#pragma once
// A store over a fresh temporary folder, with helpers to write and read raw record files.

#include "store/album_store.h"
#include "store/record_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vistello::store::testing {

class TempRoot {
public:
    TempRoot() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("vistello-store-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempRoot() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Limits the size of files this process writes while it lives, so that a write fails with
// EFBIG for every user (permissions do not stop root). SIGXFSZ is ignored meanwhile, so the
// failing write returns an error instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::filesystem::path& file) {
    return readFileIfExists(file).value_or(std::string("<missing>"));
}

inline TAlbumInfo album(const std::string& name) {
    TAlbumInfo a;
    a.AlbumName.setText(name);
    return a;
}

inline TPicInfo picture(const std::string& fileName, int stay = 3) {
    TPicInfo p;
    p.StayTime = stay;
    p.FileName.setText(fileName);
    p.Remark.setText(fileName);
    return p;
}

inline TMusicInfo song(const std::string& fileName, int seconds = 180) {
    TMusicInfo m;
    m.PlayTime = seconds;
    m.FileName.setText(fileName);
    m.SongName.setText(fileName);
    return m;
}

template <class Record>
void writeRecords(const std::filesystem::path& file, const std::vector<Record>& records) {
    writeBytes(file, std::string(bytesOfRecords<Record>(records)));
}

} // namespace vistello::store::testing
