// Reads arbitrary bytes as an album's motion file, and checks that what the table writes back
// reads as the same motions.

#include "store/picture_motion.h"
#include "store/record_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vistello::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MotionTable table = MotionTable::parse(bytes);
    // The same bytes as picture records give file names to look up and to write back.
    std::vector<TPicInfo> pictures = recordsFromBytes<TPicInfo>(bytes);
    TPicInfo first;
    first.FileName.setGbk(bytes.substr(bytes.find('\n') + 1, 20));
    pictures.push_back(first);
    const MotionTable again = MotionTable::parse(table.serialise(pictures));
    for (const TPicInfo& picture : pictures)
        if (again.get(picture.FileName.gbk()) != table.get(picture.FileName.gbk()))
            __builtin_trap();
    return 0;
}
