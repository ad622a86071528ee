#pragma once
// Conversion between the GBK bytes of the record files and the UTF-8 text the rest of the
// program works with. GB18030 (a superset of GBK) is used in both directions, so every
// character can be stored and every stored byte sequence can be shown.

#include <cstddef>
#include <string>
#include <string_view>

namespace vistello::store {

// Decodes GBK/GB18030 bytes to UTF-8. Bytes that form no character show as U+FFFD.
std::string gbkToUtf8(std::string_view gbk);

// Encodes UTF-8 text as GB18030. Invalid UTF-8 input bytes are stored as '?'.
std::string utf8ToGbk(std::string_view utf8);

// Length of the longest prefix of gbk that ends on a character boundary and holds at most
// maxBytes bytes: a field is never cut in the middle of a two- or four-byte character.
std::size_t gbkPrefixLength(std::string_view gbk, std::size_t maxBytes);

} // namespace vistello::store
