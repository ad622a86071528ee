#pragma once
// The command-line tool's words for what the store and the production run report as data. They
// read as the windows' texts do, so that a message means the same wherever it is seen; the
// tool's own usage messages stay in its commands.

#include "production/run_error.h"
#include "production/run_observer.h"
#include "store/album_operations.h"

#include <string>
#include <string_view>

namespace vistello::cli {

// Why a typed album name cannot be used, or that it can.
std::string newNameNotice(store::NewNameCheck check);
// That a name too long for its record is cut, and to what.
std::string shortenedNameNotice(std::string_view shortenedName);

// A line for a progress notification of the stages without a bar; empty for none.
std::string stageLine(production::RunStage stage);
std::string runFinishedLine();
// The message when a run made no file and said no more.
std::string runFailedMessage();
std::string runErrorMessage(const production::RunError& error);
std::string discFailedMessage(const std::string& reason);

} // namespace vistello::cli
