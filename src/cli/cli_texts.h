#pragma once
// The command-line tool's own words for the production run's progress and end. What the store
// and the run report as errors, and the album name notices, are worded in texts/, which the
// windows share; the tool's usage messages stay in its commands.

#include "production/run_error.h"
#include "production/run_observer.h"

#include <string>

namespace vistello::cli {

// A line for a progress notification of the stages without a bar; empty for none.
std::string stageLine(production::RunStage stage);
std::string runFinishedLine();
// The message when a run made no file and said no more.
std::string runFailedMessage();
std::string discFailedMessage(const std::string& reason);

} // namespace vistello::cli
