#pragma once
// A store over a fresh temporary folder, with helpers to write and read raw record files.

#include "store/album_store.h"
#include "store/record_file.h"

#include "../write_failure.h"

#include <gtest/gtest.h>

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

using failures::FileSizeLimit;

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
