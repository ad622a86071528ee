#pragma once
// The words for a production run that failed or was refused (production/run_error.h), the
// same in the production dialog's error box and on the command-line tool's stderr.

#include "production/run_error.h"

#include <string>
#include <system_error>

namespace vistello::texts {

// The reason of a failed file operation on the output, in Chinese for the common cases; the
// system's own text otherwise.
std::string fileErrorText(const std::error_code& error);

// The message when synchronisation is asked for with too little music.
std::string musicTooShortText();

// Which part failed, on which file or row, and why; empty for RunFailure::None.
std::string runErrorText(const production::RunError& error);

} // namespace vistello::texts
