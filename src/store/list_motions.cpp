#include "store/list_motions.h"

#include "store/picture_motion.h"
#include "store/record_file.h"
#include "store/records.h"
#include "store/store_error.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace vistello::store {

namespace {

const std::string& noMotionText() {
    static const std::string text = MotionTable().serialise({});
    return text;
}

} // namespace

std::string motionsText(const std::filesystem::path& albumFolder, std::string_view pictureRecords) {
    const std::vector<TPicInfo> pictures = recordsFromBytes<TPicInfo>(pictureRecords);
    return MotionTable::load(albumFolder).serialise(pictures);
}

bool holdsNoMotion(std::string_view motions) {
    return MotionTable::parse(motions).empty();
}

MotionFileRewrite::MotionFileRewrite(const std::filesystem::path& albumFolder, std::string_view motions,
                                     std::string_view pictureRecords)
    : file_(albumFolder / kMotionFileName) {
    try {
        old_ = readFileIfExists(file_);
    } catch (const StoreError&) {
        oldReadable_ = false; // a folder or a file without permission under the name
    }
    const std::vector<TPicInfo> pictures = recordsFromBytes<TPicInfo>(pictureRecords);
    std::string text = MotionTable::parse(motions).serialise(pictures);
    if (text == noMotionText() && (!old_ || !oldReadable_))
        return;
    if (old_ && *old_ == text)
        return;
    new_ = std::move(text);
}

void MotionFileRewrite::write() {
    if (!new_ || written_)
        return;
    writeFileAtomically(file_, *new_);
    written_ = true;
}

bool MotionFileRewrite::putBack() noexcept {
    if (!written_)
        return true;
    if (!oldReadable_)
        return false;
    try {
        if (old_) {
            writeFileAtomically(file_, *old_);
        } else if (::unlink(file_.c_str()) != 0 && errno != ENOENT) {
            return false;
        }
    } catch (...) {
        return false;
    }
    written_ = false;
    return true;
}

} // namespace vistello::store
