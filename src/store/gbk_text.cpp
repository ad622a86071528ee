#include "store/gbk_text.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace vistello::store {

namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    // Only a system without glibc's GB18030 converter gets here; the user sees this text.
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("系统缺少文字编码转换（") + from + " 到 " + to +
                                 "），无法读写相册记录");
    return IconvHandle(cd);
}

// Converts input with iconv; on a sequence the source encoding cannot read, appends
// `replacement` and goes on after one byte, so that no input is ever refused.
std::string convert(const char* to, const char* from, std::string_view input, std::string_view replacement) {
    IconvHandle cd = openConverter(to, from);
    std::string output;
    output.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a cut-off sequence at the end): skip one byte.
        output.append(replacement);
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return output;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk) {
    return convert("UTF-8", "GB18030", gbk, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8) {
    return convert("GB18030", "UTF-8", utf8, "?");
}

std::size_t gbkPrefixLength(std::string_view gbk, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[pos]);
        std::size_t width = 1;
        if (lead >= 0x81 && lead <= 0xFE && pos + 1 < gbk.size()) {
            const auto second = static_cast<unsigned char>(gbk[pos + 1]);
            width = (second >= 0x30 && second <= 0x39) ? 4 : 2;
        }
        if (pos + width > maxBytes || pos + width > gbk.size())
            break;
        pos += width;
    }
    return pos;
}

} // namespace vistello::store
