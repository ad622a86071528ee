#pragma once
// Whole-file reads and atomic rewrites of the record files. A rewrite goes to a temporary
// file in the same folder that is renamed over the old one, so an error or a crash while
// writing never leaves a list shorter than it was.

#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vistello::store {

// The file's bytes, or nothing when the file does not exist. Throws StoreError.
std::optional<std::string> readFileIfExists(const std::filesystem::path& file);

// Replaces the file's content with data (creating it if needed). Throws StoreError.
void writeFileAtomically(const std::filesystem::path& file, std::string_view data);

// Records of a list file: every whole record, a trailing partial record ignored.
template <class Record> std::vector<Record> recordsFromBytes(std::string_view bytes) {
    std::vector<Record> records(bytes.size() / sizeof(Record));
    if (!records.empty())
        std::memcpy(records.data(), bytes.data(), records.size() * sizeof(Record));
    return records;
}

template <class Record> std::string_view bytesOfRecords(std::span<const Record> records) {
    return {reinterpret_cast<const char*>(records.data()), records.size_bytes()};
}

} // namespace vistello::store
