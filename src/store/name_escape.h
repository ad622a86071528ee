#pragma once
// File names inside the album folder's own text files (the motions, the kept framing choices):
// each byte at or below the blank, '%' and DEL is written as %XX with upper-case hex digits, so
// a name is one word of a line whatever it holds. Reading is strict: only what must be escaped
// may be, so a text has exactly one reading and anything else counts as damaged.

#include <optional>
#include <string>
#include <string_view>

namespace vistello::store {

std::string escapeName(std::string_view name);
// The name `text` stands for; nothing when it is not exactly what escapeName writes.
std::optional<std::string> unescapeName(std::string_view text);

} // namespace vistello::store
