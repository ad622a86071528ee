#include "store/name_escape.h"

namespace vistello::store {

namespace {

bool needsEscape(unsigned char c) {
    return c <= 0x20 || c == '%' || c == 0x7F;
}

} // namespace

std::string escapeName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower case is never written
}

} // namespace

std::optional<std::string> unescapeName(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '%') {
            if (needsEscape(c))
                return std::nullopt;
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        const auto decoded = static_cast<unsigned char>(high * 16 + low);
        if (!needsEscape(decoded))
            return std::nullopt; // only what must be escaped is
        out += static_cast<char>(decoded);
        i += 2;
    }
    return out;
}

} // namespace vistello::store
