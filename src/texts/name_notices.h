#pragma once
// The notice line for a typed album name: the album dialog shows it under its edit box and the
// command-line tool's name check prints it. Each notice opens with a blank, as the dialog's
// line has always shown it.

#include "store/album_operations.h"

#include <string>
#include <string_view>

namespace vistello::texts {

// Why a typed album name cannot be used, or that it can.
std::string newNameNotice(store::NewNameCheck check);
// That a name too long for its record (90 bytes) is cut, and to what.
std::string shortenedNameNotice(std::string_view shortenedName);

} // namespace vistello::texts
